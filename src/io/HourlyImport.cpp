// The hourly import of the "Flow and Pressure" page.
#include "io/HourlyImport.h"

#include "forms/MainForm.h"
#include "io/FileAccess.h"
#include "io/TextCodec.h"

namespace halvern {
namespace {

constexpr std::size_t kFieldsUsed = 4;

} // namespace

THourlyImport ParseHourlyImport(std::string_view text) {
    THourlyImport result;
    const std::vector<std::string> lines = SplitLines(text);
    for (std::size_t n = 0; n < lines.size() && n < static_cast<std::size_t>(HoursPerDay); ++n) {
        std::vector<std::string>& fields = result.Fields[n];
        // Only text followed by a comma is a field; what follows the last comma is dropped.
        std::size_t start = 0;
        const std::string& line = lines[n];
        for (std::size_t comma = line.find(','); comma != std::string::npos && fields.size() < kFieldsUsed;
             comma = line.find(',', start)) {
            fields.push_back(line.substr(start, comma - start));
            start = comma + 1;
        }
    }
    return result;
}

void ApplyHourlyImport(TMainForm& form, const THourlyImport& hours) {
    TMarkStringGrid& grid = form.FlowGrid;
    for (int row = 1; row <= HoursPerDay; ++row)
        for (int col = 1; col <= 5; ++col)
            grid.SetCell(col, row, "0");
    // The inflow lands in the column of the unit selected when the import runs.
    const int inflowColumn = form.m3hrRadio.Checked() ? 1 : 2;
    const int columns[kFieldsUsed] = {inflowColumn, 3, 4, 5};
    for (int h = 0; h < HoursPerDay; ++h) {
        const auto& fields = hours.Fields[static_cast<std::size_t>(h)];
        for (std::size_t f = 0; f < fields.size() && f < kFieldsUsed; ++f)
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
