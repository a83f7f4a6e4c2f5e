// TfrmSplash: what the start-up window shows and when it may go away.
#include "forms/AuxForms.h"
#include "model/Version.h"

namespace halvern {

TfrmSplash::TfrmSplash(uint32_t nowTicks)
    : labAppName(ApplicationTitle), labAppVersion(std::string("v") + VersionNumber),
      Disclaimer("Whilst every effort has been made by the developers to ensure that Halvern "
                 "is free from error, those using the model do so at their own risk. The developers "
                 "of Halvern accept no liability of any nature for losses (direct or indirect) incurred "
                 "through the use of this model."),
      FStartTicks(nowTicks) {}

bool TfrmSplash::Timer1Timer(uint32_t nowTicks) const {
    if (FForceClose) return true;
    // The millisecond counter wraps after about 49.7 days; the unsigned difference of two
    // readings is still the time that passed.
    const uint32_t elapsed = nowTicks - FStartTicks;
    return elapsed > 5000 && FOKToClose;
}

} // namespace halvern
