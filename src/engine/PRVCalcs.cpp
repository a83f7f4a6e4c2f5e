// In progress: bodies are filled in by the work that owns this file.
#include "forms/MainForm.h"

namespace halvern {

void TMainForm::DoPRVCalcs(TMarkStringGrid& Sender, double& DayNight, double& Dep, double& Indep, double& Tot, bool& LowWarning) { (void)Sender; (void)DayNight; (void)Dep; (void)Indep; (void)Tot; (void)LowWarning;}

} // namespace halvern
