#include "ui/QtDialogs.h"
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QWidget>
#include <cstdio>

namespace halvern {

QStringList ToQtNameFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // "*.*" means every file; Qt spells that "*".
        QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
        for (QString& p : patterns) {
            p = p.trimmed();
            if (p == "*.*") p = "*";
        }
        filters << QString("%1 (%2)").arg(parts[i], patterns.join(' '));
    }
    return filters;
}

namespace {

void ToStandardError(const char* kind, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", kind, text.c_str());
}

// A message box whose text is shown as it stands: a file name or a zone name holding
// "<b>" or "<img ...>" is a name, never markup.
QMessageBox::StandardButton Ask(QWidget* parent, QMessageBox::Icon icon, const char* title,
                                const std::string& text, QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton chosen) {
    QMessageBox box(icon, title, QString::fromStdString(text), buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(chosen);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

QWidget* TQtDialogs::PrepareToShow() {
    if (BeforeShow) BeforeShow();
    // A box raised while a modal dialog is open (the implementation costs) belongs over
    // that dialog: under it, it could not be seen and nothing could be clicked.
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return parent_;
}

void TQtDialogs::Error(const std::string& text) {
    if (Unattended) return ToStandardError("Error", text);
    Ask(PrepareToShow(), QMessageBox::Critical, "Error", text, QMessageBox::Ok, QMessageBox::Ok);
}

TModalResult TQtDialogs::WarningOKIgnore(const std::string& text) {
    if (Unattended) {
        ToStandardError("Warning", text);
        return TModalResult::OK;
    }
    const auto answer = Ask(PrepareToShow(), QMessageBox::Warning, "Warning", text,
                            QMessageBox::Ok | QMessageBox::Ignore, QMessageBox::Ok);
    return answer == QMessageBox::Ignore ? TModalResult::Ignore : TModalResult::OK;
}

bool TQtDialogs::ConfirmOKCancel(const std::string& text) {
    if (Unattended) {
        ToStandardError("Confirm", text);
        return true;
    }
    const auto answer = Ask(PrepareToShow(), QMessageBox::Question, "Confirm", text,
                            QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok);
    return answer == QMessageBox::Ok;
}

TSaveChoice TQtDialogs::AskSaveChanges(const std::string& text) {
    if (Unattended) {
        // Page pictures change nothing worth keeping: they go on as an unchanged project would.
        ToStandardError("Confirm", text);
        return TSaveChoice::Discard;
    }
    const auto answer =
        Ask(PrepareToShow(), QMessageBox::Question, "Confirm", text,
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save) return TSaveChoice::Save;
    if (answer == QMessageBox::Discard) return TSaveChoice::Discard;
    return TSaveChoice::Cancel;
}

void TQtDialogs::Message(const std::string& text) {
    if (Unattended) return ToStandardError("Information", text);
    Ask(PrepareToShow(), QMessageBox::Information, "Information", text, QMessageBox::Ok, QMessageBox::Ok);
}

void TQtDialogs::Beep() {
    QApplication::beep();
}

std::optional<std::string> TQtDialogs::OpenFileName(const TFileDialogRequest& request) {
    return RunFileDialog(request, false);
}

std::optional<std::string> TQtDialogs::SaveFileName(const TFileDialogRequest& request) {
    return RunFileDialog(request, true);
}

std::optional<std::string> TQtDialogs::RunFileDialog(const TFileDialogRequest& request, bool save) {
    if (!queued_.empty() && (queued_.front().second.empty() || queued_.front().second == request.Name)) {
        std::string name = queued_.front().first;
        queued_.pop_front();
        return name;
    }
    if (Unattended) return std::nullopt;
    QFileDialog dialog(PrepareToShow());
    // The folder the window asks for (its project's), else the one the desktop remembers.
    if (!request.InitialDir.empty() && QFileInfo(QString::fromStdString(request.InitialDir)).isDir())
        dialog.setDirectory(QString::fromStdString(request.InitialDir));
    else if (StartFolder)
        if (const QString folder = StartFolder(request); !folder.isEmpty()) dialog.setDirectory(folder);
    dialog.setObjectName(QString::fromStdString(request.Name));
    dialog.setNameFilters(ToQtNameFilters(request.Filter));
    dialog.setDefaultSuffix(QString::fromStdString(request.DefaultExt));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.InitialFileName.empty()) {
        const QString name = QString::fromStdString(request.InitialFileName);
        const QFileInfo offered(name);
        // A bare name ("Fixed Outlet - Tabulated.png") is offered in the folder the dialog
        // would open anyway; only a name with its folder moves the dialog there.
        if (name.contains('/')) dialog.setDirectory(offered.absolutePath());
        dialog.selectFile(offered.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

} // namespace halvern

namespace halvern {

bool TQtDialogs::PrinterSetup(TPrintOrientation orientation, const std::string& printFile) {
    QPrinter* printer = Printer ? Printer() : nullptr;
    if (Unattended || !printer) return false;
    printer->setPageOrientation(orientation == TPrintOrientation::Landscape ? QPageLayout::Landscape
                                                                            : QPageLayout::Portrait);
    // Qt's print dialog chooses the printer, or a PDF file, and its settings at once.
    QPrintDialog dialog(printer, PrepareToShow());
    dialog.setObjectName("PrinterSetupDialog1");
    // Its file field would offer the home folder (or the folder the program was started
    // in); the window offers the project's folder and a name for what is printed.
    if (auto* field = dialog.findChild<QLineEdit*>("filename"); field && !printFile.empty()) {
        const QString offered = QString::fromStdString(printFile);
        field->setText(QDir::isAbsolutePath(offered) ? QDir::toNativeSeparators(offered)
                                                     : QDir(QDir::homePath()).filePath(offered));
    }
    return dialog.exec() == QDialog::Accepted;
}

} // namespace halvern
