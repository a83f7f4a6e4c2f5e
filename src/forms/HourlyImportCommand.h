// The hourly import applied to the window: the "Import" button of the "Flow and Pressure"
// page once its open dialog has given a file.
#pragma once
#include "io/HourlyImport.h"
#include <string>

namespace halvern {

class TMainForm;

// Puts parsed hours into FlowGrid: columns 1 to 5 of every hour row become "0", then each
// hour's fields go to the selected unit's columns (m³/hr: 1, 3, 4, 5; l/s: 2, 3, 4, 5), and
// the derived inflow column is refreshed.
void ApplyHourlyImport(TMainForm& form, const THourlyImport& hours);

// The import after the open dialog. A file that cannot be read shows the system's message
// and changes nothing. False in that case.
bool ImportHourlyFile(TMainForm& form, const std::string& fileName);

} // namespace halvern
