// In progress: bodies are filled in by the work that owns this file.
#include "forms/MainForm.h"

namespace halvern {

TImportHelp::TImportHelp() : TAuxForm("Import Example") {}

} // namespace halvern
