// The hourly import applied to the window: the "Import" button of the "Flow and Pressure"
// page once its open dialog has given a file.
#pragma once
#include "io/HourlyImport.h"
#include <string>
#include <string_view>

namespace halvern {

class TMainForm;

// Puts a checked day of hours into FlowGrid as one step Edit > Undo takes back: each hour's
// fields go to the selected unit's columns (m³/hr: 1, 3, 4, 5; l/s: 2, 3, 4, 5), then the
// derived inflow column is refreshed.
void ApplyHourlyImport(TMainForm& form, const THourlyImport& hours);

// The import after the open dialog. A file that cannot be read or is refused shows why and
// changes nothing; false in that case. The status line says how the file was read.
bool ImportHourlyFile(TMainForm& form, const std::string& fileName);

// The same for the bytes of a file already read; fileName is what the messages name.
bool ImportHourlyBytes(TMainForm& form, std::string_view bytes, const std::string& fileName);

} // namespace halvern
