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

// Where each part of the sheet stands, in the spreadsheet's rows (counted from 1).
constexpr int kTitleRow = 2;
constexpr int kCostFactorsRow = 4;  // inflow cost, consumption value, multiplication factor
constexpr int kCostsHeadingRow = 8; // two heading rows, then the cost items
constexpr int kFirstCostItemRow = kCostsHeadingRow + 2;
constexpr int kLastCostItemRow = kFirstCostItemRow + kCostItems - 1;
constexpr int kConsumptionRow = 15;    // the residential and non-residential percentages
constexpr int kCorrectionN1Row = 18;   // the N1 of the consumption correction
constexpr int kSavingsHeadingRow = 20; // three heading rows, then a row per scenario
constexpr int kFirstScenarioRow = kSavingsHeadingRow + 3;
constexpr int kLastScenarioRow = kFirstScenarioRow + kScenarios - 1;
constexpr int kClosingRow = 75;

void TitleRow(TWorksheet& sheet, const TProject& p) {
    const int r = kTitleRow;
    sheet.Range(Span("A", r, "K", r)).SetBold().SetFontSize(12).SetBottomBorder(TBorderLine::Thick);
    sheet.Range(At("A", r)).SetLiteralText(p.WaterSupplySystem);
    sheet.Range(At("E", r)).SetLiteralText(p.ZoneName);
    sheet.Range(At("I", r)).SetText("Summary");
    for (const auto& [first, last] : {std::pair{"A", "D"}, std::pair{"E", "H"}, std::pair{"I", "K"}})
        sheet.Range(Span(first, r, last, r)).Merge();
    sheet.Range(Span("A", r, "H", r)).SetHorizontalAlignment(THorizontalAlignment::Left);
    sheet.Range(Span("I", r, "K", r)).SetHorizontalAlignment(THorizontalAlignment::Right);
    WrapLongText(sheet, r, "A", "D", p.WaterSupplySystem);
    WrapLongText(sheet, r, "E", "H", p.ZoneName);
}

void ImplementationCostsTable(TWorksheet& sheet, const TMoneyForm& money) {
    const int top = kCostsHeadingRow, names = kCostsHeadingRow + 1;
    GroupLabel(sheet, top, "Implementation Costs:", "C");
    sheet.Range(Span("D", top, "K", names))
        .SetHorizontalAlignment(THorizontalAlignment::Centre)
        .SetBold()
        .SetFontSize(9)
        .SetFontName("Calibri")
        .SetFill(PaleYellow);
    for (const std::string& range :
         {Span("D", top, "E", top), Span("F", top, "K", top), Span("D", names, "E", names),
          Span("F", names, "G", names), Span("H", names, "I", names), Span("J", names, "K", names)})
        sheet.Range(range).Merge();
    for (int row = kFirstCostItemRow; row <= kLastCostItemRow; ++row)
        for (const auto& [first, last] :
             {std::pair{"D", "E"}, std::pair{"F", "G"}, std::pair{"H", "I"}, std::pair{"J", "K"}})
            sheet.Range(Span(first, row, last, row)).Merge();
    sheet.Range(Span("D", top, "K", kLastCostItemRow)).SetBorders(TBorderLine::Thin);
    const std::pair<std::string, const char*> headings[] = {{At("D", top), "Fix Costs"},
                                                            {At("F", top), "Costs (R)"},
                                                            {At("D", names), "Description"},
                                                            {At("F", names), "Fix PRV"},
                                                            {At("H", names), "Time Modulated PRV"},
                                                            {At("J", names), "Flow Modulated PRV"}};
    for (const auto& [cell, text] : headings)
        sheet.Range(cell).SetText(text);
    sheet.Range(Span("D", kFirstCostItemRow, "E", kLastCostItemRow)).SetBold().SetFill(PaleYellow);
    const char* items[] = {"Design Costs:", "Construction Costs:", "Equipment Costs:", "Other Costs:"};
    for (int i = 0; i < kCostItems; ++i)
        sheet.Range(At("D", kFirstCostItemRow + i)).SetText(items[i]);
    // The spreadsheet's currency style, in the money form the program writes amounts in.
    sheet.Range(Span("F", kFirstCostItemRow, "K", kLastCostItemRow))
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
            sheet.Range(At(columns[option], kFirstCostItemRow + i))
                .SetText(costs.Cell(FirstOptionCol + option, FirstItemRow + i));
}

void SavingsTableFrame(TWorksheet& sheet) {
    // Three heading rows: the groups, the units under the savings, each column's own.
    const int top = kSavingsHeadingRow, units = top + 1, bottom = top + 2;
    sheet.Range(Span("A", top, "K", bottom)).SetBold().SetFill(PaleYellow).SetWrapText();
    sheet.Range(Span("A", top, "J", bottom)).SetHorizontalAlignment(THorizontalAlignment::Centre);
    for (const std::string& range :
         {Span("A", top, "B", bottom), Span("C", top, "C", bottom), Span("D", top, "I", top),
          Span("D", units, "F", units), Span("G", units, "I", units), Span("J", top, "J", bottom),
          Span("K", top, "K", bottom)})
        sheet.Range(range).Merge();
    sheet.Range(Span("A", top, "K", kLastScenarioRow)).SetBorders(TBorderLine::Thin);
}

void SavingsHeadings(TWorksheet& sheet) {
    const int top = kSavingsHeadingRow, units = top + 1, bottom = top + 2;
    const std::pair<std::string, const char*> headings[] = {{At("C", top), "Zone Inflow (m³/a)"},
                                                            {At("D", top), "Savings"},
                                                            {At("D", units), "(m³/a)"},
                                                            {At("D", bottom), "Reduced Distrib. losses"},
                                                            {At("E", bottom), "Reduced Consump."},
                                                            {At("F", bottom), "Total"},
                                                            {At("G", units), "(R/a)"},
                                                            {At("G", bottom), "Reduced purchases"},
                                                            {At("H", bottom), "Reduced income"},
                                                            {At("I", bottom), "Total"},
                                                            {At("J", top), "Implemen-tation Costs (R)"},
                                                            {At("K", top), "Payback (months)"}};
    for (const auto& [cell, text] : headings)
        sheet.Range(cell).SetText(text);
    const char* scenarios[] = {"Current Situation", "Fixed Outlet PRV", "Time Modulated PRV",
                               "Flow Modulated PRV"};
    for (int i = 0; i < kScenarios; ++i) {
        const int row = kFirstScenarioRow + i;
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
        const int row = kFirstScenarioRow + i;
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
    sheet.Range(Span("C", kFirstScenarioRow, "J", kLastScenarioRow))
        .SetHorizontalAlignment(THorizontalAlignment::Right);
    for (int i = 0; i < kScenarios; ++i)
        if (!RowNotCalculated(form, i).empty())
            sheet.Range(At("C", kFirstScenarioRow + i)).SetHorizontalAlignment(THorizontalAlignment::Left);
    // The narrow columns still show the volumes and amounts of a large zone whole, in
    // millions or more: they shrink rather than show ###.
    sheet.Range(Span("C", kFirstScenarioRow, "K", kLastScenarioRow)).SetShrinkToFit();
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
                             Span("A", kClosingRow, "K", kClosingRow)});
    // The savings table's headings are three rows of wrapped text.
    sheet.Range(At("A", kSavingsHeadingRow + 2)).SetRowHeight(36);
    sheet.Range(Span("A", kSavingsHeadingRow, "J", kSavingsHeadingRow + 2)).SetWrapText();

    TitleRow(sheet, form.Project);
    progress.StepIt();

    const int factors = kCostFactorsRow;
    GroupLabel(sheet, factors, "Cost Factors :", "C");
    CaptionCells(sheet, factors, "D", "G",
                 {"Cost of Inflow (R/m³):", "Consumption Value (R/m³):", "Multiplication factor (%):"});
    ValueCells(sheet, factors, factors + 2, "H", "H", THorizontalAlignment::Right);
    sheet.Range(At("H", factors)).SetText(form.InflowCostEdit.Text());
    sheet.Range(At("H", factors + 1)).SetText(form.ConsumpCostsEdit.Text());
    sheet.Range(At("H", factors + 2)).SetText(form.CostFactorEdit.Text());
    sheet.Range(Span("H", factors, "H", factors + 1)).SetNumberFormat("#,##0.0");
    progress.StepIt();

    ImplementationCostsTable(sheet, context.Book.Typing().Money);
    progress.StepIt();
    ImplementationCosts(sheet, form.CostsForm.FixedCostGrid);
    progress.StepIt();

    const int consumption = kConsumptionRow;
    GroupLabel(sheet, consumption, "Pressure dependent consumption:", "C");
    CaptionCells(sheet, consumption, "D", "G",
                 {"% of residential consumption:", "% of non-residential consumption:"});
    ValueCells(sheet, consumption, consumption + 1, "H", "H", THorizontalAlignment::Right);
    sheet.Range(At("H", consumption)).SetText(form.ResConsumpChangeEdit.Text());
    sheet.Range(At("H", consumption + 1)).SetText(form.NonresConsumpChangeEdit.Text());
    sheet.Range(Span("H", consumption, "H", consumption + 1)).SetNumberFormat("#,##0.0");
    progress.StepIt();

    GroupLabel(sheet, kCorrectionN1Row, "N1 Value for Consumption Correction:", "C");
    CaptionCells(sheet, kCorrectionN1Row, "D", "G", {"N1 for Correction:"});
    ValueCells(sheet, kCorrectionN1Row, kCorrectionN1Row, "H", "H", THorizontalAlignment::Right);
    sheet.Range(At("H", kCorrectionN1Row)).SetText(form.edtConsumptionN1.Text()).SetNumberFormat("#,##0.0");
    progress.StepIt();

    SavingsTableFrame(sheet);
    progress.StepIt();
    SavingsHeadings(sheet);
    progress.StepIt();
    Savings(sheet, form);
    progress.StepIt();
}

} // namespace halvern
