// "Summary": the cost inputs, the implementation costs of each valve, the consumption
// correction, and the annual savings and payback of every scenario as the window shows them.
#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include "reports/ScenarioParts.h"
#include "reports/SheetWriters.h"

namespace halvern {

namespace {

// The implementation costs dialog's four cost items; its total row is not reported.
constexpr int kCostItems = FixedCostLayout::LastItemRow - FixedCostLayout::FirstItemRow + 1;
// The cost-benefit table's rows: the current situation, then the three valves.
constexpr int kScenarios = CostSummaryLayout::FlowRow - CostSummaryLayout::CurrentRow + 1;

void TitleRow(TWorksheet& sheet, const TProject& p) {
    sheet.Range("A2:K2").SetBold().SetFontSize(12).SetBottomBorder(TBorderLine::Thick);
    sheet.Range("A2").SetLiteralText(p.WaterSupplySystem);
    sheet.Range("E2").SetLiteralText(p.ZoneName);
    sheet.Range("I2").SetText("Summary");
    for (const char* range : {"A2:D2", "E2:H2", "I2:K2"})
        sheet.Range(range).Merge();
    sheet.Range("A2:H2").SetHorizontalAlignment(THorizontalAlignment::Left);
    sheet.Range("I2:K2").SetHorizontalAlignment(THorizontalAlignment::Right);
    WrapLongText(sheet, 2, "A", "D", p.WaterSupplySystem);
    WrapLongText(sheet, 2, "E", "H", p.ZoneName);
}

void ImplementationCostsTable(TWorksheet& sheet, const TMoneyForm& money) {
    GroupLabel(sheet, 8, "Implementation Costs:", "C");
    sheet.Range("D8:K9")
        .SetHorizontalAlignment(THorizontalAlignment::Centre)
        .SetBold()
        .SetFontSize(9)
        .SetFontName("Calibri")
        .SetFill(PaleYellow);
    for (const char* range : {"D8:E8", "F8:K8", "D9:E9", "F9:G9", "H9:I9", "J9:K9"})
        sheet.Range(range).Merge();
    for (int row = 10; row <= 13; ++row)
        for (const auto& [first, last] :
             {std::pair{"D", "E"}, std::pair{"F", "G"}, std::pair{"H", "I"}, std::pair{"J", "K"}})
            sheet.Range(Span(first, row, last, row)).Merge();
    sheet.Range("D8:K13").SetBorders(TBorderLine::Thin);
    const std::pair<const char*, const char*> headings[] = {
        {"D8", "Fix Costs"}, {"F8", "Costs (R)"},          {"D9", "Description"},
        {"F9", "Fix PRV"},   {"H9", "Time Modulated PRV"}, {"J9", "Flow Modulated PRV"}};
    for (const auto& [cell, text] : headings)
        sheet.Range(cell).SetText(text);
    sheet.Range("D10:E13").SetBold().SetFill(PaleYellow);
    const char* items[] = {"Design Costs:", "Construction Costs:", "Equipment Costs:", "Other Costs:"};
    for (int i = 0; i < kCostItems; ++i)
        sheet.Range(At("D", 10 + i)).SetText(items[i]);
    // The spreadsheet's currency style, in the money form the program writes amounts in.
    sheet.Range("F10:K13")
        .SetNumberFormat(MoneyNumberFormat(money))
        .SetHorizontalAlignment(THorizontalAlignment::Right)
        .SetShrinkToFit();
}

void ImplementationCosts(TWorksheet& sheet, const TMarkStringGrid& costs) {
    using namespace FixedCostLayout;
    // Fixed outlet, time modulated and flow modulated PRV, two sheet columns each.
    const char* columns[OptionCount] = {"F", "H", "J"};
    for (int i = 0; i < kCostItems; ++i)
        for (int option = 0; option < OptionCount; ++option)
            sheet.Range(At(columns[option], 10 + i))
                .SetText(costs.Cell(FirstOptionCol + option, FirstItemRow + i));
}

void SavingsTableFrame(TWorksheet& sheet) {
    sheet.Range("A20:K22").SetBold().SetFill(PaleYellow).SetWrapText();
    sheet.Range("A20:J22").SetHorizontalAlignment(THorizontalAlignment::Centre);
    for (const char* range : {"A20:B22", "C20:C22", "D20:I20", "D21:F21", "G21:I21", "J20:J22", "K20:K22"})
        sheet.Range(range).Merge();
    sheet.Range("A20:K26").SetBorders(TBorderLine::Thin);
}

void SavingsHeadings(TWorksheet& sheet) {
    const std::pair<const char*, const char*> headings[] = {{"C20", "Zone Inflow (m³/a)"},
                                                            {"D20", "Savings"},
                                                            {"D21", "(m³/a)"},
                                                            {"D22", "Reduced Distrib. losses"},
                                                            {"E22", "Reduced Consump."},
                                                            {"F22", "Total"},
                                                            {"G21", "(R/a)"},
                                                            {"G22", "Reduced purchases"},
                                                            {"H22", "Reduced income"},
                                                            {"I22", "Total"},
                                                            {"J20", "Implemen-tation Costs (R)"},
                                                            {"K20", "Payback (months)"}};
    for (const auto& [cell, text] : headings)
        sheet.Range(cell).SetText(text);
    const char* scenarios[] = {"Current Situation", "Fixed Outlet PRV", "Time Modulated PRV",
                               "Flow Modulated PRV"};
    for (int i = 0; i < kScenarios; ++i) {
        const int row = 23 + i;
        sheet.Range(At("A", row)).SetText(scenarios[i]);
        sheet.Range(Span("A", row, "B", row)).Merge().SetBold();
    }
}

// Why a scenario's row has no numbers; empty when it has. Every valve's savings are counted
// from the current situation, so its stop empties every row.
std::string RowNotCalculated(const TMainForm& form, int scenario) {
    using TScenario = TMainForm::TAnalysisScenario;
    const std::string current = NotCalculatedText(form, TScenario::CurrentSituation);
    if (!current.empty()) return current;
    return NotCalculatedText(form, static_cast<TScenario>(scenario));
}

void Savings(TWorksheet& sheet, const TMainForm& form) {
    using namespace CostSummaryLayout;
    const TMarkStringGrid& summary = form.CostSummaryGrid;
    // The inflow, the savings, the costs and the payback into C to K, as shown.
    for (int i = 0; i < kScenarios; ++i) {
        const int row = 23 + i;
        if (const std::string stopped = RowNotCalculated(form, i); !stopped.empty()) {
            // No volume, saving or payback, only why; the implementation costs are still the costs.
            sheet.Range(At("C", row)).SetLiteralText(stopped);
            sheet.Range(At("J", row)).SetText(summary.Cell(ImplementationCol, CurrentRow + i));
            sheet.Range(Span("C", row, "I", row))
                .Merge()
                .SetShrinkToFit()
                .SetHorizontalAlignment(THorizontalAlignment::Left);
            continue;
        }
        for (int col = InflowCol; col <= PaybackCol; ++col)
            sheet.Range(At(ColumnOf(col + 1), row)).SetText(summary.Cell(col, CurrentRow + i));
    }
    sheet.Range("C23:J26").SetHorizontalAlignment(THorizontalAlignment::Right);
    for (int i = 0; i < kScenarios; ++i)
        if (!RowNotCalculated(form, i).empty())
            sheet.Range(At("C", 23 + i)).SetHorizontalAlignment(THorizontalAlignment::Left);
    // The narrow columns still show the volumes and amounts of a large zone whole, in
    // millions or more: they shrink rather than show ###.
    sheet.Range("C23:K26").SetShrinkToFit();
}

} // namespace

void WriteSummary(TSheetContext& context) {
    TMainForm& form = context.Form;
    TProgressBar& progress = context.Progress;
    TWorksheet& sheet =
        BeginSheet(context, {"Summary",
                             6.86,
                             {{"A", 9.71}, {"B", 9.71}, {"C", 9.71}, {"G", 7.57}, {"J", 7.29}},
                             false,
                             "A75:K75"});
    // The savings table's headings are three rows of wrapped text.
    sheet.Range("A22").SetRowHeight(36);
    sheet.Range("A20:J22").SetWrapText();

    TitleRow(sheet, form.Project);
    progress.StepIt();

    GroupLabel(sheet, 4, "Cost Factors :", "C");
    CaptionCells(sheet, 4, "D", "G",
                 {"Cost of Inflow (R/m³):", "Consumption Value (R/m³):", "Multiplication factor (%):"});
    ValueCells(sheet, 4, 6, "H", "H", THorizontalAlignment::Right);
    sheet.Range("H4").SetText(form.InflowCostEdit.Text());
    sheet.Range("H5").SetText(form.ConsumpCostsEdit.Text());
    sheet.Range("H6").SetText(form.CostFactorEdit.Text());
    sheet.Range("H4:H5").SetNumberFormat("#,##0.0");
    progress.StepIt();

    ImplementationCostsTable(sheet, context.Book.Typing().Money);
    progress.StepIt();
    ImplementationCosts(sheet, form.CostsForm.FixedCostGrid);
    progress.StepIt();

    GroupLabel(sheet, 15, "Pressure dependent consumption:", "C");
    CaptionCells(sheet, 15, "D", "G", {"% of residential consumption:", "% of non-residential consumption:"});
    ValueCells(sheet, 15, 16, "H", "H", THorizontalAlignment::Right);
    sheet.Range("H15").SetText(form.ResConsumpChangeEdit.Text());
    sheet.Range("H16").SetText(form.NonresConsumpChangeEdit.Text());
    sheet.Range("H15:H16").SetNumberFormat("#,##0.0");
    progress.StepIt();

    GroupLabel(sheet, 18, "N1 Value for Consumption Correction:", "C");
    CaptionCells(sheet, 18, "D", "G", {"N1 for Correction:"});
    ValueCells(sheet, 18, 18, "H", "H", THorizontalAlignment::Right);
    sheet.Range("H18").SetText(form.edtConsumptionN1.Text()).SetNumberFormat("#,##0.0");
    progress.StepIt();

    SavingsTableFrame(sheet);
    progress.StepIt();
    SavingsHeadings(sheet);
    progress.StepIt();
    Savings(sheet, form);
    progress.StepIt();
}

} // namespace halvern
