#include "ui/N1Window.h"
#include "forms/MainForm.h"
#include "ui/PageKit.h"
#include "ui/ViewBinder.h"
#include "ui/WindowPlacement.h"
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QVBoxLayout>

namespace halvern {

TN1Window::TN1Window(TN1CalculationForm& form, TViewBinder& binder, QWidget* parent)
    : QMainWindow(parent, Qt::Window), form_(form), binder_(binder) {
    setObjectName("TN1CalculationForm");
    setWindowTitle(QString::fromStdString(form_.Caption));

    QMenu* file = menuBar()->addMenu("&File");
    file->addAction("&Close", this, [this] { binder_.Run([this] { form_.Close1Click(); }); });

    auto* values = MakeFormGrid();
    values->addWidget(MakeCaption("Calculated N1 Value :"), 0, 0);
    values->addWidget(StyleResult(binder_.Value(form_.N1Label, kBlueText), 70), 0, 1);
    values->addWidget(MakeCaption("Current N1 value: "), 1, 0);
    values->addWidget(StyleResult(binder_.Value(form_.CurrentN1Label), 70), 1, 1);
    values->setColumnStretch(2, 1);

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(MakeGroup(" N1 Values ", values));
    layout->addWidget(binder_.Grid(form_.N1Grid));
    setCentralWidget(central);
    // Every resize is refused: the window keeps the size its table needs.
    this->layout()->setSizeConstraint(QLayout::SetFixedSize);

    form_.OnShowRequest = [this] {
        const bool first = !isVisible();
        show();
        if (first) CentreOn(this, parentWidget());
        raise();
        activateWindow();
    };
    form_.OnCloseRequest = [this] { hide(); };
}

void TN1Window::closeEvent(QCloseEvent* event) {
    // The close box closes the window as File > Close does.
    if (form_.Visible) binder_.Run([this] { form_.Close1Click(); });
    event->accept();
}

} // namespace halvern
