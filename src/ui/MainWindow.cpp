#include "ui/MainWindow.h"
#include "forms/ProjectChanges.h"
#include "reports/SpreadsheetReport.h"
#include "ui/ActionIcons.h"
#include "ui/CostsDialog.h"
#include "ui/GraphPropDialog.h"
#include "ui/HelpWindow.h"
#include "ui/ImportHelpWindow.h"
#include "ui/LoggerImportDialog.h"
#include "ui/MainMenu.h"
#include "ui/N1Window.h"
#include "ui/OutputFileDialog.h"
#include "ui/PagePrinter.h"
#include "ui/PageTabs.h"
#include "ui/Pages.h"
#include "ui/ProgramLook.h"
#include "ui/QtDialogs.h"
#include "ui/ViewBinder.h"
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace halvern {

namespace {

constexpr QSize kClientSize(908, 645);

// A page that holds a nested page set.
QWidget* Holding(QWidget* tabs) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(tabs);
    return page;
}

} // namespace

TMainWindow::TMainWindow(TMainForm& form, QWidget* parent)
    : QMainWindow(parent), form_(form), binder_(new TViewBinder(form, this)) {
    setObjectName("TMainForm");
    ApplyProgramLook();
    measure_ = std::make_unique<TQtMeasureCanvas>(QApplication::font());
    // The tables measure their texts in the font they are shown in, before they are filled.
    form_.SetMeasureCanvas(measure_.get());
    BuildToolBar();
    BuildMainMenu(*this);
    BuildPages();
    pagePrinter_ = std::make_unique<TPagePrinter>(*this);

    status_ = new QLabel;
    status_->setObjectName("StatusBar1");
    // It shows file names: "<b>x</b>.pru" is a name, not markup.
    status_->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(status_, 1);
    statusBar()->setSizeGripEnabled(false);

    BuildAuxiliaryWindows();

    form_.OnCloseRequest = [this] { QTimer::singleShot(0, this, [this] { close(); }); };
    form_.OnFocusRequest = [this](const std::string& name) {
        const QString control = QString::fromStdString(name);
        QTimer::singleShot(0, this, [this, control] { FocusControl(control); });
    };
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    f1->setContext(Qt::ApplicationShortcut);
    connect(f1, &QShortcut::activated, this, &TMainWindow::HelpOnFocus);

    binder_->AddRefresher([this] { Refresh(); });
    binder_->Refresh();

    resize(kClientSize);
    if (const QScreen* screen = this->screen()) {
        QRect frame(QPoint(0, 0), kClientSize);
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

TMainWindow::~TMainWindow() {
    delete helpWindow_;   // a window of its own, not a child
    pagePrinter_.reset(); // takes its print commands back from the form
    if (dialogs_) {
        dialogs_->BeforeShow = nullptr;
        dialogs_->Printer = nullptr;
    }
    // The form may outlive its window (tests): it must not call into widgets that are gone.
    form_.OnCloseRequest = nullptr;
    form_.OnFocusRequest = nullptr;
    // The measuring canvas goes with the window; the tables measure on their own again.
    form_.SetMeasureCanvas(nullptr);
    for (TChart* chart :
         {&form_.CurrentChart, &form_.FixedPRVChart, &form_.TimePRVChart, &form_.FlowPRVChart})
        chart->OnChanged = nullptr;
    form_.frmPrint.Exporter = nullptr;
    for (TAuxForm* aux :
         std::initializer_list<TAuxForm*>{&form_.N1CalculationForm, &form_.CostsForm, &form_.GraphPropForm,
                                          &form_.ImportHelp, &form_.LoggerImport}) {
        aux->OnShowRequest = nullptr;
        aux->OnCloseRequest = nullptr;
    }
}

void TMainWindow::BuildToolBar() {
    toolBar_ = addToolBar("ActionToolBar1");
    toolBar_->setObjectName("ActionToolBar1");
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar_->toggleViewAction()->setEnabled(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    for (TAction* action : form_.Actions()) {
        auto* qaction =
            new QAction(ActionIcon(action->ImageIndex), QString::fromStdString(action->ToolbarCaption), this);
        qaction->setObjectName(QString::fromStdString(action->Name));
        qaction->setToolTip(QString::fromStdString(action->Caption));
        // The accelerator letter of a shown button's caption is the only keyboard shortcut.
        if (action->ToolbarVisible) qaction->setShortcut(QKeySequence::mnemonic(qaction->text()));
        qaction->setVisible(action->ToolbarVisible);
        connect(qaction, &QAction::triggered, this,
                [this, action] { binder_->Run([action] { action->Execute(); }); });
        // A command the program has disabled ("Export to Excel" before any report) is greyed.
        binder_->AddRefresher([qaction, action] {
            if (qaction->isEnabled() != action->Enabled) qaction->setEnabled(action->Enabled);
        });
        toolBar_->addAction(qaction);
    }
}

void TMainWindow::BuildPages() {
    TViewBinder& b = *binder_;
    TMainForm& f = form_;
    const auto tabs = [this, &b](TPageControl& pages) {
        auto* t = new TPageTabs(pages, b);
        tabs_.push_back(t);
        return t;
    };

    TPageTabs* main = tabs(f.MainPage);
    TPageTabs* input = tabs(f.InputPage);
    input->AddSheet(f.GeneralSheet, BuildGeneralSheet(b));
    input->AddSheet(f.PropertySheet, BuildPropertySheet(b));
    input->AddSheet(f.FlowSheet, BuildFlowSheet(b));
    main->AddSheet(f.DataInputSheet, Holding(input));

    // A result page: tabs of its own with the table's sheet and the chart's.
    const auto resultPage = [&](TTabSheet& page, TPageControl& pages, TTabSheet& tableSheet,
                                QWidget* (*buildTable)(TViewBinder&), TTabSheet& graphSheet, TButton& button,
                                TChart& chart, int chartHelpContext) {
        TPageTabs* own = tabs(pages);
        own->AddSheet(tableSheet, buildTable(b));
        own->AddSheet(graphSheet, BuildGraphSheet(b, graphSheet, button, chart, chartHelpContext));
        main->AddSheet(page, Holding(own));
    };
    resultPage(f.CurrentSituationSheet, f.CurrentPage, f.CurrentTabulatedSheet, BuildCurrentTabulatedSheet,
               f.GraphicalSheet, f.GraphOptionButton, f.CurrentChart, 63);
    resultPage(f.FixedOutletSheet, f.FixedPRVPage, f.FixedTabulatedSheet, BuildFixedTabulatedSheet,
               f.FixedGraphSheet, f.FullGraphOptionButton, f.FixedPRVChart, 73);
    resultPage(f.TimeModulatedSheet, f.TimePage, f.TimeTabulatedSheet, BuildTimeTabulatedSheet,
               f.TimeGraphicalSheet, f.BitBtn1, f.TimePRVChart, 73);
    resultPage(f.FlowModulatedSheet, f.PageControl1, f.FlowTabulatedSheet, BuildFlowTabulatedSheet,
               f.FlowGraphicalSheet, f.BitBtn2, f.FlowPRVChart, 73);

    TPageTabs* summary = tabs(f.SummaryPages);
    summary->AddSheet(f.CostSummarySheet, BuildCostSummarySheet(b));
    summary->AddSheet(f.N1SensitivitySheet, BuildN1SensitivitySheet(b));
    main->AddSheet(f.SummarySheet, BuildSummarySheet(b, summary));
    setCentralWidget(main);
}

void TMainWindow::BuildAuxiliaryWindows() {
    // Created once, in the program's order, and kept with their state for the whole run.
    n1Window_ = new TN1Window(form_.N1CalculationForm, *binder_, this);
    outputFileDialog_ = new TOutputFileDialog(form_.frmPrint, *binder_, this);
    // The report is handed to the desktop's spreadsheet application once it is written.
    report_ = std::make_unique<TSpreadsheetReport>(form_);
    report_->OpenInSpreadsheet = [](const std::string& fileName) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(fileName)));
    };
    form_.frmPrint.Exporter = report_.get();
    costsDialog_ = new TCostsDialog(form_.CostsForm, *binder_, this);
    InstallGraphPropDialog(form_.GraphPropForm, *binder_, this);
    importHelp_ = new TImportHelpWindow(form_.ImportHelp, *binder_, this);
    loggerImport_ = new TLoggerImportDialog(form_.LoggerImport, *binder_, this);
    helpWindow_ = new THelpWindow(this);
}

TPageTabs* TMainWindow::Tabs(const TPageControl& pages) const {
    for (TPageTabs* t : tabs_)
        if (&t->Pages() == &pages) return t;
    return nullptr;
}

void TMainWindow::Refresh() {
    // Unsaved changes show as the desktop marks them: an asterisk after the caption.
    const QString caption = QString::fromStdString(form_.Caption) + (ProjectChanged(form_) ? "*" : "");
    if (windowTitle() != caption) setWindowTitle(caption);
    const QString status = QString::fromStdString(form_.StatusBar1.SimpleText);
    if (status_->text() != status) status_->setText(status);
}

void TMainWindow::FocusControl(const QString& name) {
    for (QWidget* window : {static_cast<QWidget*>(this), static_cast<QWidget*>(n1Window_),
                            static_cast<QWidget*>(costsDialog_)}) {
        if (!window) continue;
        if (auto* widget = window->findChild<QWidget*>(name); widget && widget->isVisible()) {
            widget->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void TMainWindow::UseDialogs(TQtDialogs& dialogs) {
    dialogs_ = &dialogs;
    dialogs.SetParent(this);
    // A box stops the running event until it is answered; meanwhile the window shows
    // its work so far, not the state before the event.
    dialogs.BeforeShow = [this] { binder_->Refresh(); };
    dialogs.Printer = [this] { return &pagePrinter_->Printer(); };
}

void TMainWindow::HelpOnFocus() {
    helpWindow_->ShowTopic(HelpTopicOf(QApplication::focusWidget()));
}

void TMainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    // The first showing fills every control and table from a new project.
    binder_->Run([this] { form_.FormShow(); });
}

void TMainWindow::closeEvent(QCloseEvent* event) {
    // The close box first offers to save a changed project (the Close command has asked
    // already); Cancel keeps the window open.
    bool goOn = true;
    if (!form_.Closed) binder_->Run([this, &goOn] { goOn = AskToKeepChanges(form_); });
    if (!goOn) {
        event->ignore();
        return;
    }
    // Closing the main window ends the program, whatever else is open.
    binder_->Run([this] { form_.FormClose(); });
    // The guide's window is the view's own, not a form's.
    if (helpWindow_) helpWindow_->hide();
    event->accept();
    QCoreApplication::quit();
}

} // namespace halvern
