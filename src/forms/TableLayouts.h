// Where each value sits in the program's tables: the columns and rows of every table, named
// once and used by the calculations, the file, the import, the charts, the reports and the
// tests alike. Column and row 0 are headings unless a table says otherwise.
#pragma once
#include "model/Project.h"

namespace halvern {

// FlowGrid ("Flow and Pressure"): one heading row, then the 24 measured hours.
namespace FlowGridLayout {
inline constexpr int HourCol = 0;      // "00:00 - 01:00"
inline constexpr int InflowM3hCol = 1; // zone inflow, m³/h
inline constexpr int InflowLsCol = 2;  // zone inflow, l/s (the one not typed is derived)
inline constexpr int InletCol = 3;     // inlet pressure, m
inline constexpr int AZPCol = 4;       // AZP pressure, m
inline constexpr int CriticalCol = 5;  // critical point pressure, m
inline constexpr int ColCount = 6;
inline constexpr int HeadingRow = 0;
inline constexpr int FirstHourRow = 1;
inline constexpr int LastHourRow = FirstHourRow + HoursPerDay - 1;
inline constexpr int RowCount = LastHourRow + 1;
// The table row of hour h (0 = the interval starting at 00:00).
constexpr int HourRow(int hour) {
    return FirstHourRow + hour;
}
} // namespace FlowGridLayout

// The hourly result tables share their rows: two heading rows, then the 24 hours, each
// labelled in the first column.
namespace ResultRows {
inline constexpr int HourCol = 0;
inline constexpr int HeadingRows = 2;
inline constexpr int GroupHeadingRow = 0;  // "Pressure (m)", "Flow (m³/hr)" over their columns
inline constexpr int ColumnHeadingRow = 1; // each column's own heading
inline constexpr int FirstHourRow = 2;
inline constexpr int LastHourRow = FirstHourRow + HoursPerDay - 1;
inline constexpr int RowCount = LastHourRow + 1;
constexpr int HourRow(int hour) {
    return FirstHourRow + hour;
}
constexpr int HourOfRow(int row) {
    return row - FirstHourRow;
}
} // namespace ResultRows

// CurrentGrid ("Current Situation"): the measured pressures, the head losses they imply and
// the inflow split into leakage and consumption.
namespace CurrentGridLayout {
using namespace ResultRows;
inline constexpr int InletCol = 1;        // m, from the input table
inline constexpr int AZPCol = 2;          // m, from the input table
inline constexpr int CriticalCol = 3;     // m, from the input table
inline constexpr int AZPHeadlossCol = 4;  // inlet to AZP, m
inline constexpr int CritHeadlossCol = 5; // inlet to critical point, m
inline constexpr int TotalFlowCol = 6;    // zone inflow, m³/h
inline constexpr int DepFlowCol = 7;      // pressure-dependent flow (leakage), m³/h
inline constexpr int IndepFlowCol = 8;    // pressure-independent flow (consumption), m³/h
inline constexpr int ColCount = 9;
} // namespace CurrentGridLayout

// FixedPRVGrid, TimePRVGrid and FlowPRVGrid: one layout for the three valve scenarios.
namespace PRVGridLayout {
using namespace ResultRows;
inline constexpr int InletCol = 1;        // m, from the input table
inline constexpr int OutletCol = 2;       // PRV outlet pressure, m
inline constexpr int AZPCol = 3;          // m
inline constexpr int CriticalCol = 4;     // m
inline constexpr int AZPHeadlossCol = 5;  // m
inline constexpr int CritHeadlossCol = 6; // m
inline constexpr int TotalFlowCol = 7;    // m³/h
inline constexpr int DepFlowCol = 8;      // m³/h
inline constexpr int IndepFlowCol = 9;    // m³/h
inline constexpr int ColCount = 10;
} // namespace PRVGridLayout

// CostSummaryGrid ("Summary"): three heading rows, then the current situation and the
// three valves; annual volumes in m³/a, money in R/a.
namespace CostSummaryLayout {
inline constexpr int NameCol = 0;
inline constexpr int InflowCol = 1;         // zone inflow, m³/a
inline constexpr int LossSavingCol = 2;     // reduced distribution losses, m³/a
inline constexpr int ConsumpSavingCol = 3;  // reduced consumption, m³/a
inline constexpr int VolumeSavingCol = 4;   // total, m³/a
inline constexpr int PurchaseSavingCol = 5; // reduced purchases, R/a
inline constexpr int IncomeLossCol = 6;     // reduced income, R/a
inline constexpr int MoneySavingCol = 7;    // total, R/a
inline constexpr int ImplementationCol = 8; // implementation costs, R
inline constexpr int PaybackCol = 9;        // months, or "Never"
inline constexpr int ColCount = 10;
inline constexpr int HeadingRows = 3;
inline constexpr int GroupHeadingRow = 0;  // "Zone Inflow (m³/a)", "Savings", "Payback (months)"
inline constexpr int UnitsRow = 1;         // "(m³/a)", "(R/a)" under the savings
inline constexpr int ColumnHeadingRow = 2; // each saving's own heading
inline constexpr int CurrentRow = 3;
inline constexpr int FixedRow = 4;
inline constexpr int TimeRow = 5;
inline constexpr int FlowRow = 6;
inline constexpr int FirstScenarioRow = FixedRow;
inline constexpr int RowCount = 7;
} // namespace CostSummaryLayout

// N1Grid (the N1 window's step test): two heading rows, then the start state and three stages.
namespace N1GridLayout {
inline constexpr int NameCol = 0;
inline constexpr int StartTimeCol = 1;        // hr
inline constexpr int EndTimeCol = 2;          // hr
inline constexpr int InletCol = 3;            // measured, m
inline constexpr int AZPCol = 4;              // measured, m
inline constexpr int CriticalCol = 5;         // measured, m
inline constexpr int InflowCol = 6;           // zone inflow, m³/h
inline constexpr int NightConsumptionCol = 7; // pressure-independent night flow, m³/h
inline constexpr int LossesCol = 8;           // distribution losses, m³/h
inline constexpr int FirstN1Col = 9;          // N1 of stages 1, 2 and 3
inline constexpr int AverageN1Col = 12;
inline constexpr int FirstMeasuredCol = StartTimeCol;
inline constexpr int LastMeasuredCol = InflowCol;
inline constexpr int FirstDerivedCol = NightConsumptionCol;
inline constexpr int LastDerivedCol = AverageN1Col;
inline constexpr int ColCount = 13;
inline constexpr int HeadingRows = 2;
inline constexpr int GroupHeadingRow = 0;  // "Measured Pressure", "Calculated values of N1 for zone"
inline constexpr int ColumnHeadingRow = 1; // "AZP (m)", "Average"
inline constexpr int StartRow = 2;
inline constexpr int Stage1Row = 3;
inline constexpr int Stage2Row = 4;
inline constexpr int Stage3Row = 5;
inline constexpr int FirstStageRow = StartRow; // the start state and stages 1 to 3
inline constexpr int LastStageRow = Stage3Row;
inline constexpr int RowCount = 6;
} // namespace N1GridLayout

// SensitivityGrid (the Summary's "N1 Sensitivity" page): two heading rows, then one row per
// N1 of the sweep; per valve its total savings and payback as the cost table shows them.
namespace N1SensitivityLayout {
inline constexpr int N1Col = 0;
inline constexpr int ValveCols = 3;       // per valve:
inline constexpr int SavingM3aOffset = 0; // total savings, m³/a
inline constexpr int SavingRaOffset = 1;  // total savings, R/a
inline constexpr int PaybackOffset = 2;   // months, or "Never"
constexpr int ValveCol(int valve, int offset) {
    return 1 + valve * ValveCols + offset;
}
inline constexpr int ColCount = 1 + 3 * ValveCols;
inline constexpr int HeadingRows = 2;
inline constexpr int FirstN1Row = 2;
} // namespace N1SensitivityLayout

// FixedCostGrid (the "Implementation Costs" dialog): the cost items of each valve in R.
namespace FixedCostLayout {
inline constexpr int DescriptionCol = 0;
inline constexpr int FirstOptionCol = 1; // fixed outlet, time modulated, flow modulated
inline constexpr int OptionCount = 3;
inline constexpr int LastOptionCol = FirstOptionCol + OptionCount - 1;
inline constexpr int ColCount = 4;
inline constexpr int HeadingRows = 2;
inline constexpr int GroupHeadingRow = 0;  // "Fixed Costs", "Costs (R)"
inline constexpr int ColumnHeadingRow = 1; // the valves' names
inline constexpr int FirstItemRow = 2;
inline constexpr int LastItemRow = 5;
inline constexpr int TotalRow = 6;
inline constexpr int RowCount = 7;
} // namespace FixedCostLayout

} // namespace halvern
