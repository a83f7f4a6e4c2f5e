// Whether the project in the main window differs from what was last read, saved or
// created, and the question that guards it before New data, Read data and closing.
#pragma once
#include <string>

namespace halvern {

class TMainForm;

// Everything the project file keeps, as the window holds it now: the typed texts, the
// choices, the hourly, N1 and outlet tables and the implementation costs.
std::string ProjectFingerprint(TMainForm& form);

// The project as it stands is the one last read, saved or created.
void MarkProjectUnchanged(TMainForm& form);

// True when something the project file stores has changed since then.
bool ProjectChanged(TMainForm& form);

// Before a command that would drop the project: when it has changed, asks whether to save
// it. Save runs Save data (a cancelled or failed save stops the command); Discard goes on;
// Cancel stops. True when the command may go on.
bool AskToKeepChanges(TMainForm& form);

} // namespace halvern
