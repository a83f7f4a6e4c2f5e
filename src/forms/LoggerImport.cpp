// The logger import dialog's model and its application to the hourly table.
#include "forms/LoggerImport.h"

#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include "io/TimeStamp.h"
#include "model/Numbers.h"

#include <algorithm>
#include <cmath>

namespace halvern {
namespace {

constexpr std::size_t kCautionsShown = 6;

std::string Percent(double fraction) {
    return std::to_string(static_cast<int>(std::floor(fraction * 100 + 0.5))) + " %";
}

// A heading's words that say what a channel measures.
std::optional<TMeasured> MeasuredInHeading(const std::string& heading) {
    std::string text;
    for (char c : heading)
        text += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (text.find("crit") != std::string::npos) return TMeasured::Critical;
    if (text.find("azp") != std::string::npos) return TMeasured::AZP;
    if (text.find("inlet") != std::string::npos) return TMeasured::Inlet;
    if (text.find("flow") != std::string::npos) return TMeasured::Inflow;
    return std::nullopt;
}

} // namespace

const char* MeasuredName(TMeasured what) {
    switch (what) {
    case TMeasured::Inflow:
        return "inflow";
    case TMeasured::Inlet:
        return "inlet pressure";
    case TMeasured::AZP:
        return "AZP pressure";
    case TMeasured::Critical:
        return "critical point pressure";
    }
    return "";
}

std::string HourText(int hour) {
    return std::string{static_cast<char>('0' + hour / 10), static_cast<char>('0' + hour % 10)} + ":00";
}

TLoggerImportForm::TLoggerImportForm(TMainForm& main) : TAuxForm("Import logger data"), MainForm(main) {}

bool TLoggerImportForm::AddFile(TLoggerFile file) {
    if (!file.Ok()) {
        MainForm.Dialogs.Error(file.Error);
        return false;
    }
    Files.push_back(std::move(file));
    const int index = static_cast<int>(Files.size()) - 1;
    const TLoggerFile& added = Files.back();
    // A heading that names the quantity (and its unit) assigns the channel, if still free.
    for (std::size_t c = 0; c < added.Channels.size(); ++c) {
        const auto what = MeasuredInHeading(added.Channels[c].Name);
        if (!what) continue;
        TChannelAssignment& slot = Assigned[static_cast<std::size_t>(*what)];
        if (slot.Assigned()) continue;
        slot.File = index;
        slot.Channel = static_cast<int>(c);
        const auto unit = UnitInHeading(added.Channels[c].Name);
        const bool flow = *what == TMeasured::Inflow;
        slot.Unit =
            unit && IsFlowUnit(*unit) == flow ? *unit : (flow ? TLoggerUnit::M3PerHour : TLoggerUnit::Metres);
    }
    const std::vector<int64_t> days = RecordDays();
    if (ChosenDays.empty() && !days.empty()) {
        // The first whole day of the record is a fair start.
        ChosenDays = {days.size() > 1 ? days[1] : days[0]};
        FromDay = days.front();
        ToDay = days.back();
    }
    return true;
}

void TLoggerImportForm::RemoveFile(std::size_t index) {
    if (index >= Files.size()) return;
    Files.erase(Files.begin() + static_cast<std::ptrdiff_t>(index));
    for (TChannelAssignment& slot : Assigned) {
        if (slot.File == static_cast<int>(index))
            slot = {};
        else if (slot.File > static_cast<int>(index))
            --slot.File;
    }
    bins_.clear();
}

std::vector<int64_t> TLoggerImportForm::RecordDays() const {
    std::vector<int64_t> days;
    for (const TLoggerFile& file : Files) {
        const auto own = file.Days();
        days.insert(days.end(), own.begin(), own.end());
    }
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    return days;
}

std::vector<int64_t> TLoggerImportForm::Days() const {
    if (DayMode == TDayMode::Range)
        return FromDay <= ToDay ? DaysBetween(FromDay, ToDay, RangeFilter) : std::vector<int64_t>{};
    std::vector<int64_t> days = ChosenDays;
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    return days;
}

const TChannelBins& TLoggerImportForm::Bins(int file, int channel) const {
    if (binsAtEnd_ != StampAtEnd) {
        bins_.clear();
        binsAtEnd_ = StampAtEnd;
    }
    auto found = bins_.find({file, channel});
    if (found == bins_.end()) {
        const TLoggerFile& f = Files[static_cast<std::size_t>(file)];
        found = bins_
                    .emplace(std::pair{file, channel},
                             BinChannel(f, f.Channels[static_cast<std::size_t>(channel)], StampAtEnd))
                    .first;
    }
    return found->second;
}

TLoggerPreview TLoggerImportForm::Preview() const {
    TLoggerPreview preview;
    preview.Days = Days();
    if (std::none_of(Assigned.begin(), Assigned.end(), [](const auto& a) { return a.Assigned(); })) {
        preview.Refusal = Msg::LoggerNothingAssigned;
        return preview;
    }
    if (preview.Days.empty()) {
        preview.Refusal = Msg::LoggerNoDayChosen;
        return preview;
    }
    std::size_t lowCount = 0;
    for (std::size_t q = 0; q < MeasuredCount; ++q) {
        const TChannelAssignment& slot = Assigned[q];
        if (!slot.Assigned()) continue;
        const TLoggerFile& file = Files[static_cast<std::size_t>(slot.File)];
        const TLoggerChannel& channel = file.Channels[static_cast<std::size_t>(slot.Channel)];
        if (IsFlowUnit(slot.Unit) != (q == 0)) {
            preview.Refusal =
                Msg::LoggerWrongUnit(LoggerUnitText(slot.Unit), MeasuredName(static_cast<TMeasured>(q)));
            return preview;
        }
        const std::vector<int64_t> recorded = file.Days();
        for (const int64_t day : preview.Days)
            if (!std::binary_search(recorded.begin(), recorded.end(), day)) {
                preview.Refusal =
                    Msg::LoggerDayNotRecorded(DayText(day), file.FileName, RecordRangeText(file));
                return preview;
            }
        THourlyMeans means = HourlyMeans(Bins(slot.File, slot.Channel), preview.Days, MinCoverage);
        for (double& value : means.Mean)
            if (!std::isnan(value)) value = ToTableUnit(value, slot.Unit);
        for (const TLowCoverage& low : means.Low) {
            preview.Flagged[static_cast<std::size_t>(low.Hour)] = true;
            preview.LowCoverage = true;
            if (lowCount++ < kCautionsShown)
                preview.Cautions.push_back(Msg::LoggerLowCoverage(
                    DayText(low.Day) + " " + HourText(low.Hour), MeasuredName(static_cast<TMeasured>(q)),
                    channel.Name, Percent(low.Coverage), Percent(MinCoverage)));
        }
        for (const TClockChange& change : file.ClockChanges) {
            if (!std::binary_search(preview.Days.begin(), preview.Days.end(), change.Day)) continue;
            preview.ClockChange = true;
            std::string text =
                Msg::LoggerClockChange(DayText(change.Day), change.Hours, file.FileName, change.Line);
            // Several channels of one file share its clock: said once.
            if (std::find(preview.Cautions.begin(), preview.Cautions.end(), text) == preview.Cautions.end())
                preview.Cautions.push_back(std::move(text));
        }
        preview.Means[q] = std::move(means);
    }
    if (lowCount > kCautionsShown)
        preview.Cautions.push_back(Msg::LoggerMoreLowHours(lowCount - kCautionsShown, Percent(MinCoverage)));
    return preview;
}

bool TLoggerImportForm::OkClick() {
    const TLoggerPreview preview = Preview();
    if (!preview.Ok()) {
        MainForm.Dialogs.Error(preview.Refusal);
        return false;
    }
    if (!preview.Cautions.empty() && !AcceptCautions) {
        std::string text = Msg::LoggerNotFullyRecorded;
        for (const std::string& caution : preview.Cautions)
            text += "\n" + caution;
        text += Msg::LoggerAcceptCautions;
        MainForm.Dialogs.Error(text);
        return false;
    }
    std::array<std::optional<std::array<double, 24>>, MeasuredCount> values;
    for (std::size_t q = 0; q < MeasuredCount; ++q)
        if (preview.Means[q]) values[q] = preview.Means[q]->Mean;
    ApplyLoggerHours(MainForm, values, SetFlowHours);
    Visible = false;
    if (OnCloseRequest) OnCloseRequest();
    return true;
}

void TLoggerImportForm::Cancel() {
    Visible = false;
    if (OnCloseRequest) OnCloseRequest();
}

void TLoggerImportForm::Show() {
    Visible = true;
    if (OnShowRequest) OnShowRequest();
}

void ApplyLoggerHours(TMainForm& form,
                      const std::array<std::optional<std::array<double, 24>>, MeasuredCount>& values,
                      bool setFlowHours) {
    using namespace FlowGridLayout;
    TMarkStringGrid& grid = form.FlowGrid;
    std::vector<std::pair<int, int>> cells;
    for (int row = FirstHourRow; row <= LastHourRow; ++row)
        for (int col = InflowM3hCol; col <= CriticalCol; ++col)
            cells.emplace_back(col, row);
    TTableStep step = TTableUndo::Before("logger data", grid, cells);
    step.Refresh = [&form] { form.UpdateFlowGrid(); };

    const bool m3h = form.m3hrRadio.Checked();
    const int columns[MeasuredCount] = {m3h ? InflowM3hCol : InflowLsCol, InletCol, AZPCol, CriticalCol};
    for (std::size_t q = 0; q < MeasuredCount; ++q) {
        if (!values[q]) continue;
        for (int h = 0; h < HoursPerDay; ++h) {
            double value = (*values[q])[static_cast<std::size_t>(h)];
            // An hour without a sample is left for the user to type, never made up.
            if (std::isnan(value)) {
                grid.SetEditText(columns[q], HourRow(h), "");
                continue;
            }
            if (q == 0 && !m3h) value = value * 1000.0 / 3600.0;
            grid.SetEditText(columns[q], HourRow(h), FormatFixed(value, 15, q == 0 ? 3 : 2));
        }
    }

    if (setFlowHours && values[0]) {
        const auto& inflow = *values[0];
        int low = -1, high = -1;
        for (int h = 0; h < HoursPerDay; ++h) {
            const double v = inflow[static_cast<std::size_t>(h)];
            if (std::isnan(v)) continue;
            if (low < 0 || v < inflow[static_cast<std::size_t>(low)]) low = h;
            if (high < 0 || v > inflow[static_cast<std::size_t>(high)]) high = h;
        }
        if (low >= 0 && high >= 0 && low != high) {
            const double lowBefore = form.LowTimePicker.Time, highBefore = form.HighTimePicker.Time;
            step.RestoreOther = [&form, lowBefore, highBefore] {
                form.LowTimePicker.UserChange(lowBefore);
                form.HighTimePicker.UserChange(highBefore);
            };
            form.LowTimePicker.UserChange(EncodeTime(low, 0));
            form.HighTimePicker.UserChange(EncodeTime(high, 0));
        }
    }
    form.TableSteps.Push(std::move(step));
    if (grid.OnRepaint) grid.OnRepaint();
}

} // namespace halvern
