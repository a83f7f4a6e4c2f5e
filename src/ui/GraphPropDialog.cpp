#include "ui/GraphPropDialog.h"

#include "forms/MainForm.h"

#include <QCheckBox>
#include <QDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <vector>

namespace halvern {

namespace {

class TGraphPropDialog : public QDialog {
public:
    TGraphPropDialog(TGraphPropForm& form, TMainForm& mainForm, QWidget* parent)
        : QDialog(parent), FForm(form), FMainForm(mainForm) {
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
            FMainForm.Dispatch([this] { FForm.BitBtn1Click(); });
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

    // Shows the model's ticks, maxima and hidden boxes (FormActivate has filled them).
    void Load() {
        for (const auto& [box, model] : FBoxes) {
            box->setChecked(model->Checked);
            box->setVisible(model->Visible);
        }
        for (const auto& [edit, model] : FEdits)
            edit->setText(QString::fromStdString(model->Text()));
        FBoxes.front().first->setFocus();
    }

protected:
    // The close box (and Escape) close the dialog without applying anything.
    void reject() override {
        FForm.Close();
        if (isVisible()) done(QDialog::Rejected);
    }

private:
    QGroupBox* Group(const char* title, std::initializer_list<TCheckBox*> boxes) {
        auto* group = new QGroupBox(title, this);
        auto* layout = new QVBoxLayout(group);
        for (TCheckBox* model : boxes) {
            auto* box = new QCheckBox(QString::fromStdString(model->Caption), group);
            box->setObjectName(QString::fromStdString(model->Name));
            connect(box, &QCheckBox::toggled, this, [model](bool checked) { model->Checked = checked; });
            layout->addWidget(box);
            FBoxes.emplace_back(box, model);
        }
        layout->addStretch();
        return group;
    }

    QLineEdit* Edit(TEdit& model) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromStdString(model.Name));
        edit->setMaximumWidth(90);
        connect(edit, &QLineEdit::textEdited, this,
                [&model](const QString& text) { model.SetText(text.toStdString()); });
        FEdits.emplace_back(edit, &model);
        return edit;
    }

    TGraphPropForm& FForm;
    TMainForm& FMainForm;
    std::vector<std::pair<QCheckBox*, TCheckBox*>> FBoxes;
    std::vector<std::pair<QLineEdit*, TEdit*>> FEdits;
};

} // namespace

void InstallGraphPropDialog(TGraphPropForm& form, TMainForm& mainForm, QWidget* parent,
                            std::function<void()> afterClose) {
    QPointer<TGraphPropDialog> dialog = new TGraphPropDialog(form, mainForm, parent);
    form.OnShowRequest = [dialog, afterClose = std::move(afterClose)] {
        if (!dialog) return;
        dialog->Load();
        dialog->exec();
        if (afterClose) afterClose();
    };
    form.OnCloseRequest = [dialog] {
        if (dialog && dialog->isVisible()) dialog->done(QDialog::Accepted);
    };
}

} // namespace halvern
