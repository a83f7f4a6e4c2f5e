// The lowest valve settings that keep MinPressure at the critical point in every hour.
//
// How they are found: every candidate setting is run through the scenario of its page on a
// copy of the window, and the page's own rule judges it (no hour's critical pressure below
// MinPressure). The critical pressure of an hour usually rises with the outlet, but where
// the extra leakage through the mains outweighs the extra pressure it can fall again at
// high outlets; so the search first scans the whole range, from no pressure to the open
// valve, and only then bisects between the last setting that fails and the first that
// holds, to the centimetre.
//
// The hours behind the fixed and time-modulated valves do not depend on each other: each
// hour's pressures follow from its own outlet alone. One run with the same outlet in every
// hour therefore tells, hour by hour, which hours that outlet keeps; these runs are kept
// and shared by the fixed outlet, both time-modulated pressures and the window search.
#include "forms/ValveSuggestion.h"

#include "forms/N1Sweep.h"
#include "forms/ProjectDocument.h"
#include "forms/RefreshGuard.h"
#include "forms/TableLayouts.h"
#include "model/Numbers.h"
#include "model/TextNumbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <exception>

namespace halvern {

namespace {

using namespace PRVGridLayout;
namespace Costs = CostSummaryLayout;

// Scan points before the bisection: about 3 m apart over a usual 100 m range, closer than
// the outlets at which a critical pressure turns over.
constexpr int ScanSteps = 32;
// The window search checks this many of its best-ranked windows on the page itself.
constexpr int CheckedWindows = 24;
constexpr double DaysPerYear = 365.25;

int CostRow(TValve valve) {
    return Costs::FirstScenarioRow + static_cast<int>(valve);
}

// A whole-number text of the Summary ("12,345", "-1 234") as a number.
double SummaryNumber(const std::string& text) {
    double value = 0;
    bool negative = false;
    for (char c : text) {
        if (c == '-') negative = true;
        if (c >= '0' && c <= '9') value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

int CeilCm(double metres) {
    return static_cast<int>(std::ceil(metres * 100 - 1e-7));
}

} // namespace

const char* ValveName(TValve valve) {
    switch (valve) {
    case TValve::Fixed:
        return "Fixed Outlet";
    case TValve::Time:
        return "Time Modulated";
    case TValve::Flow:
        return "Flow Modulated";
    }
    return "";
}

std::string CentimetreText(int cm) {
    char buffer[24];
    const int whole = cm / 100;
    const int part = cm % 100;
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, whole);
    std::string text(buffer, end);
    text += '.';
    text += static_cast<char>('0' + part / 10);
    text += static_cast<char>('0' + part % 10);
    return text;
}

std::string WindowsText(const TValveSetting& setting) {
    const auto window = [&](int i) {
        return TimeToShortStr(setting.Windows[static_cast<size_t>(2 * i)]) + " - " +
               TimeToShortStr(setting.Windows[static_cast<size_t>(2 * i + 1)]);
    };
    std::string text = window(0);
    if (setting.Intervals == 4) text += ", " + window(1);
    return text;
}

TValveSetting CurrentSetting(const TMainForm& form, TValve valve) {
    TValveSetting s;
    switch (valve) {
    case TValve::Fixed:
        s.Outlet = form.FixedPRVOutletEdit.Text();
        break;
    case TValve::Time:
        s.High = form.HighPressureEdit.Text();
        s.Low = form.LowPressureEdit.Text();
        s.Intervals = form.Project.Intervals;
        s.Windows = {form.TimeStart1Picker.Time, form.TimeStop1Picker.Time, form.TimeStart2Picker.Time,
                     form.TimeStop2Picker.Time};
        break;
    case TValve::Flow:
        s.LowTarget = form.LPFlowMod.Text();
        s.HighTarget = form.HPFlowMod.Text();
        break;
    }
    return s;
}

// ---- the copy of the window ---------------------------------------------------------------

TValveSuggester::TValveSuggester(const TMainForm& sourceForm)
    : dialogs_(std::make_unique<TScriptedDialogs>()), copy_(std::make_unique<TMainForm>(*dialogs_)) {
    // The source is only read; CollectProjectData takes the window by reference for the
    // project file's sake and changes nothing.
    TMainForm& source = const_cast<TMainForm&>(sourceForm);
    TMainForm& c = *copy_;
    c.Dispatch([&] {
        c.FormShow();
        {
            const TRefreshGuard refreshing(c);
            ApplyProjectData(c, CollectProjectData(source));
            c.Initialise(false);
        }
        // What the pages compute from is the texts as typed and the record as it stands:
        // both exactly as the window holds them.
        c.Project = source.Project;
        const auto from = source.Controls.All<TEdit>();
        const auto to = c.Controls.All<TEdit>();
        for (std::size_t i = 0; i < from.size() && i < to.size(); ++i)
            to[i]->InitText(from[i]->Text());
        const auto pickFrom = source.Controls.All<TTimePicker>();
        const auto pickTo = c.Controls.All<TTimePicker>();
        for (std::size_t i = 0; i < pickFrom.size() && i < pickTo.size(); ++i)
            pickTo[i]->Time = pickFrom[i]->Time;
        for (int col = 0; col < source.FlowGrid.ColCount(); ++col)
            for (int row = 0; row < source.FlowGrid.RowCount(); ++row)
                c.FlowGrid.SetCell(col, row, source.FlowGrid.Cell(col, row));
        for (int row = FirstHourRow; row <= LastHourRow; ++row)
            c.TimePRVGrid.SetCell(OutletCol, row, source.TimePRVGrid.Cell(OutletCol, row));
        c.RunAllOptions();
        c.GetTheCosts();
    });

    minPressure_ = c.Project.MinPressure;
    double topInlet = 0;
    for (int h = 0; h < HoursPerDay; ++h) {
        const int row = HourRow(h);
        labels_[static_cast<size_t>(h)] = c.FixedPRVGrid.Cell(HourCol, row);
        keys_[static_cast<size_t>(h)] = HourKey(labels_[static_cast<size_t>(h)]);
        topInlet = std::max(topInlet, CellNumber(c.FixedPRVGrid.Cell(InletCol, row)));
    }
    // One centimetre above the highest inlet: every hour's valve stands open.
    topCm_ = CeilCm(topInlet) + 1;
    floorCm_ = std::max(0, CeilCm(minPressure_));
    // No critical point gets more than the outlet less the climb to it.
    targetTopCm_ = std::max(floorCm_, CeilCm(topInlet + c.Project.InletElev - c.Project.TargetElev) + 1);

    for (TValve valve : {TValve::Fixed, TValve::Time, TValve::Flow}) {
        current_[static_cast<size_t>(valve)] = CurrentSetting(source, valve);
        currentResults_[static_cast<size_t>(valve)] = ReadResult(valve);
    }
}

TValveSuggester::~TValveSuggester() = default;

// ---- running a setting as the page does ---------------------------------------------------

void TValveSuggester::ApplyToCopy(TValve valve, const TValveSetting& setting) {
    TMainForm& c = *copy_;
    switch (valve) {
    case TValve::Fixed:
        c.FixedPRVOutletEdit.InitText(setting.Outlet);
        c.Project.FixedPRVOutlet = CellNumber(setting.Outlet);
        c.CalcFixedPRV();
        break;
    case TValve::Time:
        c.HighPressureEdit.InitText(setting.High);
        c.LowPressureEdit.InitText(setting.Low);
        c.Project.Intervals = setting.Intervals;
        c.TimeStart1Picker.Time = setting.Windows[0];
        c.TimeStop1Picker.Time = setting.Windows[1];
        c.TimeStart2Picker.Time = setting.Windows[2];
        c.TimeStop2Picker.Time = setting.Windows[3];
        c.CalcTimePRV();
        break;
    case TValve::Flow:
        c.LPFlowMod.InitText(setting.LowTarget);
        c.HPFlowMod.InitText(setting.HighTarget);
        c.Project.LPFlowMod = CellNumber(setting.LowTarget);
        c.Project.HPFlowMod = CellNumber(setting.HighTarget);
        c.CalcFlowPRV();
        break;
    }
    ++runs_;
}

TValveResult TValveSuggester::ReadResult(TValve valve) {
    TMainForm& c = *copy_;
    c.Dispatch([&] { c.GetTheCosts(); });
    TValveResult r;
    const TLabel* labels[ValveCount][4] = {
        {&c.FixedDepLabel, &c.FixedIndepLabel, &c.FixedTotLabel, &c.FixedWarnLabel},
        {&c.TimeDepLabel, &c.TimeIndepLabel, &c.TimeTotLabel, &c.TimeWarnLabel},
        {&c.FlowDepLabel, &c.FlowIndepLabel, &c.FlowTotLabel, &c.FlowWarnLabel},
    };
    const auto& l = labels[static_cast<size_t>(valve)];
    r.Dep = l[0]->Caption;
    r.Indep = l[1]->Caption;
    r.Tot = l[2]->Caption;
    r.HoldsMinimum = l[3]->Caption.empty() && !r.Tot.empty();
    const int row = CostRow(valve);
    r.VolumeSaving = c.CostSummaryGrid.Cell(Costs::VolumeSavingCol, row);
    r.MoneySaving = c.CostSummaryGrid.Cell(Costs::MoneySavingCol, row);
    r.Payback = c.CostSummaryGrid.Cell(Costs::PaybackCol, row);
    return r;
}

TValveResult TValveSuggester::Evaluate(TValve valve, const TValveSetting& setting) {
    bool ran = false;
    copy_->Dispatch([&] {
        ApplyToCopy(valve, setting);
        ran = true;
    });
    TValveResult r = ReadResult(valve);
    if (!ran) r.HoldsMinimum = false;
    return r;
}

// The fixed page with one outlet: each hour's critical pressure, leakage and AZP pressure.
const TValveSuggester::THourRow& TValveSuggester::Uniform(int cm) {
    auto found = uniform_.find(cm);
    if (found != uniform_.end()) return found->second;
    THourRow row;
    TMainForm& c = *copy_;
    TValveSetting s;
    s.Outlet = CentimetreText(cm);
    // A run that stops on an error (an hour whose pressures lose all meaning) holds nothing.
    row.Ok = c.Dispatch([&] { ApplyToCopy(TValve::Fixed, s); });
    for (int h = 0; h < HoursPerDay && row.Ok; ++h) {
        const auto i = static_cast<size_t>(h);
        row.Critical[i] = c.PRVCriticalPressures[i];
        row.Dep[i] = CellNumber(c.FixedPRVGrid.Cell(DepFlowCol, HourRow(h)));
        row.AZP[i] = CellNumber(c.FixedPRVGrid.Cell(AZPCol, HourRow(h)));
    }
    return uniform_.emplace(cm, row).first->second;
}

std::optional<int> TValveSuggester::LowestHolding(const std::function<bool(int)>& holds, int lo, int hi) {
    if (holds(lo)) return lo;
    int failing = lo;
    for (int k = 1; k <= ScanSteps; ++k) {
        const int cm = lo + static_cast<int>(static_cast<long long>(hi - lo) * k / ScanSteps);
        if (cm <= failing) continue;
        if (holds(cm)) {
            int holding = cm;
            while (holding - failing > 1) {
                const int mid = failing + (holding - failing) / 2;
                (holds(mid) ? holding : failing) = mid;
            }
            return holding;
        }
        failing = cm;
    }
    return std::nullopt;
}

std::optional<int> TValveSuggester::LowestUniform(const THours& hours) {
    return LowestHolding(
        [&](int cm) {
            const THourRow& row = Uniform(cm);
            if (!row.Ok) return false;
            for (int h = 0; h < HoursPerDay; ++h)
                if (hours[static_cast<size_t>(h)] && row.Critical[static_cast<size_t>(h)] < minPressure_)
                    return false;
            return true;
        },
        0, topCm_);
}

// The hours below the minimum with every valve setting at its top: the valve stands open,
// the hours are as measured.
std::vector<TShortHour> TValveSuggester::ShortHoursAtTop(TValve valve) {
    std::vector<TShortHour> out;
    TMainForm& c = *copy_;
    if (valve == TValve::Flow) {
        TValveSetting s;
        s.LowTarget = s.HighTarget = CentimetreText(targetTopCm_);
        Evaluate(valve, s);
        for (int h = 0; h < HoursPerDay; ++h) {
            const double crit = CellNumber(c.FlowPRVGrid.Cell(CriticalCol, HourRow(h)));
            if (crit < minPressure_)
                out.push_back({labels_[static_cast<size_t>(h)].substr(0, 5), crit, minPressure_ - crit});
        }
        return out;
    }
    const THourRow& row = Uniform(topCm_);
    for (int h = 0; h < HoursPerDay; ++h) {
        const double crit = row.Critical[static_cast<size_t>(h)];
        if (row.Ok && crit < minPressure_)
            out.push_back({labels_[static_cast<size_t>(h)].substr(0, 5), crit, minPressure_ - crit});
    }
    return out;
}

TValveSuggester::THours TValveSuggester::HighHours(const TValveSetting& setting) const {
    THours high{};
    const auto inWindow = [](const std::string& key, double start, double stop) {
        return key >= TimeToStr(start) && key < TimeToStr(stop);
    };
    for (int h = 0; h < HoursPerDay; ++h) {
        const std::string& key = keys_[static_cast<size_t>(h)];
        bool in = inWindow(key, setting.Windows[0], setting.Windows[1]);
        if (setting.Intervals == 4) in = in || inWindow(key, setting.Windows[2], setting.Windows[3]);
        high[static_cast<size_t>(h)] = in;
    }
    return high;
}

// ---- the three valves ---------------------------------------------------------------------

TValveSuggestion TValveSuggester::Suggest(TValve valve, const TSuggestOptions& options) {
    TValveSuggestion s;
    s.Valve = valve;
    s.Current = current_[static_cast<size_t>(valve)];
    s.CurrentResult = currentResults_[static_cast<size_t>(valve)];
    TMainForm& c = *copy_;
    if (c.Project.NightAZPPressure == 0) {
        s.Note = Msg::SuggestNoCurrentSituation;
        return s;
    }
    switch (valve) {
    case TValve::Fixed:
        SuggestFixed(s);
        break;
    case TValve::Time:
        SuggestTime(s, options);
        break;
    case TValve::Flow:
        SuggestFlow(s);
        break;
    }
    if (s.Computed && !s.Feasible && !s.Cancelled && s.Note.empty()) {
        // Hours short with the valve fully open are named; else no setting tried held.
        s.Note = s.ShortHours.empty()
                     ? Msg::SuggestNothingHolds(FormatFixed(minPressure_, 5, 2))
                     : Msg::SuggestNoSetting(FormatFixed(minPressure_, 5, 2), s.ShortHours.size());
    }
    return s;
}

void TValveSuggester::SuggestFixed(TValveSuggestion& s) {
    s.Computed = true;
    THours all;
    all.fill(true);
    const std::optional<int> cm = LowestUniform(all);
    if (!cm) {
        s.ShortHours = ShortHoursAtTop(TValve::Fixed);
        return;
    }
    s.Suggested = s.Current;
    s.Suggested.Outlet = CentimetreText(*cm);
    s.SuggestedResult = Evaluate(TValve::Fixed, s.Suggested);
    s.Feasible = s.SuggestedResult.HoldsMinimum;
}

TValveSuggestion TValveSuggester::SuggestTimeFor(const TValveSetting& windows) {
    TValveSuggestion s;
    s.Valve = TValve::Time;
    s.Current = current_[static_cast<size_t>(TValve::Time)];
    s.CurrentResult = currentResults_[static_cast<size_t>(TValve::Time)];
    s.Computed = true;
    s.Suggested = windows;
    const THours high = HighHours(windows);
    THours low{};
    for (int h = 0; h < HoursPerDay; ++h)
        low[static_cast<size_t>(h)] = !high[static_cast<size_t>(h)];
    const auto anyOf = [](const THours& hours) {
        return std::find(hours.begin(), hours.end(), true) != hours.end();
    };
    // A pressure that no hour uses is left as it is.
    std::optional<int> highCm = anyOf(high) ? LowestUniform(high) : std::nullopt;
    std::optional<int> lowCm = anyOf(low) ? LowestUniform(low) : std::nullopt;
    if ((anyOf(high) && !highCm) || (anyOf(low) && !lowCm)) {
        s.ShortHours = ShortHoursAtTop(TValve::Time);
        return s;
    }
    if (highCm) s.Suggested.High = CentimetreText(*highCm);
    if (lowCm) s.Suggested.Low = CentimetreText(*lowCm);
    // With no hour in a window the high pressure is never used: it stays at the low one.
    if (!highCm) s.Suggested.High = s.Suggested.Low;
    if (!lowCm) s.Suggested.Low = s.Suggested.High;
    s.SuggestedResult = Evaluate(TValve::Time, s.Suggested);
    s.Feasible = s.SuggestedResult.HoldsMinimum;
    return s;
}

void TValveSuggester::SuggestTime(TValveSuggestion& s, const TSuggestOptions& options) {
    if (s.Current.Intervals <= 0) {
        s.Note = Msg::SuggestHourlyMode;
        return;
    }
    if (options.ChooseWindows) {
        if (!ChooseWindows(s, options)) s.Cancelled = true;
        return;
    }
    s = SuggestTimeFor(s.Current);
}

// The windows on whole intervals of the table with the largest annual saving (R/a) that
// still holds the minimum. Each hour's lowest outlet is found once; a set of high hours then
// needs the highest of its hours' lowest outlets, and the low hours likewise. The windows
// are ranked by the Summary's saving worked out from the hours' own rows, and the best of
// them, with the windows as set, are run through the page and the Summary themselves.
bool TValveSuggester::ChooseWindows(TValveSuggestion& s, const TSuggestOptions& options) {
    const auto progress = [&](double done) { return !options.Progress || options.Progress(done); };
    std::array<int, HoursPerDay> lowest{};
    for (int h = 0; h < HoursPerDay; ++h) {
        THours one{};
        one[static_cast<size_t>(h)] = true;
        const std::optional<int> cm = LowestUniform(one);
        if (!cm) {
            s.Computed = true;
            s.ShortHours = ShortHoursAtTop(TValve::Time);
            return true;
        }
        lowest[static_cast<size_t>(h)] = *cm;
        if (!progress(0.5 * (h + 1) / HoursPerDay)) return false;
    }

    // What the Summary's saving (R/a) depends on, for ranking only.
    TMainForm& c = *copy_;
    const double curDep = CellNumber(c.CurrentDepLabel.Caption);
    const double curIndep = CellNumber(c.CurrentIndepLabel.Caption);
    const double nonRes = c.Project.DailyNonResidential;
    const double dailyCons =
        (curIndep - nonRes) * c.Project.ResConsumpChange / 100 + nonRes * c.Project.NonresConsumpChange / 100;
    double avgAZP = 0;
    for (double p : c.Project.AZPPressure)
        avgAZP += p / HoursPerDay;
    const double consN1 = CellNumber(c.edtConsumptionN1.Text());
    const auto rankSaving = [&](const THours& high) {
        int highCm = 0, lowCm = 0;
        for (int h = 0; h < HoursPerDay; ++h)
            (high[static_cast<size_t>(h)] ? highCm : lowCm) =
                std::max(high[static_cast<size_t>(h)] ? highCm : lowCm, lowest[static_cast<size_t>(h)]);
        const THourRow& hi = Uniform(highCm);
        const THourRow& lo = Uniform(lowCm);
        double dep = 0, azp = 0;
        for (int h = 0; h < HoursPerDay; ++h) {
            const THourRow& row = high[static_cast<size_t>(h)] ? hi : lo;
            dep += row.Dep[static_cast<size_t>(h)];
            azp += row.AZP[static_cast<size_t>(h)];
        }
        const double loss = (curDep - dep) * DaysPerYear * c.Project.CostFactor / 100;
        const double ratio = avgAZP == 0 ? 1.0 : std::max(0.0, azp / HoursPerDay / avgAZP);
        const double cons =
            avgAZP == 0 ? 0.0 : (dailyCons - std::pow(ratio, consN1) * dailyCons) * DaysPerYear;
        return (loss + cons) * c.Project.InflowCost - cons * c.Project.ConsumpCosts;
    };

    // The window bounds: the start of each row, and the end of the last row where a time of
    // day can say it (a window never runs past midnight).
    std::vector<double> bounds;
    for (const std::string& key : keys_)
        bounds.push_back(StrToTime(key).value_or(0.0));
    const std::string lastLabel = labels_.back();
    if (lastLabel.size() >= 13) {
        const std::optional<double> end = StrToTime(lastLabel.substr(8, 5) + ":00");
        if (end && *end > bounds.back()) bounds.push_back(*end);
    }
    const int n = static_cast<int>(bounds.size());
    struct TCandidate {
        double Saving;
        TValveSetting Setting;
    };
    std::vector<TCandidate> ranked;
    // Where the rows run in the order of the day, the window of rows a to b holds exactly
    // those rows; the page's own rule decides otherwise.
    const bool ordered = std::is_sorted(keys_.begin(), keys_.end()) &&
                         std::adjacent_find(keys_.begin(), keys_.end()) == keys_.end();
    const auto consider = [&](TValveSetting setting, int a, int b, int d, int e) {
        THours high{};
        if (ordered) {
            for (int h = 0; h < HoursPerDay; ++h)
                high[static_cast<size_t>(h)] = (h >= a && h < b) || (h >= d && h < e);
        } else {
            high = HighHours(setting);
        }
        ranked.push_back({rankSaving(high), std::move(setting)});
    };
    TValveSetting base = s.Current;
    for (int a = 0; a < n; ++a)
        for (int b = a + 1; b < n; ++b) {
            TValveSetting w = base;
            w.Windows = {bounds[static_cast<size_t>(a)], bounds[static_cast<size_t>(b)], 0, 0};
            if (base.Intervals != 4) {
                w.Windows[2] = base.Windows[2];
                w.Windows[3] = base.Windows[3];
                consider(w, a, b, 0, 0);
                continue;
            }
            consider(w, a, b, 0, 0);
            for (int d = b + 1; d < n; ++d)
                for (int e = d + 1; e < n; ++e) {
                    w.Windows[2] = bounds[static_cast<size_t>(d)];
                    w.Windows[3] = bounds[static_cast<size_t>(e)];
                    consider(w, a, b, d, e);
                }
        }
    if (!progress(0.6)) return false;
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const TCandidate& x, const TCandidate& y) { return x.Saving > y.Saving; });
    if (ranked.size() > CheckedWindows) ranked.resize(CheckedWindows);
    ranked.push_back({0, s.Current}); // the windows as set are always among those checked

    std::optional<TValveSuggestion> best;
    double bestSaving = 0;
    for (std::size_t i = 0; i < ranked.size(); ++i) {
        TValveSuggestion t = SuggestTimeFor(ranked[i].Setting);
        if (t.Feasible) {
            const double saving = SummaryNumber(t.SuggestedResult.MoneySaving);
            if (!best || saving > bestSaving) {
                best = t;
                bestSaving = saving;
            }
        }
        if (!progress(0.6 + 0.4 * static_cast<double>(i + 1) / static_cast<double>(ranked.size())))
            return false;
    }
    if (!best) {
        s.Computed = true;
        s.ShortHours = ShortHoursAtTop(TValve::Time);
        return true;
    }
    s = *best;
    s.WindowsChosen = true;
    s.Note = Msg::SuggestWindowsChosen(WindowsText(s.Suggested));
    return true;
}

bool TValveSuggester::FlowHolds(int lowCm, int highCm) {
    const auto key = std::make_pair(lowCm, highCm);
    if (auto found = flow_.find(key); found != flow_.end()) return found->second;
    TValveSetting s;
    s.LowTarget = CentimetreText(lowCm);
    s.HighTarget = CentimetreText(highCm);
    bool holds = false;
    copy_->Dispatch([&] {
        ApplyToCopy(TValve::Flow, s);
        holds = copy_->FlowWarnLabel.Caption.empty();
    });
    flow_.emplace(key, holds);
    return holds;
}

// The lowest low-flow target first (the night's pressure is where the leakage is saved),
// then, with it, the lowest high-flow target. A target below the minimum is never asked for:
// the reference hour's critical point is the target itself.
void TValveSuggester::SuggestFlow(TValveSuggestion& s) {
    TMainForm& c = *copy_;
    if (c.FlowWarnLabel.Caption == Msg::FlowHoursNotInTable) {
        s.Note = Msg::FlowHoursNotInTable;
        return;
    }
    s.Computed = true;
    std::optional<int> lowCm =
        LowestHolding([&](int cm) { return FlowHolds(cm, targetTopCm_); }, floorCm_, targetTopCm_);
    std::optional<int> highCm =
        lowCm ? LowestHolding([&](int cm) { return FlowHolds(*lowCm, cm); }, floorCm_, targetTopCm_)
              : std::nullopt;
    // A lower high-flow target also lowers the outlets of the hours that flow less than the
    // low-flow hour, so the low-flow target may now go lower still; and so on, a few times,
    // until neither target can go lower with the other where it is.
    for (int round = 0; round < 4 && lowCm && highCm; ++round) {
        const int high = *highCm;
        const std::optional<int> lower =
            LowestHolding([&](int cm) { return FlowHolds(cm, high); }, floorCm_, *lowCm);
        if (!lower || *lower == *lowCm) break;
        lowCm = lower;
        const int low = *lowCm;
        highCm = LowestHolding([&](int cm) { return FlowHolds(low, cm); }, floorCm_, high);
    }
    if (!lowCm || !highCm) {
        s.ShortHours = ShortHoursAtTop(TValve::Flow);
        return;
    }
    s.Suggested = s.Current;
    s.Suggested.LowTarget = CentimetreText(*lowCm);
    s.Suggested.HighTarget = CentimetreText(*highCm);
    s.SuggestedResult = Evaluate(TValve::Flow, s.Suggested);
    s.Feasible = s.SuggestedResult.HoldsMinimum;
}

// ---- what a suggestion shows --------------------------------------------------------------

std::vector<TSuggestionRow> SuggestionRows(const TValveSuggestion& s) {
    const TValveSetting& c = s.Current;
    const TValveSetting& g = s.Suggested;
    const bool shown = s.Feasible;
    const auto pick = [&](const std::string& text) { return shown ? text : std::string("-"); };
    std::vector<TSuggestionRow> rows;
    switch (s.Valve) {
    case TValve::Fixed:
        rows = {{"PRV outlet pressure (m)", c.Outlet, pick(g.Outlet)}};
        break;
    case TValve::Time:
        rows = {{"High pressure (m)", c.High, pick(g.High)}, {"Low pressure (m)", c.Low, pick(g.Low)}};
        if (c.Intervals > 0)
            rows.push_back({"High-pressure windows", WindowsText(c), shown ? WindowsText(g) : "-"});
        break;
    case TValve::Flow:
        rows = {{"Low-flow target (m)", c.LowTarget, pick(g.LowTarget)},
                {"High-flow target (m)", c.HighTarget, pick(g.HighTarget)}};
        break;
    }
    const TValveResult& cr = s.CurrentResult;
    const TValveResult& gr = s.SuggestedResult;
    const TSuggestionRow results[] = {
        {"Pressure dependent (m³/d)", cr.Dep, pick(gr.Dep)},
        {"Pressure independent (m³/d)", cr.Indep, pick(gr.Indep)},
        {"Total zone inflow (m³/d)", cr.Tot, pick(gr.Tot)},
        {"Savings (m³/a)", cr.VolumeSaving, pick(gr.VolumeSaving)},
        {"Savings (R/a)", cr.MoneySaving, pick(gr.MoneySaving)},
        {"Payback (months)", cr.Payback, pick(gr.Payback)},
        {"Minimum pressure held", cr.HoldsMinimum ? "yes" : "no", shown ? "yes" : "-"},
    };
    rows.insert(rows.end(), std::begin(results), std::end(results));
    return rows;
}

std::string ShortHoursText(const std::vector<TShortHour>& hours) {
    std::string text;
    for (const TShortHour& h : hours)
        text += (text.empty() ? "" : ", ") + h.Hour + " (" + FormatFixed(h.By, 8, 2) + " m below)";
    return text;
}

// ---- all three, and applying them ------------------------------------------------------------

std::array<TValveSuggestion, ValveCount> SuggestAll(const TMainForm& form, const TSuggestOptions& options) {
    TValveSuggester suggester(form);
    std::array<TValveSuggestion, ValveCount> out;
    for (TValve valve : {TValve::Fixed, TValve::Time, TValve::Flow})
        out[static_cast<size_t>(valve)] = suggester.Suggest(valve, options);
    return out;
}

std::optional<TValve> FirstToPayBack(const std::array<TValveSuggestion, ValveCount>& suggestions) {
    std::optional<TValve> first;
    double months = 0;
    for (const TValveSuggestion& s : suggestions) {
        if (!s.Feasible) continue;
        const std::optional<double> m = PaybackMonths(s.SuggestedResult.Payback);
        if (m && (!first || *m < months)) {
            first = s.Valve;
            months = *m;
        }
    }
    return first;
}

TValveSetting ApplySetting(TMainForm& form, TValve valve, const TValveSetting& setting) {
    const TValveSetting before = CurrentSetting(form, valve);
    form.Dispatch([&] {
        switch (valve) {
        case TValve::Fixed:
            form.FixedPRVOutletEdit.SetText(setting.Outlet);
            break;
        case TValve::Time: {
            if (setting.Intervals == 4 && !form.Interval4Radio.Checked()) form.Interval4Radio.Click();
            if (setting.Intervals == 2 && !form.Interval2Radio.Checked()) form.Interval2Radio.Click();
            TTimePicker* pickers[] = {&form.TimeStart1Picker, &form.TimeStop1Picker, &form.TimeStart2Picker,
                                      &form.TimeStop2Picker};
            for (std::size_t i = 0; i < 4; ++i)
                if (pickers[i]->Time != setting.Windows[i]) pickers[i]->UserChange(setting.Windows[i]);
            form.HighPressureEdit.SetText(setting.High);
            form.LowPressureEdit.SetText(setting.Low);
            break;
        }
        case TValve::Flow:
            form.LPFlowMod.SetText(setting.LowTarget);
            form.HPFlowMod.SetText(setting.HighTarget);
            break;
        }
    });
    return before;
}

bool TSuggestionHistory::Apply(TMainForm& form, const TValveSuggestion& suggestion) {
    if (!suggestion.Feasible) return false;
    steps_.emplace_back(suggestion.Valve, ApplySetting(form, suggestion.Valve, suggestion.Suggested));
    return true;
}

void TSuggestionHistory::Undo(TMainForm& form) {
    if (steps_.empty()) return;
    const auto [valve, before] = steps_.back();
    steps_.pop_back();
    ApplySetting(form, valve, before);
}

} // namespace halvern
