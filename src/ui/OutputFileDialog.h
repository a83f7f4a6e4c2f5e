// "Output File Selection" over TfrmPrint: modal, fixed 335 x 205, centred on the main
// window; the six sheet check boxes in their group, "Create" and the progress bar, which
// moves while the report is written.
#pragma once
#include <QDialog>

class QProgressBar;

namespace halvern {

class TfrmPrint;
class TViewBinder;

class TOutputFileDialog : public QDialog {
    Q_OBJECT
public:
    TOutputFileDialog(TfrmPrint& form, TViewBinder& binder, QWidget* parent);
    ~TOutputFileDialog() override;

public slots:
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TfrmPrint& form_;
    TViewBinder& binder_;
    QWidget* group_ = nullptr;
    QProgressBar* progress_ = nullptr;
};

} // namespace halvern
