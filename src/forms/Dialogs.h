// Every message box and file dialog of the program goes through TDialogs, so the
// forms can be driven by the Qt views, by tests that script the answers, or by the
// command line, which answers OK and prints the messages.
#pragma once
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace halvern {

enum class TMsgDlgType { Error, Warning, Information, Confirmation };
enum class TModalResult { OK, Cancel, Ignore };
enum class TSaveChoice { Save, Discard, Cancel };

struct TFileDialogRequest {
    std::string Name;                 // OpenDialog1, SaveDialog1, OpenDialog2
    std::string Filter;               // "Pressure files|*.pru|All files|*.*"
    std::string DefaultExt;           // "pru", or empty
    std::string InitialFileName = {}; // the folder and name offered, or empty
    // The folder the dialog opens in; empty leaves it to the dialog (the desktop program's
    // last folder, or its own choice).
    std::string InitialDir = {};
};

// The printer set-up before a print: the orientation the print is made for.
enum class TPrintOrientation { Portrait, Landscape };

class TDialogs {
public:
    virtual ~TDialogs() = default;
    // Error box with a single OK button.
    virtual void Error(const std::string& text) = 0;
    // Warning box with OK and Ignore; returns the answer.
    virtual TModalResult WarningOKIgnore(const std::string& text) = 0;
    // Question box with OK and Cancel; true for OK.
    virtual bool ConfirmOKCancel(const std::string& text) = 0;
    // Plain information message with OK.
    virtual void Message(const std::string& text) = 0;
    // Question box with Save, Discard and Cancel. A front end without such a box keeps the
    // work: it answers Cancel.
    virtual TSaveChoice AskSaveChanges(const std::string& text) {
        (void)text;
        return TSaveChoice::Cancel;
    }
    // The system's default beep.
    virtual void Beep() = 0;
    // File names; nullopt when the user cancels.
    virtual std::optional<std::string> OpenFileName(const TFileDialogRequest& dialog) = 0;
    virtual std::optional<std::string> SaveFileName(const TFileDialogRequest& dialog) = 0;
    // The printer set-up dialog, which chooses the current printer (or a PDF file); true
    // when confirmed. Where no printer can be chosen nothing is printed. printFile: the
    // file a print to a file is offered as, with its folder, or a bare name for the home
    // folder.
    virtual bool PrinterSetup(TPrintOrientation, const std::string& printFile) {
        (void)printFile;
        return false;
    }
};

struct TRecordedMessage {
    TMsgDlgType Type;
    std::string Text;
    bool operator==(const TRecordedMessage&) const = default;
};

// Records every message in order and answers from scripted queues: OK, and the
// confirmation's OK, when nothing is queued; no file name when none is queued.
class TScriptedDialogs : public TDialogs {
public:
    void Error(const std::string& text) override;
    TModalResult WarningOKIgnore(const std::string& text) override;
    bool ConfirmOKCancel(const std::string& text) override;
    void Message(const std::string& text) override;
    // Recorded as a confirmation; answers from SaveAnswers, Discard when none is queued.
    TSaveChoice AskSaveChanges(const std::string& text) override;
    void Beep() override { ++Beeps; }
    std::optional<std::string> OpenFileName(const TFileDialogRequest& dialog) override;
    std::optional<std::string> SaveFileName(const TFileDialogRequest& dialog) override;
    bool PrinterSetup(TPrintOrientation orientation, const std::string& printFile) override;

    std::vector<TRecordedMessage> Messages;
    int Beeps = 0;
    std::deque<TModalResult> WarningAnswers;
    std::deque<bool> ConfirmAnswers;
    std::deque<TSaveChoice> SaveAnswers;
    std::deque<std::optional<std::string>> FileNames;
    std::vector<TFileDialogRequest> FileDialogsShown;
    std::deque<bool> PrinterAnswers; // confirmed when none is queued
    std::vector<TPrintOrientation> PrinterSetupsShown;
    std::vector<std::string> PrintFilesOffered;
    // Called after every recorded message (the command line prints them as they come).
    std::function<void(const TRecordedMessage&)> OnMessage;

    std::vector<std::string> Texts() const;
    void Clear() {
        Messages.clear();
        Beeps = 0;
    }
};

} // namespace halvern
