#include "ui/ImportHelpWindow.h"
#include "forms/AuxForms.h"
#include "ui/ViewBinder.h"
#include "ui/WindowPlacement.h"
#include <QCloseEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace halvern {

TImportHelpWindow::TImportHelpWindow(TImportHelp& form, TViewBinder& binder, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      form_(form), binder_(binder) {
    setObjectName("TImportHelp");
    setWindowTitle(QString::fromStdString(form_.Caption));
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(2);
    for (const std::string& line : form_.Lines)
        layout->addWidget(new QLabel(QString::fromStdString(line)));
    layout->addSpacing(6);
    auto* example = new QPlainTextEdit;
    example->setObjectName("ExampleMemo");
    example->setReadOnly(true);
    example->setLineWrapMode(QPlainTextEdit::NoWrap);
    example->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QStringList lines;
    for (const std::string& line : form_.ExampleLines)
        lines << QString::fromStdString(line);
    example->setPlainText(lines.join('\n'));
    example->setFixedHeight(12 * example->fontMetrics().lineSpacing());
    layout->addWidget(example);
    resize(330, sizeHint().height());

    form_.OnShowRequest = [this] {
        const bool first = !isVisible();
        show();
        // Centred on the screen, where it stays beside the main window.
        if (first) CentreOn(this, nullptr);
        raise();
        activateWindow();
    };
    form_.OnCloseRequest = [this] { hide(); };
}

void TImportHelpWindow::closeEvent(QCloseEvent* event) {
    // The close box closes the window through the form, as the main window's closing does.
    if (form_.Visible) binder_.Run([this] { form_.Close(); });
    event->accept();
}

} // namespace halvern
