// The program's message boxes and file dialogs as real Qt windows.
#pragma once
#include "forms/Dialogs.h"
#include <QPointer>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <utility>

class QPrinter;
class QWidget;

namespace halvern {

// "Pressure files|*.pru|All files|*.*" -> "Pressure files (*.pru);;All files (*)".
QStringList ToQtNameFilters(const std::string& filter);

class TQtDialogs : public TDialogs {
public:
    // Boxes and dialogs open over this window (the main window once it exists).
    void SetParent(QWidget* parent) { parent_ = parent; }
    // Answers the next file dialog (or the next one of this name, e.g. "OpenDialog1") with
    // this name instead of asking: the project named on the command line or chosen among the
    // recent projects is read exactly as Read data reads a chosen file.
    void QueueFileName(const std::string& name, const std::string& dialog = {}) {
        queued_.push_back({name, dialog});
    }
    // Forgets the names no dialog asked for (the command was cancelled before it asked).
    void DropQueuedFileNames() { queued_.clear(); }
    // The folder a file dialog opens in when it has none of its own; empty for Qt's choice.
    std::function<QString(const TFileDialogRequest&)> StartFolder;
    // Page pictures run unattended: messages go to standard error and are answered OK.
    bool Unattended = false;
    // Runs before a box or a file dialog opens, so that the windows behind it already
    // show what the running event has done so far.
    std::function<void()> BeforeShow;
    // The current printer, which the printer set-up dialog sets up.
    std::function<QPrinter*()> Printer;

    void Error(const std::string& text) override;
    TModalResult WarningOKIgnore(const std::string& text) override;
    bool ConfirmOKCancel(const std::string& text) override;
    void Message(const std::string& text) override;
    TSaveChoice AskSaveChanges(const std::string& text) override;
    void Beep() override;
    std::optional<std::string> OpenFileName(const TFileDialogRequest& request) override;
    std::optional<std::string> SaveFileName(const TFileDialogRequest& request) override;
    bool PrinterSetup(TPrintOrientation orientation, const std::string& printFile) override;

private:
    std::optional<std::string> RunFileDialog(const TFileDialogRequest& request, bool save);
    // Brings the windows up to date and gives the window the box opens over.
    QWidget* PrepareToShow();
    QPointer<QWidget> parent_;
    std::deque<std::pair<std::string, std::string>> queued_; // file name, dialog name
};

} // namespace halvern
