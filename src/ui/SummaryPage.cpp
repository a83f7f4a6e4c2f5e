// "Summary": the cost inputs above its two pages, "Cost Summary" (the cost-benefit table and
// the note on what it leaves out) and "N1 Sensitivity".
#include "ui/PageKit.h"
#include "ui/Pages.h"
#include "ui/ViewBinder.h"
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace halvern {

QWidget* BuildSummarySheet(TViewBinder& b, QWidget* pages) {
    TMainForm& f = b.Form;
    auto* page = new QWidget;

    auto* costs = MakeFormGrid();
    costs->addWidget(MakeCaption("Cost of Inflow (R/m³)"), 0, 0);
    costs->addWidget(StyleNumberEdit(b.Edit(f.InflowCostEdit, kGreenText)), 0, 1);
    costs->addWidget(MakeCaption("Consumption Value (R/m³)"), 1, 0);
    costs->addWidget(StyleNumberEdit(b.Edit(f.ConsumpCostsEdit, kGreenText)), 1, 1);
    costs->addWidget(MakeCaption("Multiplication factor (%)"), 2, 0);
    auto* factor = new QHBoxLayout;
    factor->setSpacing(1);
    factor->addWidget(StyleNumberEdit(b.Edit(f.CostFactorEdit, kGreenText), 62));
    factor->addWidget(b.UpDown(f.CostFactorUpDown));
    costs->addLayout(factor, 2, 1, Qt::AlignLeft);
    // The two buttons share a row, so the page below them keeps its room.
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(b.Button(f.ImpCostsButton));
    buttons->addWidget(MakeSuggestButton(b, std::nullopt, "Suggest all", "SuggestAllButton"));
    buttons->addStretch(1);
    costs->addLayout(buttons, 3, 0, 1, 2);

    auto* consumption = MakeFormGrid();
    consumption->addWidget(MakeCaption("% of residential consumption"), 0, 0);
    consumption->addWidget(StyleNumberEdit(b.Edit(f.ResConsumpChangeEdit, kGreenText)), 0, 1);
    consumption->addWidget(MakeCaption("% of non-residential consumption"), 1, 0);
    consumption->addWidget(StyleNumberEdit(b.Edit(f.NonresConsumpChangeEdit, kGreenText)), 1, 1);
    consumption->setRowStretch(2, 1);

    auto* n1 = MakeFormGrid();
    n1->addWidget(MakeCaption("N1 for Correction"), 0, 0);
    n1->addWidget(StyleNumberEdit(b.Edit(f.edtConsumptionN1, kGreenText)), 0, 1);
    n1->addWidget(MakeCaption("Not saved with the project:\n0.5 again for each project\nnew or read"), 1, 0,
                  1, 2);
    n1->setRowStretch(2, 1);

    auto* inputs = new QHBoxLayout;
    inputs->addWidget(MakeGroup("Cost factors", costs));
    inputs->addWidget(MakeGroup("Pressure dependent consumption", consumption));
    inputs->addWidget(MakeGroup("N1 Value for Consumption Correction", n1));
    inputs->addStretch(1);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(inputs);
    layout->addWidget(pages, 1);
    return page;
}

QWidget* BuildCostSummarySheet(TViewBinder& b) {
    TMainForm& f = b.Form;
    auto* page = new QWidget;
    auto* table = new QHBoxLayout;
    table->addWidget(b.Grid(f.CostSummaryGrid));
    table->addStretch(1);

    auto* note = new QVBoxLayout;
    note->setSpacing(0);
    for (const char* line : {"Note:",
                             "Savings from reduced bursts and impacts on lifespan of infrastructure are not "
                             "included - result therefore "
                             "provide a very conservative ",
                             "estimate of savings."})
        note->addWidget(MakeCaption(line, kRedText));

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(table);
    layout->addLayout(note);
    layout->addStretch(1);
    return page;
}

} // namespace halvern
