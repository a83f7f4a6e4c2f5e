// CalcTimePRV: the zone behind a PRV that switches between a high and a low outlet
// pressure (m) by time of day: one high-pressure window with 2 intervals, two with 4.
// In hourly mode (0 intervals) each hour's outlet is the one typed into the outlet column of
// TimePRVGrid. DoPRVCalcs works out the hours; the page shows the daily volumes (m³),
// the day/night factor and whether the minimum pressure is kept at the critical point.
#include "forms/MainForm.h"
#include "forms/ScenarioLabels.h"
#include "forms/TableLayouts.h"
#include "model/Messages.h"
#include "model/Numbers.h"

namespace halvern {

namespace {
// An hour is judged by its start: a window holds the hour starting at its start time and
// not the one starting at its stop time. The "hh:mm:ss" texts order as times of day, so a
// window whose stop is not after its start (one running past midnight) holds no hour.
bool InWindow(const std::string& hourKey, const TTimePicker& start, const TTimePicker& stop) {
    return hourKey >= TimeToStr(start.Time) && hourKey < TimeToStr(stop.Time);
}
} // namespace

void TMainForm::CalcTimePRV() {
    const auto high = ParseNumber(HighPressureEdit.Text());
    if (!high) {
        RecordCalculationError(Msg::HighPressureValueInvalid(HighPressureEdit.Text()));
        return;
    }
    const auto low = ParseNumber(LowPressureEdit.Text());
    if (!low) {
        RecordCalculationError(Msg::LowPressureValueInvalid(LowPressureEdit.Text()));
        return;
    }
    const std::string highText = FormatFixed(*high, 5, 2);
    const std::string lowText = FormatFixed(*low, 5, 2);

    const std::string lowKey = TimeToStr(Project.LowFlowTime);
    const std::string highKey = TimeToStr(Project.HighFlowTime);
    const int intervals = Project.Intervals;
    using namespace PRVGridLayout;
    namespace In = FlowGridLayout;
    for (int h = 0; h < HoursPerDay; ++h) {
        const int r = HourRow(h);
        const int in = In::HourRow(h);
        const std::string key = CopyHourRow(TimePRVGrid, h, lowKey, highKey);
        TimePRVGrid.SetCell(InletCol, r, FlowGrid.Cell(In::InletCol, in));
        // In hourly mode the outlet column is the engineer's own and stays as typed.
        if (intervals > 0) {
            bool highHour = InWindow(key, TimeStart1Picker, TimeStop1Picker);
            if (intervals == 4) highHour = highHour || InWindow(key, TimeStart2Picker, TimeStop2Picker);
            TimePRVGrid.SetCell(OutletCol, r, highHour ? highText : lowText);
        }
        TimePRVGrid.SetCell(AZPCol, r, FlowGrid.Cell(In::AZPCol, in));
        TimePRVGrid.SetCell(CriticalCol, r, FlowGrid.Cell(In::CriticalCol, in));
    }

    RunPRVScenario(
        *this, TimePRVGrid,
        {TimeDayNightLabel, TimeDepLabel, TimeIndepLabel, TimeTotLabel, TimeWarnLabel, TimeOpenLabel},
        Msg::NotAchievedAllDay);
}

} // namespace halvern
