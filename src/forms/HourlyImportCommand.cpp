// The hourly import of the "Flow and Pressure" page.
#include "forms/HourlyImportCommand.h"

#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include "io/FileAccess.h"
#include "io/TextCodec.h"
#include "model/Numbers.h"

#include <optional>
#include <string>

namespace halvern {
namespace {

// A field of the import as the table shows a value read from a project: two decimals, so
// that "82.800" from a logger stands as "82.80" beside the hours typed or read.
std::string ShownValue(const std::string& field) {
    const std::optional<double> value = ParseNumber(field);
    return value ? FormatFixed(*value, 15, 2) : field;
}

} // namespace

void ApplyHourlyImport(TMainForm& form, const THourlyImport& hours) {
    TMarkStringGrid& grid = form.FlowGrid;
    std::vector<std::pair<int, int>> cells;
    for (int row = FlowGridLayout::FirstHourRow; row <= FlowGridLayout::LastHourRow; ++row)
        for (int col = FlowGridLayout::InflowM3hCol; col <= FlowGridLayout::CriticalCol; ++col)
            cells.emplace_back(col, row);
    TTableStep step = TTableUndo::Before("import", grid, cells);
    step.Refresh = [&form] { form.UpdateFlowGrid(); };

    // The inflow lands in the column of the unit selected when the import runs.
    const int inflowColumn =
        form.m3hrRadio.Checked() ? FlowGridLayout::InflowM3hCol : FlowGridLayout::InflowLsCol;
    const int columns[THourlyImport::FieldsUsed] = {inflowColumn, FlowGridLayout::InletCol,
                                                    FlowGridLayout::AZPCol, FlowGridLayout::CriticalCol};
    for (int h = 0; h < HoursPerDay; ++h)
        for (std::size_t f = 0; f < THourlyImport::FieldsUsed; ++f)
            grid.SetCell(columns[f], FlowGridLayout::FirstHourRow + h,
                         ShownValue(hours.Fields[static_cast<std::size_t>(h)][f]));
    form.UpdateFlowGrid();
    form.TableSteps.Push(std::move(step));
    if (grid.OnRepaint) grid.OnRepaint();
}

bool ImportHourlyFile(TMainForm& form, const std::string& fileName) {
    const TFileResult file = ReadFileBytes(fileName);
    if (!file.Ok) {
        form.Dialogs.Error(FileFailureMessage(fileName, file));
        return false;
    }
    return ImportHourlyBytes(form, file.Bytes, fileName);
}

bool ImportHourlyBytes(TMainForm& form, std::string_view bytes, const std::string& fileName) {
    const THourlyImport hours = ParseHourlyImport(DecodeFileText(bytes));
    if (!hours.Ok()) {
        form.Dialogs.Error(ImportRefusal(hours, fileName));
        return false;
    }
    ApplyHourlyImport(form, hours);
    form.StatusBar1.SimpleText = "Imported 24 hours from " + fileName + " (" + ImportLayoutText(hours) + ")";
    return true;
}

} // namespace halvern
