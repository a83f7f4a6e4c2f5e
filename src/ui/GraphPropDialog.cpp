#include "ui/GraphPropDialog.h"

#include "forms/MainForm.h"
#include "ui/ViewBinder.h"

#include <QCheckBox>
#include <QDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace halvern {

namespace {

// Every box and edit is bound through the main window's binder: a tick or a typed maximum
// goes to the form through its dispatch point, and the widgets show what the form holds.
class TGraphPropDialog : public QDialog {
public:
    TGraphPropDialog(TGraphPropForm& form, TViewBinder& binder, QWidget* parent)
        : QDialog(parent), FForm(form), FBinder(binder) {
        setObjectName("GraphPropForm");
        setWindowTitle(QString::fromStdString(form.Caption));
        setWindowFlag(Qt::WindowContextHelpButtonHint, false);
        setModal(true);
        // Only the group headings are bold, not the boxes inside them.
        setStyleSheet("QGroupBox { font-weight: bold; }");

        auto* show = new QGroupBox(" Show ", this);
        auto* showLayout = new QHBoxLayout(show);
        showLayout->addWidget(Group("Pressure", {&form.InletPresCheckBox, &form.PRVPresCheckBox,
                                                 &form.AZPPresCheckBox, &form.CritPresCheckBox}));
        showLayout->addWidget(
            Group("Flow", {&form.ZoneInfCheckBox, &form.PresDepCheckBox, &form.PresIndepCheckBox}));
        showLayout->addWidget(
            Group("Head loss", {&form.AZPHeadlossCheckBox, &form.CriticalHeadLossCheckBox}));

        auto* axes = new QGroupBox(" Axes ", this);
        auto* axesLayout = new QFormLayout(axes);
        axesLayout->addRow("Maximum Pressure", Edit(form.GraphMaxPresEdit));
        axesLayout->addRow("Maximum Flow", Edit(form.GraphMaxFlowEdit));

        auto* ok = new QPushButton("OK", this);
        ok->setObjectName("BitBtn1");
        ok->setDefault(true);
        ok->setAutoDefault(true);
        connect(ok, &QPushButton::clicked, this, [this] {
            FBinder.Run([this] { FForm.BitBtn1Click(); });
            if (isVisible()) done(QDialog::Accepted);
        });
        auto* buttons = new QHBoxLayout();
        buttons->addStretch();
        buttons->addWidget(ok);

        auto* layout = new QVBoxLayout(this);
        layout->addWidget(show);
        layout->addWidget(axes);
        layout->addLayout(buttons);
        layout->setSizeConstraint(QLayout::SetFixedSize); // a fixed dialog frame
    }

    // Runs the dialog over the ticks, maxima and hidden boxes FormActivate has just set.
    void Run() {
        FBinder.Refresh();
        FFirstBox->setFocus();
        exec();
        // Whatever closed it, the main window shows what the form now holds.
        FBinder.Refresh();
    }

protected:
    // The close box (and Escape) close the dialog without applying anything.
    void reject() override {
        if (FForm.Visible) FBinder.Run([this] { FForm.Close(); });
        if (isVisible()) done(QDialog::Rejected);
    }

private:
    QGroupBox* Group(const char* title, std::initializer_list<TCheckBox*> boxes) {
        auto* group = new QGroupBox(title, this);
        auto* layout = new QVBoxLayout(group);
        for (TCheckBox* model : boxes) {
            QCheckBox* box = FBinder.CheckBox(*model);
            if (!FFirstBox) FFirstBox = box;
            layout->addWidget(box);
        }
        layout->addStretch();
        return group;
    }

    QLineEdit* Edit(TEdit& model) {
        QLineEdit* edit = FBinder.Edit(model);
        edit->setMaximumWidth(90);
        return edit;
    }

    TGraphPropForm& FForm;
    TViewBinder& FBinder;
    QCheckBox* FFirstBox = nullptr;
};

} // namespace

void InstallGraphPropDialog(TGraphPropForm& form, TViewBinder& binder, QWidget* parent) {
    QPointer<TGraphPropDialog> dialog = new TGraphPropDialog(form, binder, parent);
    form.OnShowRequest = [dialog] {
        if (dialog) dialog->Run();
    };
    form.OnCloseRequest = [dialog] {
        if (dialog && dialog->isVisible()) dialog->done(QDialog::Accepted);
    };
}

} // namespace halvern
