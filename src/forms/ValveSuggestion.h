// Suggested valve settings: how low each valve can be set while every hour's critical point
// keeps MinPressure, and what that saves. Each scenario is run exactly as its page runs it,
// on a copy of the main window, so that the window's own pages never change while a search
// runs (and the search may run on another thread once the copy is made).
#pragma once
#include "forms/MainForm.h"

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace halvern {

enum class TValve { Fixed = 0, Time = 1, Flow = 2 };
inline constexpr int ValveCount = 3;

// What one valve is set to, as its page holds it: the pressures as typed (m).
struct TValveSetting {
    std::string Outlet;                // fixed outlet
    std::string High, Low;             // time-modulated pressures
    int Intervals = 2;                 // 2, 4, or 0 for hourly mode
    std::array<double, 4> Windows{};   // start 1, stop 1, start 2, stop 2 (fractions of a day)
    std::string LowTarget, HighTarget; // flow-modulated critical-point targets
    bool operator==(const TValveSetting&) const = default;
};

// A valve's day with one setting, as its page and the Summary show it.
struct TValveResult {
    std::string Dep, Indep, Tot;                    // daily volumes, m³ (the page's labels)
    std::string VolumeSaving, MoneySaving, Payback; // m³/a, R/a and months (or "Never")
    bool HoldsMinimum = false;                      // no hour's critical point below MinPressure
};

// An hour whose critical point stays below the minimum, and by how much (m).
struct TShortHour {
    std::string Hour; // "07:00"
    double Critical = 0;
    double By = 0;
};

struct TValveSuggestion {
    TValve Valve = TValve::Fixed;
    bool Computed = false;  // false: the scenario cannot be worked out (Note says why)
    bool Feasible = false;  // a setting holds the minimum in every hour
    bool Cancelled = false; // the search was stopped before it ended
    bool WindowsChosen = false;
    TValveSetting Current, Suggested;
    TValveResult CurrentResult, SuggestedResult;
    std::vector<TShortHour> ShortHours; // where no setting holds the minimum
    std::string Note;                   // the windows chosen, or why nothing is suggested
};

// Reports how far a search has come (0 to 1); returns false to stop it.
using TSuggestProgress = std::function<bool(double done)>;

struct TSuggestOptions {
    bool ChooseWindows = false; // the time-modulated windows are searched too
    TSuggestProgress Progress;
};

// The valve's name as the pages call it: "Fixed Outlet", "Time Modulated", "Flow Modulated".
const char* ValveName(TValve valve);
// "41.23": a pressure in whole centimetres, as the suggestion writes it into an edit.
std::string CentimetreText(int cm);
// "05:00 - 09:00" (and ", 17:00 - 20:00" with 4 intervals): the high-pressure windows.
std::string WindowsText(const TValveSetting& setting);
// What the valve's page is set to now.
TValveSetting CurrentSetting(const TMainForm& form, TValve valve);

// The search for one project. The constructor copies the window (call it where the window
// lives); Suggest then works on the copy only.
class TValveSuggester {
public:
    explicit TValveSuggester(const TMainForm& source);
    ~TValveSuggester();
    TValveSuggester(const TValveSuggester&) = delete;
    TValveSuggester& operator=(const TValveSuggester&) = delete;

    TValveSuggestion Suggest(TValve valve, const TSuggestOptions& options = {});
    // The time-modulated valve's lowest pressures for the given windows (Intervals and
    // Windows of `windows`), with their results.
    TValveSuggestion SuggestTimeFor(const TValveSetting& windows);
    // Runs one setting of a valve as its page would, with the Summary's savings.
    TValveResult Evaluate(TValve valve, const TValveSetting& setting);

    // How many scenario runs the search has made (for the benchmark and the tests).
    int Runs() const { return runs_; }

private:
    struct THourRow {
        std::array<double, HoursPerDay> Critical{};
        std::array<double, HoursPerDay> Dep{};
        std::array<double, HoursPerDay> AZP{};
        bool Ok = false;
    };
    using THours = std::array<bool, HoursPerDay>;

    const THourRow& Uniform(int cm);
    std::optional<int> LowestHolding(const std::function<bool(int)>& holds, int lo, int hi);
    std::optional<int> LowestUniform(const THours& hours);
    bool FlowHolds(int lowCm, int highCm);
    void ApplyToCopy(TValve valve, const TValveSetting& setting);
    TValveResult ReadResult(TValve valve);
    std::vector<TShortHour> ShortHoursAtTop(TValve valve);
    THours HighHours(const TValveSetting& setting) const;
    void SuggestFixed(TValveSuggestion& s);
    void SuggestTime(TValveSuggestion& s, const TSuggestOptions& options);
    void SuggestFlow(TValveSuggestion& s);
    bool ChooseWindows(TValveSuggestion& s, const TSuggestOptions& options);

    std::unique_ptr<TScriptedDialogs> dialogs_;
    std::unique_ptr<TMainForm> copy_;
    std::array<TValveSetting, ValveCount> current_;
    std::array<TValveResult, ValveCount> currentResults_;
    std::array<std::string, HoursPerDay> keys_;   // each row's start, "hh:mm:ss"
    std::array<std::string, HoursPerDay> labels_; // each row's label
    double minPressure_ = 0;
    int topCm_ = 0;   // every hour's valve stands open at this outlet
    int floorCm_ = 0; // the minimum pressure, in whole centimetres upwards
    int targetTopCm_ = 0;
    std::map<int, THourRow> uniform_;
    std::map<std::pair<int, int>, bool> flow_;
    int runs_ = 0;
};

// One line of a suggestion's table: what it is, then the current and the suggested text
// ("-" where nothing is suggested).
struct TSuggestionRow {
    std::string Name, Current, Suggested;
};
// The settings, the daily volumes, the savings, the payback and whether the minimum holds.
std::vector<TSuggestionRow> SuggestionRows(const TValveSuggestion& suggestion);
// "07:00 (1.25 m below), 08:00 (0.40 m below)".
std::string ShortHoursText(const std::vector<TShortHour>& hours);

// The three suggestions of the window's project.
std::array<TValveSuggestion, ValveCount> SuggestAll(const TMainForm& form,
                                                    const TSuggestOptions& options = {});

// Of the feasible suggestions, the one whose payback is shortest; none when none pays back.
std::optional<TValve> FirstToPayBack(const std::array<TValveSuggestion, ValveCount>& suggestions);

// Writes a setting into the valve's page as typing and picking would (each edit's and
// picker's handler runs); returns what the page held before, so that one step undoes it.
TValveSetting ApplySetting(TMainForm& form, TValve valve, const TValveSetting& setting);

// The suggestions applied to the window, each as one step that can be undone.
class TSuggestionHistory {
public:
    // Applies the suggestion when it is feasible; false otherwise.
    bool Apply(TMainForm& form, const TValveSuggestion& suggestion);
    bool CanUndo() const { return !steps_.empty(); }
    // Puts back what the last Apply replaced.
    void Undo(TMainForm& form);

private:
    std::vector<std::pair<TValve, TValveSetting>> steps_;
};

} // namespace halvern
