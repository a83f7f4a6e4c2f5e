#include "forms/Dialogs.h"

namespace halvern {

namespace {
void Record(TScriptedDialogs& d, TMsgDlgType type, const std::string& text) {
    d.Messages.push_back({type, text});
    if (d.OnMessage) d.OnMessage(d.Messages.back());
}
} // namespace

void TScriptedDialogs::Error(const std::string& text) {
    Record(*this, TMsgDlgType::Error, text);
}

TModalResult TScriptedDialogs::WarningOKIgnore(const std::string& text) {
    Record(*this, TMsgDlgType::Warning, text);
    if (WarningAnswers.empty()) return TModalResult::OK;
    TModalResult answer = WarningAnswers.front();
    WarningAnswers.pop_front();
    return answer;
}

TSaveChoice TScriptedDialogs::AskSaveChanges(const std::string& text) {
    Record(*this, TMsgDlgType::Confirmation, text);
    if (SaveAnswers.empty()) return TSaveChoice::Discard;
    const TSaveChoice answer = SaveAnswers.front();
    SaveAnswers.pop_front();
    return answer;
}

bool TScriptedDialogs::ConfirmOKCancel(const std::string& text) {
    Record(*this, TMsgDlgType::Confirmation, text);
    if (ConfirmAnswers.empty()) return true;
    bool answer = ConfirmAnswers.front();
    ConfirmAnswers.pop_front();
    return answer;
}

void TScriptedDialogs::Message(const std::string& text) {
    Record(*this, TMsgDlgType::Information, text);
}

std::optional<std::string> TScriptedDialogs::OpenFileName(const TFileDialogRequest& dialog) {
    FileDialogsShown.push_back(dialog);
    if (FileNames.empty()) return std::nullopt;
    auto name = FileNames.front();
    FileNames.pop_front();
    return name;
}

std::optional<std::string> TScriptedDialogs::SaveFileName(const TFileDialogRequest& dialog) {
    return OpenFileName(dialog);
}

bool TScriptedDialogs::PrinterSetup(TPrintOrientation orientation, const std::string& printFile) {
    PrinterSetupsShown.push_back(orientation);
    PrintFilesOffered.push_back(printFile);
    if (PrinterAnswers.empty()) return true;
    const bool answer = PrinterAnswers.front();
    PrinterAnswers.pop_front();
    return answer;
}

std::vector<std::string> TScriptedDialogs::Texts() const {
    std::vector<std::string> texts;
    for (const auto& m : Messages)
        texts.push_back(m.Text);
    return texts;
}

} // namespace halvern
