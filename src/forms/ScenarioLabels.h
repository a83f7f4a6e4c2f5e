// The labels beside a fixed-outlet or time-modulated result table: the day/night factor,
// the day's volumes (m³) and the low-pressure warning, filled from DoPRVCalcs' totals.
#pragma once
#include "engine/ValveOpen.h"
#include "forms/MainForm.h"
#include "model/Messages.h"
#include "model/Numbers.h"
#include <string>
#include <vector>

namespace halvern {

struct TScenarioLabels {
    TLabel& DayNight;
    TLabel& Dep;
    TLabel& Indep;
    TLabel& Tot;
    TLabel& Warn;
    TLabel& Open; // the hours in which the valve stands fully open
};

// "Pressure of <minPressure> …" where a valve leaves some hour's critical point below the
// minimum acceptable pressure; `warningEnd` finishes it in the page's own words.
inline std::string LowPressureWarning(double minPressure, const char* warningEnd) {
    return Msg::PressureOf + FormatFixed(minPressure, 5, 2) + warningEnd;
}

inline void PublishScenario(const TScenarioLabels& labels, double dayNight, double dep, double indep,
                            double tot, bool lowWarning, double minPressure, const char* warningEnd) {
    labels.DayNight.Caption = FormatFixed(dayNight, 5, 2);
    labels.Dep.Caption = FormatFixed(dep, 11, 2);
    labels.Indep.Caption = FormatFixed(indep, 11, 2);
    labels.Tot.Caption = FormatFixed(tot, 11, 2);
    labels.Warn.Caption = lowWarning ? LowPressureWarning(minPressure, warningEnd) : std::string();
}

// The hours of a valve table whose inputs are in place, worked out by DoPRVCalcs and
// published. Without a low-flow AZP pressure from the current situation there is no
// leakage reference; the results then keep what they showed.
inline void RunPRVScenario(TMainForm& form, TMarkStringGrid& grid, const TScenarioLabels& labels,
                           const char* warningEnd) {
    if (form.Project.NightAZPPressure == 0) return;
    double dayNight = 0, dep = 0, indep = 0, tot = 0;
    bool lowWarning = false;
    std::vector<std::string> openHours;
    form.DoPRVCalcs(grid, dayNight, dep, indep, tot, lowWarning, openHours);
    PublishScenario(labels, dayNight, dep, indep, tot, lowWarning, form.Project.MinPressure, warningEnd);
    labels.Open.Caption = FullyOpenText(openHours, Msg::SetOutletAboveInlet);
}

} // namespace halvern
