// TMainWindow: the program's one document window over TMainForm. The toolbar of
// commands, the menu bar, the two levels of tabbed pages, the status line, F1 help and the
// auxiliary windows, each widget bound to the form's control of the same name.
#pragma once
#include "forms/MainForm.h"
#include "ui/QtCanvas.h"
#include <QMainWindow>
#include <memory>

class QLabel;
class QToolBar;

namespace halvern {

class TViewBinder;
class TPageTabs;
class TN1Window;
class TCostsDialog;
class TImportHelpWindow;
class TLoggerImportDialog;
class TQtDialogs;
class THelpWindow;
class TOutputFileDialog;
class TSpreadsheetReport;
class TPagePrinter;

class TMainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainWindow(TMainForm& form, QWidget* parent = nullptr);
    ~TMainWindow() override;

    TMainForm& Form() { return form_; }
    TViewBinder& Binder() { return *binder_; }
    QToolBar* ToolBar() const { return toolBar_; }
    TPageTabs* Tabs(const TPageControl& pages) const;
    TN1Window* N1Window() const { return n1Window_; }
    TCostsDialog* CostsDialog() const { return costsDialog_; }
    TImportHelpWindow* ImportHelpWindow() const { return importHelp_; }
    TLoggerImportDialog* LoggerImportDialog() const { return loggerImport_; }
    // "Output File Selection" and the spreadsheet report it runs.
    TOutputFileDialog* OutputFileDialog() const { return outputFileDialog_; }
    TSpreadsheetReport& Report() { return *report_; }
    // The user guide's window, made once and reused.
    THelpWindow* HelpWindow() const { return helpWindow_; }
    // Prints the page that is showing and the charts; holds the current printer.
    TPagePrinter& PagePrinter() { return *pagePrinter_; }
    // F1 on the widget that has the focus: the guide at its topic, else at the contents.
    void HelpOnFocus();
    // Message boxes and file dialogs open over this window, which first shows what the
    // running event has done so far (a page shown, a file read) behind them.
    void UseDialogs(TQtDialogs& dialogs);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildToolBar();
    void BuildPages();
    void BuildAuxiliaryWindows();
    void FocusControl(const QString& name);
    void Refresh();

    TMainForm& form_;
    TViewBinder* binder_;
    std::unique_ptr<TQtMeasureCanvas> measure_;
    QToolBar* toolBar_ = nullptr;
    QLabel* status_ = nullptr;
    std::vector<TPageTabs*> tabs_;
    TN1Window* n1Window_ = nullptr;
    TCostsDialog* costsDialog_ = nullptr;
    TImportHelpWindow* importHelp_ = nullptr;
    TLoggerImportDialog* loggerImport_ = nullptr;
    THelpWindow* helpWindow_ = nullptr;
    TOutputFileDialog* outputFileDialog_ = nullptr;
    std::unique_ptr<TSpreadsheetReport> report_;
    std::unique_ptr<TPagePrinter> pagePrinter_;
    TQtDialogs* dialogs_ = nullptr;
    bool shown_ = false;
};

} // namespace halvern
