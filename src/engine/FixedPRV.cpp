// CalcFixedPRV: the zone behind a PRV that holds one outlet pressure (m) all day. Copies
// each hour's inlet, AZP and critical pressures from FlowGrid and the outlet edit's text
// into FixedPRVGrid, lets DoPRVCalcs work out the hours, and shows the daily volumes (m³),
// the day/night factor and whether the minimum pressure is kept at the critical point.
#include "engine/ScenarioLabels.h"
#include "forms/MainForm.h"
#include "model/Numbers.h"

namespace halvern {

void TMainForm::CalcFixedPRV() {
    const std::string lowKey = TimeToStr(Project.LowFlowTime);
    const std::string highKey = TimeToStr(Project.HighFlowTime);
    for (int r = 2; r <= 25; ++r) {
        const std::string& label = FlowGrid.Cell(0, r - 1);
        FixedPRVGrid.SetCell(0, r, label);
        const std::string key = HourKey(label);
        if (key == lowKey) FixedPRVGrid.SetRowColours(r, clAqua, clNone);
        if (key == highKey) FixedPRVGrid.SetRowColours(r, clYellow, clNone);

        // The outlet is shown exactly as typed.
        FixedPRVGrid.SetCell(1, r, FlowGrid.Cell(3, r - 1));
        FixedPRVGrid.SetCell(2, r, FixedPRVOutletEdit.Text());
        FixedPRVGrid.SetCell(3, r, FlowGrid.Cell(4, r - 1));
        FixedPRVGrid.SetCell(4, r, FlowGrid.Cell(5, r - 1));
    }

    // Without a low-flow AZP pressure from the current situation there is no leakage
    // reference; the results keep what they showed.
    if (Project.NightAZPPressure == 0) return;

    double dayNight = 0, dep = 0, indep = 0, tot = 0;
    bool lowWarning = false;
    DoPRVCalcs(FixedPRVGrid, dayNight, dep, indep, tot, lowWarning);

    PublishScenario({FixedDayNightLabel, FixedDepLabel, FixedIndepLabel, FixedTotLabel, FixedWarnLabel}, dayNight,
                    dep, indep, tot, lowWarning, Project.MinPressure,
                    " could not be achieved for all critical points.");
}

} // namespace halvern
