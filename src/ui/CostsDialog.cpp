#include "ui/CostsDialog.h"
#include "forms/MainForm.h"
#include "ui/ViewBinder.h"
#include "ui/WindowPlacement.h"
#include <QHBoxLayout>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace halvern {

TCostsDialog::TCostsDialog(TCostsForm& form, TViewBinder& binder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), form_(form),
      binder_(binder) {
    setObjectName("TCostsForm");
    setWindowTitle(QString::fromStdString(form_.Caption));
    setModal(true);

    QPushButton* ok = binder_.Button(form_.Button1);
    ok->setDefault(false);
    ok->setAutoDefault(false); // Enter belongs to the table
    auto* top = new QHBoxLayout;
    top->addWidget(ok);
    top->addStretch(1);

    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(binder_.Grid(form_.FixedCostGrid));
    splitter->addWidget(binder_.Grid(form_.AnnualCostGrid));
    splitter->setChildrenCollapsible(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(splitter);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    form_.OnShowRequest = [this] {
        binder_.Refresh();
        this->layout()->activate(); // its own size before it is placed
        adjustSize();
        CentreOn(this, parentWidget());
        exec();
    };
    form_.OnCloseRequest = [this] {
        if (isVisible()) QDialog::done(QDialog::Accepted);
    };
}

void TCostsDialog::reject() {
    if (form_.Visible) binder_.Run([this] { form_.Close(); });
    if (isVisible()) QDialog::reject();
}

} // namespace halvern
