// CalcFixedPRV: the zone behind a PRV that holds one outlet pressure (m) all day. Copies
// each hour's inlet, AZP and critical pressures from FlowGrid and the outlet edit's text
// into FixedPRVGrid, lets DoPRVCalcs work out the hours, and shows the daily volumes (m³),
// the day/night factor and whether the minimum pressure is kept at the critical point.
#include "forms/MainForm.h"
#include "forms/ScenarioLabels.h"
#include "forms/TableLayouts.h"
#include "model/Messages.h"
#include "model/Numbers.h"

namespace halvern {

void TMainForm::CalcFixedPRV() {
    const std::string lowKey = TimeToStr(Project.LowFlowTime);
    const std::string highKey = TimeToStr(Project.HighFlowTime);
    using namespace PRVGridLayout;
    namespace In = FlowGridLayout;
    for (int h = 0; h < HoursPerDay; ++h) {
        const int r = HourRow(h);
        const int in = In::HourRow(h);
        CopyHourRow(FixedPRVGrid, h, lowKey, highKey);
        // The outlet is shown exactly as typed.
        FixedPRVGrid.SetCell(InletCol, r, FlowGrid.Cell(In::InletCol, in));
        FixedPRVGrid.SetCell(OutletCol, r, FixedPRVOutletEdit.Text());
        FixedPRVGrid.SetCell(AZPCol, r, FlowGrid.Cell(In::AZPCol, in));
        FixedPRVGrid.SetCell(CriticalCol, r, FlowGrid.Cell(In::CriticalCol, in));
    }

    RunPRVScenario(
        *this, FixedPRVGrid,
        {FixedDayNightLabel, FixedDepLabel, FixedIndepLabel, FixedTotLabel, FixedWarnLabel, FixedOpenLabel},
        Msg::NotAchievedAtAllCriticalPoints);
}

} // namespace halvern
