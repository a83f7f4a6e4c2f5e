#include "ui/OutputFileDialog.h"
#include "forms/MainForm.h"
#include "ui/ViewBinder.h"
#include "ui/WindowPlacement.h"
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>

namespace halvern {

namespace {

constexpr QSize kClientSize(335, 237);

} // namespace

TOutputFileDialog::TOutputFileDialog(TfrmPrint& form, TViewBinder& binder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), form_(form),
      binder_(binder) {
    setObjectName("TfrmPrint");
    setWindowTitle(QString::fromStdString(form_.Caption));
    setModal(true);
    setFixedSize(kClientSize);

    auto* group = new QGroupBox(this);
    group->setObjectName(QString::fromStdString(form_.GroupBox1.Name));
    group->setGeometry(8, 8, 321, 153);
    group->installEventFilter(this);
    group_ = group;
    const std::pair<TCheckBox*, QPoint> boxes[] = {
        {&form_.GeneralData, {16, 24}},    {&form_.CurrentSituation, {16, 56}},
        {&form_.Summary, {16, 88}},        {&form_.FixedOutlet, {184, 24}},
        {&form_.TimeModulated, {184, 56}}, {&form_.FlowModulated, {184, 88}},
        {&form_.N1Sensitivity, {16, 120}}};
    for (const auto& [box, place] : boxes) {
        QCheckBox* widget = binder_.CheckBox(*box);
        widget->setParent(group);
        widget->move(place);
        widget->adjustSize();
    }

    QPushButton* create = binder_.Button(form_.CreateExcelButton);
    create->setParent(this);
    create->setGeometry(8, 168, 321, 25);
    create->setAutoDefault(false);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QString::fromStdString(form_.ProgressBar1.Name));
    progress_->setGeometry(8, 200, 321, 33);
    progress_->setTextVisible(false);
    const auto showProgress = [this] {
        const TProgressBar& bar = form_.ProgressBar1;
        progress_->setRange(bar.Min, std::max(bar.Max(), bar.Min));
        progress_->setValue(bar.Position());
    };
    binder_.AddRefresher(showProgress);
    // The bar moves while the sheets are written, before the event is over.
    form_.ProgressBar1.OnChange = [this, showProgress] {
        showProgress();
        progress_->repaint();
    };
    form_.OnRepaint = [this] { repaint(); };
    form_.OnBusyCursor = [](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    };

    form_.HomeFolder = QDir::homePath().toStdString();
    form_.OnShowRequest = [this] {
        binder_.Refresh();
        CentreOn(this, parentWidget());
        exec();
    };
    form_.OnCloseRequest = [this] {
        if (isVisible()) QDialog::done(QDialog::Rejected);
    };
}

TOutputFileDialog::~TOutputFileDialog() {
    // The form outlives its dialog in tests; it must not reach widgets that are gone.
    form_.ProgressBar1.OnChange = nullptr;
    form_.OnRepaint = nullptr;
    form_.OnBusyCursor = nullptr;
    form_.OnShowRequest = nullptr;
    form_.OnCloseRequest = nullptr;
}

void TOutputFileDialog::reject() {
    if (form_.Visible) binder_.Run([this] { form_.Close(); });
    if (isVisible()) QDialog::reject();
}

bool TOutputFileDialog::eventFilter(QObject* watched, QEvent* event) {
    // A click on the group box itself, between the check boxes.
    if (watched == group_ && event->type() == QEvent::MouseButtonPress)
        binder_.Run([this] { form_.GroupBox1Click(); });
    return QDialog::eventFilter(watched, event);
}

} // namespace halvern
