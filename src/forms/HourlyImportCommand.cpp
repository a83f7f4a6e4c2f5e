// The hourly import of the "Flow and Pressure" page.
#include "forms/HourlyImportCommand.h"

#include "forms/MainForm.h"
#include "io/FileAccess.h"
#include "io/TextCodec.h"

namespace halvern {

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
            grid.SetCell(columns[f], h + 1, fields[f]);
    }
    form.UpdateFlowGrid();
}

bool ImportHourlyFile(TMainForm& form, const std::string& fileName) {
    const TFileResult file = ReadFileBytes(fileName);
    if (!file.Ok) {
        form.Dialogs.Error(file.SystemError);
        return false;
    }
    ApplyHourlyImport(form, ParseHourlyImport(DecodeFileText(file.Bytes)));
    return true;
}

} // namespace halvern
