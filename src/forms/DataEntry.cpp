// Typing into the main window: the key filter of the numeric edits, the hourly input
// table with its two inflow units, and the Enter key in the tables.
#include "forms/MainForm.h"
#include "forms/NumberEntry.h"
#include "forms/TableLayouts.h"
#include "model/FlowUnits.h"
#include "model/Numbers.h"
#include "model/TextNumbers.h"

#include <cmath>
#include <optional>
#include <string>

namespace halvern {
namespace {

constexpr int kFirstHourRow = FlowGridLayout::FirstHourRow;
constexpr int kLastHourRow = FlowGridLayout::LastHourRow;
constexpr int kColM3h = FlowGridLayout::InflowM3hCol;
constexpr int kColLs = FlowGridLayout::InflowLsCol;

// An inflow worked out from the other unit: two decimals, written as a typed or read inflow
// is, so that the column reads alike whichever way its figures came.
std::string InflowText(double flow) {
    return FormatFixed(flow, 18, 2);
}

} // namespace

void TMainForm::CheckNumberEdit(TEdit& edit, char& key) {
    // Backspace and the clipboard and undo keys are the edit's own business.
    if (key == '\b' || IsEditingKey(key)) return;
    // The key is judged as if it were typed at the end of the text: the edit must still
    // hold a number (or the start of one) afterwards.
    if (!NumberKeyAccepted(edit.Text(), key)) key = 0;
}

void TMainForm::NumberEditEdited(const TEdit& edit) {
    // The inputs are collected once the key has landed, so every result shown afterwards
    // counts the figure just typed (and the one just taken away by Backspace). While the
    // edit holds only the start of a number ("", "-", "2e") the user is still typing: no
    // message for it now; the collection names it if it is left so.
    if (!ParseNumber(edit.Text())) return;
    DoMainCalcs();
}

void TMainForm::FlowGridSetEditText(int col, int row, const std::string& value) {
    if (lsRadio.Checked() && col == kColLs) {
        // Inflow typed in l/s: the m³/h column, which the calculations read, follows it.
        // A text that gives no usable inflow empties the m³/h cell, so that the next
        // collection of the inputs names the hour instead of using a stale inflow.
        const std::optional<double> litres = ParseNumber(value);
        const bool usable = litres && std::isfinite(CubicMetresPerHour(*litres));
        FlowGrid.SetCell(kColM3h, row, usable ? InflowText(CubicMetresPerHour(*litres)) : std::string());
    }
    // Only the hour typed into is converted: every other hour keeps its inflow exactly as it
    // was typed, whichever unit it was typed in.
    if (col == kColM3h || col == kColLs) UpdateFlowGridRow(row);
}

void TMainForm::UpdateFlowGrid() {
    for (int row = kFirstHourRow; row <= kLastHourRow; ++row)
        UpdateFlowGridRow(row);
}

void TMainForm::UpdateFlowGridRow(int row) {
    // The derived inflow follows every number typed, 0 and below too, so that it never
    // shows the flow of a figure since replaced; a text that is no number leaves it.
    if (m3hrRadio.Checked()) {
        const std::optional<double> flow = TypedNumber(FlowGrid.Cell(kColM3h, row));
        if (flow) FlowGrid.SetCell(kColLs, row, InflowText(LitresPerSecond(*flow)));
        if (FlowGrid.Cell(kColM3h, row).empty()) {
            FlowGrid.SetCell(kColM3h, row, "");
            FlowGrid.SetCell(kColLs, row, "0");
        }
    } else {
        const std::optional<double> flow = TypedNumber(FlowGrid.Cell(kColLs, row));
        if (flow && std::isfinite(CubicMetresPerHour(*flow)))
            FlowGrid.SetCell(kColM3h, row, InflowText(CubicMetresPerHour(*flow)));
        if (FlowGrid.Cell(kColLs, row).empty()) {
            FlowGrid.SetCell(kColM3h, row, "0");
            FlowGrid.SetCell(kColLs, row, "");
        }
    }
}

namespace {

// The column typed into gets red text and is open; the derived one blue text and locked.
void MarkInflowColumns(TMarkStringGrid& grid, int typedCol, int derivedCol) {
    grid.SetColColours(derivedCol, clNone, clBlue);
    grid.SetColLock(derivedCol);
    grid.SetColColours(typedCol, clNone, clRed);
    grid.ClearColLock(typedCol);
}

} // namespace

void TMainForm::m3hrRadioClick() {
    // The numbers in the table stay as they are; only which column is typed into changes.
    Project.FlowUnitsM3h = true;
    MarkInflowColumns(FlowGrid, kColM3h, kColLs);
    MarkFlowGridRows();
    if (FlowGrid.OnRepaint) FlowGrid.OnRepaint();
}

void TMainForm::lsRadioClick() {
    Project.FlowUnitsM3h = false;
    MarkInflowColumns(FlowGrid, kColLs, kColM3h);
    MarkFlowGridRows();
    if (FlowGrid.OnRepaint) FlowGrid.OnRepaint();
}

void TMainForm::GridEnterKey(TMarkStringGrid& grid, char& key, int firstHourRow) {
    if (key != '\r') return;
    grid.MoveOnEnter(firstHourRow);
    key = 0;
}

void TMainForm::FlowPRVGridKeyPress(char& key) {
    if (FlowPRVBusy) {
        key = 0;
        return;
    }
    GridEnterKey(FlowPRVGrid, key, PRVGridLayout::FirstHourRow);
}

} // namespace halvern
