// The labels beside a fixed-outlet or time-modulated result table: the day/night factor,
// the day's volumes (m³) and the low-pressure warning, filled from DoPRVCalcs' totals.
#pragma once
#include "forms/Controls.h"
#include "model/Numbers.h"
#include <string>

namespace halvern {

struct TScenarioLabels {
    TLabel& DayNight;
    TLabel& Dep;
    TLabel& Indep;
    TLabel& Tot;
    TLabel& Warn;
};

// `warningEnd` finishes "Pressure of <MinPressure>" in the page's own words.
inline void PublishScenario(const TScenarioLabels& labels, double dayNight, double dep, double indep, double tot,
                            bool lowWarning, double minPressure, const char* warningEnd) {
    labels.DayNight.Caption = FormatFixed(dayNight, 5, 2);
    labels.Dep.Caption = FormatFixed(dep, 11, 2);
    labels.Indep.Caption = FormatFixed(indep, 11, 2);
    labels.Tot.Caption = FormatFixed(tot, 11, 2);
    labels.Warn.Caption = lowWarning ? "Pressure of " + FormatFixed(minPressure, 5, 2) + warningEnd : std::string();
}

} // namespace halvern
