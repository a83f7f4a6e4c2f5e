// The "N1 Calculation" window over TN1CalculationForm: not modal, fixed size, centred on
// the main window, a File menu with Close, the N1 values and the step-test table.
#pragma once
#include <QMainWindow>

namespace halvern {

class TN1CalculationForm;
class TViewBinder;

class TN1Window : public QMainWindow {
    Q_OBJECT
public:
    TN1Window(TN1CalculationForm& form, TViewBinder& binder, QWidget* parent);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TN1CalculationForm& form_;
    TViewBinder& binder_;
};

} // namespace halvern
