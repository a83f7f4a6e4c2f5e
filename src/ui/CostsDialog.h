// The "Implementation Costs" dialog over TCostsForm: modal, fixed size, centred on the
// main window, "OK" above the fixed-costs table (the annual-costs table stays hidden).
#pragma once
#include <QDialog>

namespace halvern {

class TCostsForm;
class TViewBinder;

class TCostsDialog : public QDialog {
    Q_OBJECT
public:
    TCostsDialog(TCostsForm& form, TViewBinder& binder, QWidget* parent);

public slots:
    // Escape and the close box close the dialog through the form, which stores the amounts.
    void reject() override;

private:
    TCostsForm& form_;
    TViewBinder& binder_;
};

} // namespace halvern
