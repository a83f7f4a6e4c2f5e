// The N1 sweep: the savings and payback of the three valves for a range of leakage
// exponents. Each N1 is run through the whole analysis on its own copy of the main window,
// as if it had been typed into the N1 box and the Summary shown; the window itself is never
// touched, so a sweep can run on other threads while the user goes on working.
#pragma once
#include "io/ProjectFile.h"

#include <array>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace halvern {

class TMainForm;
class TScriptedDialogs;

// The N1 values of a sweep: From, From + Step, ... up to To, within the N1 box's bounds.
struct TN1Range {
    double From = 0.5;
    double To = 2.5;
    double Step = 0.25;
};
inline constexpr double N1SweepLowest = 0.5; // the N1 box's bounds
inline constexpr double N1SweepHighest = 2.5;
inline constexpr double N1SweepFinestStep = 0.01;   // the N1 box shows two decimals
inline constexpr double DefaultPaybackHorizon = 60; // months

// What is wrong with a range, in the program's words; nothing when it can be swept.
std::optional<std::string> N1RangeProblem(const TN1Range& range);

// The valves in the order of the cost table's rows.
inline constexpr int SweepValves = 3;
inline constexpr std::array<const char*, SweepValves> SweepValveNames = {
    "Fixed Outlet PRV", "Time Modulated PRV", "Flow Modulated PRV"};

// One valve at one N1: the texts of the cost table's totals and payback, as the Summary
// shows them ("182,625", "Never").
struct TValveSensitivity {
    std::string SavingM3a;
    std::string SavingRa;
    std::string Payback;
};

struct TN1SweepRow {
    double N1 = 0;
    std::string N1Text;     // as typed into the N1 box: "0.75"
    bool ProjectN1 = false; // the project's own N1
    std::array<TValveSensitivity, SweepValves> Valves;
    // The messages the analysis showed for this N1 (an error stops it part way, as on the
    // Summary: the texts are then what the table held when it stopped).
    std::vector<std::string> Messages;
    bool Failed = false;
};

// Everything of the window that the analysis reads, taken on the window's own thread; the
// copies are made from this, never from the window.
struct TN1SweepSource {
    TProjectFileData Data;
    bool InflowInLs = false;
    std::vector<std::string> FlowCells; // the hours of the flow table, row by row
    std::string LastHourOutlet;         // the 23:00 outlet of the time modulation (not in a file)
    std::string ConsumptionN1;          // "N1 for Correction" (not in a file)
    std::string ProjectN1Text;          // the N1 box
    // Equal sources give equal sweeps: the page sweeps again only when this changes.
    bool operator==(const TN1SweepSource& other) const;
};

TN1SweepSource TakeN1SweepSource(TMainForm& form);

// The N1 values of the range, each as the N1 box would show it, with the project's own N1
// in its place among them (marked); sorted, each once.
std::vector<TN1SweepRow> N1SweepRows(const TN1Range& range, const std::string& projectN1Text);

// A copy of the window for one N1: made once, then given each sweep's project as "Read data"
// gives a window a project, which leaves nothing of the one before.
struct TN1SweepCopy {
    TN1SweepCopy();
    ~TN1SweepCopy();
    TN1SweepCopy(const TN1SweepCopy&) = delete;
    TN1SweepCopy& operator=(const TN1SweepCopy&) = delete;
    std::unique_ptr<TScriptedDialogs> Dialogs;
    std::unique_ptr<TMainForm> Form;
};

// The copies kept between sweeps, one per N1 value, so that a page following the user's
// edits does not build ten windows for every keystroke. One sweep uses them at a time.
class TN1SweepCopies {
public:
    std::mutex InUse;
    std::vector<std::unique_ptr<TN1SweepCopy>> Copies;
};

// One N1 on a copy of the window, given the source's project.
void RunN1SweepRow(const TN1SweepSource& source, TN1SweepRow& row, TN1SweepCopy& copy);
// The same on a copy of its own.
void RunN1SweepRow(const TN1SweepSource& source, TN1SweepRow& row);

// Every row, on up to `threads` threads (each copy is independent of the others), on the
// kept copies when given and free, else on new ones.
std::vector<TN1SweepRow> RunN1Sweep(const TN1SweepSource& source, const TN1Range& range, unsigned threads = 1,
                                    TN1SweepCopies* kept = nullptr);

// The payback, in months, that a row's text stands for; nothing for "Never" or no number.
std::optional<double> PaybackMonths(const std::string& payback);

// One sentence for a valve over the sweep: over which N1 it pays back within the horizon.
std::string PaybackSentence(const std::vector<TN1SweepRow>& rows, int valve, double horizonMonths);

} // namespace halvern
