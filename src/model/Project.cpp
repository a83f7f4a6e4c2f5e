#include "model/Project.h"

namespace halvern {

void TProject::ResetToDefaults() {
    TProject defaults;
    // The cost lists and the derived values survive a reset.
    defaults.FixedCostItem = FixedCostItem;
    defaults.FixedCostFixedPRV = FixedCostFixedPRV;
    defaults.FixedCostTimePRV = FixedCostTimePRV;
    defaults.FixedCostFlowPRV = FixedCostFlowPRV;
    defaults.AnnualCostItem = AnnualCostItem;
    defaults.AnnualCostFixedPRV = AnnualCostFixedPRV;
    defaults.AnnualCostTimePRV = AnnualCostTimePRV;
    defaults.AnnualCostFlowPRV = AnnualCostFlowPRV;
    defaults.TotalNonPressureFlow = TotalNonPressureFlow;
    defaults.AZPHeadlossCoef = AZPHeadlossCoef;
    defaults.CritHeadlossCoef = CritHeadlossCoef;
    defaults.NightLeakage = NightLeakage;
    defaults.NightAZPPressure = NightAZPPressure;
    *this = defaults;
}

} // namespace halvern
