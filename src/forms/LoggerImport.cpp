// The logger import dialog's model and its application to the hourly table.
#include "forms/LoggerImport.h"

#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include "io/TimeStamp.h"
#include "model/Numbers.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace halvern {
namespace {

constexpr std::size_t kCautionsShown = 6;
constexpr int64_t kSecondsPerDay = 86400;
// Loggers keep weeks or months; a record longer than a year and a bit holds a stamp that is
// most likely wrong (a clock that was never set, a year typed wrong).
constexpr int64_t kLongRecordDays = 400;
// A day is fully recorded when its samples cover it to within rounding of the seconds added.
constexpr double kWholeDay = 1.0 - 1e-9;

const char* const kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

std::string Percent(double fraction) {
    return std::to_string(static_cast<int>(std::floor(fraction * 100 + 0.5))) + " %";
}

std::string TwoDigits(int64_t value) {
    return std::string{static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

// "07:30", "07:30:15", "24:00" (the end of a day): seconds since the day's midnight.
std::string ClockText(int64_t seconds) {
    std::string text = TwoDigits(seconds / 3600) + ":" + TwoDigits(seconds / 60 % 60);
    if (seconds % 60 != 0) text += ":" + TwoDigits(seconds % 60);
    return text;
}

// "02:00–07:30 on 2024-03-11 Mon", or across midnight "23:10 on 2024-03-10 Sun to 01:00 on
// 2024-03-11 Mon".
std::string StretchText(int64_t from, int64_t to) {
    const int64_t fromDay = DayOfSeconds(from), toDay = DayOfSeconds(to);
    if (toDay == fromDay || to == (fromDay + 1) * kSecondsPerDay)
        return ClockText(from - fromDay * kSecondsPerDay) + "–" + ClockText(to - fromDay * kSecondsPerDay) +
               " on " + DayCaption(fromDay);
    return ClockText(from - fromDay * kSecondsPerDay) + " on " + DayCaption(fromDay) + " to " +
           ClockText(to - toDay * kSecondsPerDay) + " on " + DayCaption(toDay);
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

// The cautions about hours below the least coverage, gathered over the quantities: the
// stretches without samples that make an hour low are named (the channels of one file mostly
// share them: said once, with all of them); hours none explains (the record starts or ends in
// them) are said by the hour, those of a day in a row together. Each goes in at the time it
// begins, so that the list reads in the order of the record.
class TLowHours {
public:
    explicit TLowHours(double minCoverage) : minimum_(Percent(minCoverage)) {}

    void Add(int file, const TChannelBins& bins, std::vector<TLowCoverage> low, const std::string& measured,
             const std::string& channel) {
        std::sort(low.begin(), low.end(), [](const auto& a, const auto& b) {
            return std::pair{a.Day, a.Hour} < std::pair{b.Day, b.Hour};
        });
        const std::string who = measured + ", " + channel;
        std::vector<const TLowCoverage*> unexplained;
        for (const TLowCoverage& hour : low) {
            const int64_t start = HourStart(hour), end = start + 3600;
            auto gap = std::partition_point(bins.Gaps.begin(), bins.Gaps.end(),
                                            [start](const TGap& g) { return g.To <= start; });
            if (gap == bins.Gaps.end() || gap->From >= end) unexplained.push_back(&hour);
            for (; gap != bins.Gaps.end() && gap->From < end; ++gap) {
                std::string& channels = gaps_[{gap->From, gap->To, file}];
                if (channels.find(who) == std::string::npos) channels += (channels.empty() ? "" : "; ") + who;
            }
        }
        for (std::size_t i = 0; i < unexplained.size();) {
            std::size_t j = i + 1;
            double least = unexplained[i]->Coverage, most = least;
            while (j < unexplained.size() && unexplained[j]->Day == unexplained[i]->Day &&
                   unexplained[j]->Hour == unexplained[j - 1]->Hour + 1) {
                least = std::min(least, unexplained[j]->Coverage);
                most = std::max(most, unexplained[j]->Coverage);
                ++j;
            }
            const TLowCoverage& first = *unexplained[i];
            std::string hours = HourText(first.Hour);
            if (j - i > 1) hours += "–" + HourText(unexplained[j - 1]->Hour + 1);
            const std::string coverage = CoverageText(least) == CoverageText(most)
                                             ? CoverageText(least)
                                             : CoverageText(least) + " to " + CoverageText(most);
            byHour_.emplace_back(HourStart(first),
                                 Msg::LoggerLowCoverage(DayCaption(first.Day) + " " + hours, measured,
                                                        channel, coverage, minimum_));
            i = j;
        }
    }

    // The first few, and how many more.
    std::vector<std::string> Cautions() {
        std::vector<std::pair<int64_t, std::string>> all = std::move(byHour_);
        for (const auto& [gap, channels] : gaps_)
            all.emplace_back(std::get<0>(gap),
                             Msg::LoggerNoSamples(StretchText(std::get<0>(gap), std::get<1>(gap)), channels));
        std::stable_sort(all.begin(), all.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<std::string> cautions;
        for (std::size_t i = 0; i < all.size() && i < kCautionsShown; ++i)
            cautions.push_back(std::move(all[i].second));
        if (all.size() > kCautionsShown)
            cautions.push_back(Msg::LoggerMoreLowHours(all.size() - kCautionsShown, minimum_));
        return cautions;
    }

private:
    static int64_t HourStart(const TLowCoverage& hour) {
        return hour.Day * kSecondsPerDay + hour.Hour * int64_t{3600};
    }

    std::string minimum_;
    std::vector<std::pair<int64_t, std::string>> byHour_;
    std::map<std::tuple<int64_t, int64_t, int>, std::string> gaps_; // from, to, file: their channels
};

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
    return TwoDigits(hour) + ":00";
}

std::string DayCaption(int64_t day) {
    return DayText(day) + " " + kWeekdays[WeekdayOfDays(day)];
}

std::string CoverageText(double fraction) {
    // Down, never up: an hour short of a few seconds is not "100 %", nor 74.6 % "75 %".
    return std::to_string(static_cast<int>(std::floor(fraction * 100 + 1e-9))) + " %";
}

TLoggerImportForm::TLoggerImportForm(TMainForm& main) : TAuxForm("Import logger data"), MainForm(main) {}

bool TLoggerImportForm::AddFile(TLoggerFile file, TFileAdded how) {
    // Files read again come one by one: the days chosen are weighed against the record once
    // the last is back, not against a part of it.
    const bool readAgain = how == TFileAdded::ReadAgain;
    const auto kept = std::find(readAgain_.begin(), readAgain_.end(), file.FileName);
    const bool wasKept = readAgain && kept != readAgain_.end();
    if (wasKept) readAgain_.erase(kept);
    const bool lastBack = readAgain && readAgain_.empty();
    if (!file.Ok()) {
        // The user stopped the read: nothing to say, nothing added.
        if (!file.Cancelled) {
            if (std::find(RefusedFiles.begin(), RefusedFiles.end(), file.FileName) == RefusedFiles.end())
                RefusedFiles.push_back(file.FileName);
            MainForm.Dialogs.Error(file.Error);
        }
        if (lastBack) KeepChoicesOffered(false);
        return false;
    }
    const bool wasDefault = ChosenDays.empty() || ChosenIsDefault();
    // Hours accepted were those of the files before; a new import starts from stamps that
    // mark the start of their interval, whatever the one before (or another project) used.
    AcceptCautions = false;
    if (!readAgain && (Files.empty() || imported_)) {
        StampAtEnd = false;
        imported_ = false;
    }
    RefusedFiles.erase(std::remove(RefusedFiles.begin(), RefusedFiles.end(), file.FileName),
                       RefusedFiles.end());
    Files.push_back(std::move(file));
    const int index = static_cast<int>(Files.size()) - 1;
    const TLoggerFile& added = Files.back();
    if (wasKept) {
        // A file kept before gets back its channels; one refused before is as good as new.
        for (std::size_t q = 0; q < MeasuredCount; ++q) {
            if (!pending_[q] || pending_[q]->FileName != added.FileName) continue;
            for (std::size_t c = 0; c < added.Channels.size(); ++c)
                if (added.Channels[c].Column == pending_[q]->Column)
                    Assign(static_cast<TMeasured>(q), index, static_cast<int>(c), pending_[q]->Unit);
            pending_[q].reset();
        }
    } else {
        // A heading that names the quantity assigns the channel, if still free.
        for (std::size_t c = 0; c < added.Channels.size(); ++c) {
            const auto what = MeasuredInHeading(added.Channels[c].Name);
            if (what && !Assigned[static_cast<std::size_t>(*what)].Assigned())
                Assign(*what, index, static_cast<int>(c));
        }
    }
    if (!readAgain)
        KeepChoicesOffered(wasDefault);
    else if (lastBack)
        KeepChoicesOffered(false);
    return true;
}

void TLoggerImportForm::RemoveFile(std::size_t index) {
    if (index >= Files.size()) return;
    const bool wasDefault = ChosenIsDefault();
    Files.erase(Files.begin() + static_cast<std::ptrdiff_t>(index));
    for (TChannelAssignment& slot : Assigned) {
        if (slot.File == static_cast<int>(index))
            slot.File = slot.Channel = -1;
        else if (slot.File > static_cast<int>(index))
            --slot.File;
    }
    KeepChoicesOffered(wasDefault);
}

std::vector<std::string> TLoggerImportForm::TakeFilesToReadAgain() {
    std::vector<std::string> names;
    for (const TLoggerFile& file : Files)
        names.push_back(file.FileName);
    readAgain_ = names;
    for (std::size_t q = 0; q < MeasuredCount; ++q) {
        pending_[q].reset();
        if (const TLoggerChannel* channel = ChannelOf(Assigned[q]))
            pending_[q] = TPendingAssignment{Files[static_cast<std::size_t>(Assigned[q].File)].FileName,
                                             channel->Column, Assigned[q].Unit};
        Assigned[q].File = Assigned[q].Channel = -1;
    }
    for (const std::string& name : RefusedFiles)
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    RefusedFiles.clear();
    Files.clear();
    return names;
}

void TLoggerImportForm::Assign(TMeasured what, int file, int channel, std::optional<TLoggerUnit> unit) {
    TChannelAssignment& slot = Assigned[static_cast<std::size_t>(what)];
    slot.File = file;
    slot.Channel = channel;
    const TLoggerChannel* assigned = ChannelOf(slot);
    if (!assigned) {
        slot.File = slot.Channel = -1;
        return;
    }
    const bool flow = what == TMeasured::Inflow;
    const auto fits = [flow](TLoggerUnit u) { return IsFlowUnit(u) == flow; };
    if (unit) {
        // As given; one of the other quantity is refused by the preview, with its words.
        slot.Unit = *unit;
    } else if (const auto named = UnitInHeading(assigned->Name); named && fits(*named)) {
        slot.Unit = *named;
    } else if (!fits(slot.Unit)) {
        slot.Unit = flow ? TLoggerUnit::M3PerHour : TLoggerUnit::Metres;
    }
}

void TLoggerImportForm::SetStampAtEnd(bool atEnd) {
    if (atEnd == StampAtEnd) return;
    const bool wasDefault = ChosenIsDefault();
    StampAtEnd = atEnd;
    KeepChoicesOffered(wasDefault);
}

std::vector<int64_t> TLoggerImportForm::RecordDays() const {
    std::vector<int64_t> days;
    for (const TLoggerFile& file : Files) {
        const auto own = file.Days(StampAtEnd);
        days.insert(days.end(), own.begin(), own.end());
    }
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    return days;
}

std::optional<TDefaultDay> TLoggerImportForm::DefaultDay() const {
    // The channels assigned count; before any is, every channel of every file.
    std::vector<const TChannelBins*> counted;
    for (const TChannelAssignment& slot : Assigned)
        if (const TLoggerChannel* channel = ChannelOf(slot)) counted.push_back(&channel->Bins(StampAtEnd));
    if (counted.empty())
        for (const TLoggerFile& file : Files)
            for (const TLoggerChannel& channel : file.Channels)
                counted.push_back(&channel.Bins(StampAtEnd));
    const std::vector<int64_t> days = RecordDays();
    if (days.empty() || counted.empty()) return std::nullopt;
    std::optional<TDefaultDay> best;
    for (const int64_t day : days) {
        double least = 1;
        for (const TChannelBins* bins : counted)
            least = std::min(least, bins->DayCoverage(day));
        if (least >= kWholeDay) return TDefaultDay{day, true, 1.0};
        if (!best || least > best->Coverage) best = TDefaultDay{day, false, least};
    }
    return best;
}

bool TLoggerImportForm::ChosenIsDefault() const {
    if (ChosenDays.size() != 1) return false;
    const auto day = DefaultDay();
    return day && day->Day == ChosenDays.front();
}

void TLoggerImportForm::KeepChoicesOffered(bool wasDefault) {
    const std::vector<int64_t> days = RecordDays();
    const auto offered = [&days](int64_t day) { return std::binary_search(days.begin(), days.end(), day); };
    ChosenDays.erase(
        std::remove_if(ChosenDays.begin(), ChosenDays.end(), [&](int64_t d) { return !offered(d); }),
        ChosenDays.end());
    if (wasDefault || ChosenDays.empty()) {
        ChosenDays.clear();
        if (const auto day = DefaultDay()) ChosenDays = {day->Day};
    }
    if (!offered(FromDay)) FromDay = days.empty() ? 0 : days.front();
    if (!offered(ToDay)) ToDay = days.empty() ? 0 : days.back();
}

const TLoggerChannel* TLoggerImportForm::ChannelOf(const TChannelAssignment& slot) const {
    if (slot.File < 0 || slot.Channel < 0 || static_cast<std::size_t>(slot.File) >= Files.size())
        return nullptr;
    const TLoggerFile& file = Files[static_cast<std::size_t>(slot.File)];
    if (static_cast<std::size_t>(slot.Channel) >= file.Channels.size()) return nullptr;
    return &file.Channels[static_cast<std::size_t>(slot.Channel)];
}

std::vector<int64_t> TLoggerImportForm::Days() const {
    if (DayMode == TDayMode::Range)
        return FromDay <= ToDay ? DaysBetween(FromDay, ToDay, RangeFilter) : std::vector<int64_t>{};
    std::vector<int64_t> days = ChosenDays;
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    return days;
}

TLoggerPreview TLoggerImportForm::Preview() const {
    TLoggerPreview preview;
    preview.Days = Days();
    for (const TLoggerFile& file : Files)
        if (file.SpanDays() > kLongRecordDays)
            preview.RecordNotes.push_back(Msg::LoggerLongRecord(
                file.FileName, static_cast<long long>(file.SpanDays()), RecordRangeText(file)));
    if (DayMode == TDayMode::Days && ChosenDays.size() == 1)
        if (const auto day = DefaultDay(); day && day->Day == ChosenDays.front())
            preview.DayNote =
                day->Complete ? Msg::LoggerFirstFullDay(DayCaption(day->Day))
                              : Msg::LoggerBestCoveredDay(DayCaption(day->Day), CoverageText(day->Coverage));

    if (std::none_of(Assigned.begin(), Assigned.end(),
                     [this](const auto& a) { return ChannelOf(a) != nullptr; })) {
        preview.Refusal = Msg::LoggerNothingAssigned;
        return preview;
    }
    if (preview.Days.empty()) {
        preview.Refusal = Msg::LoggerNoDayChosen;
        return preview;
    }
    TLowHours lowHours(MinCoverage);
    for (std::size_t q = 0; q < MeasuredCount; ++q) {
        const TChannelAssignment& slot = Assigned[q];
        const TLoggerChannel* channel = ChannelOf(slot);
        if (!channel) continue;
        const TLoggerFile& file = Files[static_cast<std::size_t>(slot.File)];
        const std::string measured = MeasuredName(static_cast<TMeasured>(q));
        if (IsFlowUnit(slot.Unit) != (q == 0)) {
            preview.Refusal = Msg::LoggerWrongUnit(LoggerUnitText(slot.Unit), measured);
            return preview;
        }
        const std::vector<int64_t> recorded = file.Days(StampAtEnd);
        for (const int64_t day : preview.Days)
            if (!std::binary_search(recorded.begin(), recorded.end(), day)) {
                preview.Refusal =
                    Msg::LoggerDayNotRecorded(DayText(day), file.FileName, RecordRangeText(file));
                return preview;
            }
        const TChannelBins& bins = channel->Bins(StampAtEnd);
        THourlyMeans means = HourlyMeans(bins, preview.Days, MinCoverage);
        if (means.NotFinite) {
            preview.Refusal = Msg::LoggerNotFinite(file.FileName, channel->Name, channel->Column,
                                                   HourText(*means.NotFinite));
            return preview;
        }
        for (int h = 0; h < 24; ++h) {
            double& value = means.Mean[static_cast<std::size_t>(h)];
            if (std::isnan(value)) continue;
            // The reader leaves no mean past a number; nor may the unit's factor make one.
            value = ToTableUnit(value, slot.Unit);
            if (!std::isfinite(value)) {
                preview.Refusal =
                    Msg::LoggerNotFinite(file.FileName, channel->Name, channel->Column, HourText(h));
                return preview;
            }
        }

        for (const TLowCoverage& low : means.Low) {
            preview.Flagged[static_cast<std::size_t>(low.Hour)] = true;
            preview.Low[q][static_cast<std::size_t>(low.Hour)] = true;
            preview.LowCoverage = true;
        }
        lowHours.Add(slot.File, bins, means.Low, measured, channel->Name);

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

    std::vector<std::string> cautions = lowHours.Cautions();
    // The clock changes after the hours.
    cautions.insert(cautions.end(), preview.Cautions.begin(), preview.Cautions.end());
    preview.Cautions = std::move(cautions);
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
    // What was accepted was for this import; the next one is accepted afresh.
    AcceptCautions = false;
    imported_ = true;
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

void TLoggerImportForm::NewProject() {
    Files.clear();
    RefusedFiles.clear();
    ReadOptions = {};
    StampAtEnd = false;
    MinCoverage = 0.75;
    Assigned = {};
    DayMode = TDayMode::Days;
    ChosenDays.clear();
    FromDay = ToDay = 0;
    RangeFilter = TDayFilter::All;
    AcceptCautions = false;
    SetFlowHours = false;
    pending_ = {};
    readAgain_.clear();
    imported_ = false;
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
