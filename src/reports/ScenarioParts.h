// The layout the four scenario sheets share: the title row, the small blocks of settings and
// results, the 24-hour result table, and the line chart of the pressures with the zone
// inflow ("Flows") read on a second axis.
#pragma once
#include "forms/MainForm.h"
#include "reports/SheetFrame.h"
#include <string>
#include <vector>

namespace halvern {

class TMarkStringGrid;

// The current situation's table has 9 columns (A to I); the valve sheets' 10 (A to J).
enum class TScenarioKind { Current, Valve };

// Where each part of a scenario sheet stands, in the spreadsheet's rows (counted from 1). The
// result table has two heading rows at TableHeadingRow, then the 24 hours; its numbers are
// shown as "#,##0.0", shrunk to fit, from FirstFormattedRow down to its last hour.
namespace CurrentSituationSheetLayout {
inline constexpr int FlowsRow = 4;   // "Flows:", three rows
inline constexpr int ChecksRow = 8;  // " Basic Checks :", three rows
inline constexpr int StatusRow = 11; // why a scenario not calculated has no results
inline constexpr int TableHeadingRow = 12;
inline constexpr int FirstFormattedRow = 13;
} // namespace CurrentSituationSheetLayout
namespace FixedOutletSheetLayout {
inline constexpr int FlowsRow = 4;
inline constexpr int ChecksRow = 8;   // the day/night factor, the warning, the notes
inline constexpr int SettingRow = 11; // " PRV Setting :"
inline constexpr int TableHeadingRow = 13;
inline constexpr int FirstFormattedRow = 13;
} // namespace FixedOutletSheetLayout
namespace TimeModulatedSheetLayout {
inline constexpr int PressuresRow = 4; // high and low pressure
inline constexpr int IntervalsRow = 7;
inline constexpr int SwitchingTimesRow = 9; // a set's heading, "Start:" and "Stop:" below it
inline constexpr int FlowsRow = 13;
inline constexpr int ChecksRow = 17;
inline constexpr int TableHeadingRow = 20;
inline constexpr int FirstFormattedRow = 20;
} // namespace TimeModulatedSheetLayout
namespace FlowModulatedSheetLayout {
inline constexpr int PressuresRow = 4; // low and high pressure
inline constexpr int FlowsRow = 7;
inline constexpr int ChecksRow = 11;
inline constexpr int TableHeadingRow = 14;
inline constexpr int FirstFormattedRow = 16;
} // namespace FlowModulatedSheetLayout

// The rows of a result table's first and last hour, from its heading row.
constexpr int TableFirstHourRow(int headingRow) {
    return headingRow + 2;
}
constexpr int TableLastHourRow(int headingRow) {
    return headingRow + 1 + HoursPerDay;
}
// The last column of the table of a kind ("I" or "J").
std::string LastColumn(TScenarioKind kind);
// The line that closes a scenario sheet's page, along its row 75 below the chart.
std::string ScenarioClosingLine(TScenarioKind kind);

// What a sheet says in place of the results of a scenario that could not be calculated
// ("Could not be calculated: Floating point overflow"); empty when it was calculated.
std::string NotCalculatedText(const TMainForm& form, TMainForm::TAnalysisScenario scenario);
// The result texts, or as many empty ones when the scenario could not be calculated: a
// stopped scenario shows no numbers of an earlier run, nor the page's first texts.
std::vector<std::string> ResultTexts(const std::string& notCalculated, std::vector<std::string> texts);

// Title row 2: the water supply system, the zone and the sheet's name.
void ScenarioTitleRow(TSheetContext& context, TWorksheet& sheet, TScenarioKind kind);

// An upper block: the group label (column B, shown in A:B), caption cells C:E and value cells
// in column F, right-aligned; `Values` puts the texts in with "#,##0.0" unless told otherwise.
void UpperBlock(TWorksheet& sheet, int firstRow, const std::string& label,
                const std::vector<std::string>& captions);
void UpperValues(TWorksheet& sheet, int firstRow, const std::vector<std::string>& texts,
                 const std::string& numberFormat = "#,##0.0");

// A valve's warning in column C, bold, free to run on over the empty cells to its right.
void StatusLine(TWorksheet& sheet, int row, const std::string& text);

// The "Flows:" block: the day's pressure-dependent, pressure-independent and total volumes.
void FlowsBlock(TWorksheet& sheet, int firstRow, const std::vector<std::string>& volumes);
// A valve's " Basic Checks :": the day/night factor, and its warning on the row below.
// The second row under the warning names, in grey, the hours in which the valve stands fully
// open and the targets it cannot meet (`notes`, each may hold several lines).
void ValveChecks(TWorksheet& sheet, int firstRow, const std::string& dayNight, const std::string& warning,
                 const std::vector<std::string>& notes);

// The result table with its heading rows at `headingRow`: format, merges, wrap, row height
// and borders; then the heading texts; then the 24 hours from the window's table.
void TableFrame(TWorksheet& sheet, TScenarioKind kind, int headingRow);
void TableHeadings(TWorksheet& sheet, TScenarioKind kind, int headingRow);
void TableRows(TWorksheet& sheet, TScenarioKind kind, int headingRow, const TMarkStringGrid& grid,
               int firstFormattedRow, bool calculated = true);

// Where a chart stands on its sheet, in points.
struct TChartFrame {
    double Left, Top, Width, Height;
};
struct TChartPlacement {
    double Left, Top, Width, Height;
    std::string PressureBlock; // hours, then one column per pressure
    std::string FlowColumn;
};
// A scenario chart over its table: the hours and the pressures, and the zone inflow.
TChartPlacement ScenarioChartPlacement(TScenarioKind kind, int headingRow, const TChartFrame& frame);

// The chart object with its plot area and series added (the pressures, then the flows).
TSheetChart& AddScenarioChart(TWorksheet& sheet, const TChartPlacement& placement);
// Names the series and puts "Flows" on the second value axis.
void NameSeries(TSheetChart& chart, TScenarioKind kind);
// The series' line colours and weights, their marker styles, and the markers' colours and sizes.
void StyleLines(TSheetChart& chart);
void StyleMarkerShapes(TSheetChart& chart);
void StyleMarkerColours(TSheetChart& chart);
// The chart's title: the sheet's name, a colon and the zone.
std::string ChartTitle(const TSheetContext& context, const std::string& sheetName);

// The result table whole (frame, headings, the hours), a progress step after the headings
// and one after the hours. A scenario not calculated has its hours and no values.
void ScenarioTable(TSheetContext& context, TWorksheet& sheet, TScenarioKind kind, int headingRow,
                   const TMarkStringGrid& grid, int firstFormattedRow, bool calculated = true);
// The chart whole, over the table at `headingRow`: placed, its series named and styled,
// titled "<sheet>: <zone>" with its axes' titles and the legend below; the sheet's remaining
// `steps` progress steps along the way. The chart starts a little below the table's last
// hour and ends where the frame ends, so it never covers the table; a scenario not
// calculated has no chart.
void ScenarioChart(TSheetContext& context, TWorksheet& sheet, TScenarioKind kind, int headingRow,
                   const TChartFrame& frame, int steps, bool calculated = true);
// A round step of about a fifth of the span: 1, 2, 2.5 or 5 times a power of ten.
double RoundStep(double span);
// The axes of a chart over the sheet's numbers: hour labels below the plot; where pressures
// fall below zero, both value axes fixed so that their zeros meet and the flows have room.
void ScaleAxes(const TWorksheet& sheet, TSheetChart& chart);
// The points from the sheet's top to the bottom of a row.
double PointsToBottomOf(const TWorksheet& sheet, int row);

} // namespace halvern
