// The hourly import of the "Flow and Pressure" page.
#include "forms/HourlyImportCommand.h"

#include "forms/MainForm.h"
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
    for (int row = 1; row <= HoursPerDay; ++row)
        for (int col = 1; col <= 5; ++col)
            grid.SetCell(col, row, "0");
    // The inflow lands in the column of the unit selected when the import runs.
    const int inflowColumn = form.m3hrRadio.Checked() ? 1 : 2;
    const int columns[THourlyImport::FieldsUsed] = {inflowColumn, 3, 4, 5};
    for (int h = 0; h < HoursPerDay; ++h) {
        const auto& fields = hours.Fields[static_cast<std::size_t>(h)];
        for (std::size_t f = 0; f < fields.size() && f < THourlyImport::FieldsUsed; ++f)
            grid.SetCell(columns[f], h + 1, ShownValue(fields[f]));
    }
    form.UpdateFlowGrid();
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
    if (const std::string refusal = ImportRefusal(hours, fileName); !refusal.empty()) {
        form.Dialogs.Error(refusal);
        return false;
    }
    ApplyHourlyImport(form, hours);
    if (const std::string shortfall = ImportShortfall(hours, fileName); !shortfall.empty())
        form.Dialogs.Message(shortfall);
    return true;
}

} // namespace halvern
