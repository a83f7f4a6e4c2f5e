// In progress: bodies are filled in by the work that owns this file.
#include "forms/MainForm.h"

namespace halvern {

TfrmSplash::TfrmSplash(uint32_t nowTicks) : FStartTicks(nowTicks) { (void)nowTicks;}
bool TfrmSplash::Timer1Timer(uint32_t nowTicks) const { (void)nowTicks; return false; }

} // namespace halvern
