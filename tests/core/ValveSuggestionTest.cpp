// Suggested valve settings, judged by what they promise: applied to the window, no hour's
// critical point is below the minimum; one centimetre lower, one is. The windows found
// are no worse than those set, nor than every window tried one by one; a zone that no
// setting can serve names its hours; Apply is one step that Undo takes back.
#include "forms/ValveSuggestion.h"
#include "CliRunner.h"
#include "IoFixture.h"
#include "forms/ProjectDocument.h"
#include "forms/TableLayouts.h"
#include "model/Numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <sys/wait.h>

using namespace halvern;
using namespace halvern::test;

namespace {

int Cm(const std::string& text) {
    return static_cast<int>(std::lround(ParseNumber(text).value_or(-1) * 100));
}

double Saving(const TValveResult& r) {
    double value = 0;
    bool negative = false;
    for (char c : r.MoneySaving) {
        if (c == '-') negative = true;
        if (c >= '0' && c <= '9') value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

const TLabel& WarnLabel(TMainForm& form, TValve valve) {
    switch (valve) {
    case TValve::Fixed:
        return form.FixedWarnLabel;
    case TValve::Time:
        return form.TimeWarnLabel;
    case TValve::Flow:
        return form.FlowWarnLabel;
    }
    return form.FixedWarnLabel;
}

// A zone: a project file, then changes typed into the window.
struct TZone {
    std::string Name;
    std::string File;
    std::function<void(TMainForm&)> Change;
};

std::string Demo() {
    return TestData("../../examples/demo-zone.pru");
}

void Type(TMainForm& form, TEdit& edit, const std::string& text) {
    form.Dispatch([&] { edit.SetText(text); });
}

std::vector<TZone> Zones() {
    std::vector<TZone> zones{
        {"demo", Demo(), {}},
        {"demo-min-30", Demo(), [](TMainForm& f) { Type(f, f.MinPressureEdit, "30"); }},
        {"demo-min-15", Demo(), [](TMainForm& f) { Type(f, f.MinPressureEdit, "15"); }},
        {"demo-n1-1.5", Demo(), [](TMainForm& f) { Type(f, f.N1Edit, "1.5"); }},
        {"demo-4-intervals", Demo(),
         [](TMainForm& f) {
             f.Dispatch([&] { f.Interval4Radio.Click(); });
             f.Dispatch([&] { f.TimeStop1Picker.UserChange(9.0 / 24); });
             f.Dispatch([&] { f.TimeStart2Picker.UserChange(17.0 / 24); });
             f.Dispatch([&] { f.TimeStop2Picker.UserChange(21.0 / 24); });
         }},
        {"demo-steep-mains", Demo(), [](TMainForm& f) { Type(f, f.TargetElevEdit, "1175"); }},
    };
    for (const auto& entry : std::filesystem::directory_iterator(TestData("golden")))
        if (entry.path().extension() == ".pru")
            zones.push_back({entry.path().stem().string(), entry.path().string(), {}});
    return zones;
}

class ZoneForm {
public:
    explicit ZoneForm(const TZone& zone) {
        form.Dispatch([&] { form.FormShow(); });
        form.Dispatch([&] { ReadProjectFile(form, zone.File); });
        if (zone.Change) zone.Change(form);
        form.Dispatch([&] { form.RunAllOptions(); });
    }
    TScriptedDialogs dialogs;
    TMainForm form{dialogs};
};

// Lowers one pressure of the setting by 1 cm (the suggestion is the lowest to the centimetre) and says
// whether the page then warns.
bool WarnsOneCentimetreLower(TMainForm& form, TValve valve, TValveSetting setting,
                             std::string TValveSetting::*field) {
    setting.*field = CentimetreText(Cm(setting.*field) - 1);
    ApplySetting(form, valve, setting);
    return !WarnLabel(form, valve).Caption.empty();
}

} // namespace

class SuggestedSettings : public ::testing::TestWithParam<TZone> {};

TEST_P(SuggestedSettings, HoldTheMinimumAndNothingLowerDoes) {
    const TZone& zone = GetParam();
    ZoneForm z(zone);
    TMainForm& form = z.form;
    const auto suggestions = SuggestAll(form);
    for (const TValveSuggestion& s : suggestions) {
        SCOPED_TRACE(std::string(ValveName(s.Valve)) + ": " + s.Note);
        if (!s.Computed || !s.Feasible) {
            // Nothing suggested: either no setting can be worked out, or the hours that no
            // setting serves are named.
            if (s.Computed) {
                EXPECT_FALSE(s.ShortHours.empty());
            }
            continue;
        }
        ZoneForm fresh(zone);
        TMainForm& f = fresh.form;
        ApplySetting(f, s.Valve, s.Suggested);
        EXPECT_EQ(WarnLabel(f, s.Valve).Caption, "") << "the suggestion leaves an hour below the minimum";
        EXPECT_TRUE(s.SuggestedResult.HoldsMinimum);
        switch (s.Valve) {
        case TValve::Fixed:
            if (Cm(s.Suggested.Outlet) >= 2) {
                EXPECT_TRUE(WarnsOneCentimetreLower(f, s.Valve, s.Suggested, &TValveSetting::Outlet));
            }
            break;
        case TValve::Time: {
            // Each pressure only matters where some hour uses it: a probe with two tiny
            // outlets shows which hours are in the windows.
            bool anyHigh = false, anyLow = false;
            TValveSetting probe = s.Suggested;
            probe.High = "0.01";
            probe.Low = "0.02";
            ApplySetting(f, s.Valve, probe);
            for (int h = 0; h < HoursPerDay; ++h)
                (f.TimePRVGrid.Cell(PRVGridLayout::OutletCol, PRVGridLayout::HourRow(h)) == "0.01" ? anyHigh
                                                                                                   : anyLow) =
                    true;
            if (anyHigh && Cm(s.Suggested.High) >= 2) {
                EXPECT_TRUE(WarnsOneCentimetreLower(f, s.Valve, s.Suggested, &TValveSetting::High)) << "high";
            }
            if (anyLow && Cm(s.Suggested.Low) >= 2) {
                EXPECT_TRUE(WarnsOneCentimetreLower(f, s.Valve, s.Suggested, &TValveSetting::Low)) << "low";
            }
            break;
        }
        case TValve::Flow:
            // With one hour for both reference hours only the high-flow target is met.
            {
                // A target is never suggested below the minimum itself: there a lower target may
                // change nothing (the valve already gives no pressure in its hour).
                const int floor = static_cast<int>(std::ceil(f.Project.MinPressure * 100 - 1e-7));
                if (f.Project.LowFlowTime != f.Project.HighFlowTime &&
                    !WarnsOneCentimetreLower(f, s.Valve, s.Suggested, &TValveSetting::LowTarget)) {
                    EXPECT_EQ(Cm(s.Suggested.LowTarget), floor) << "low-flow target";
                }
                ApplySetting(f, s.Valve, s.Suggested);
                if (!WarnsOneCentimetreLower(f, s.Valve, s.Suggested, &TValveSetting::HighTarget)) {
                    EXPECT_EQ(Cm(s.Suggested.HighTarget), floor) << "high-flow target";
                }
                break;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Zones, SuggestedSettings, ::testing::ValuesIn(Zones()),
                         [](const ::testing::TestParamInfo<TZone>& zone) {
                             std::string name;
                             for (char c : zone.param.Name)
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

TEST(SuggestWindows, NoWorseThanTheWindowsSetNorThanEveryWindowTried) {
    ZoneForm z({"demo", Demo(), {}});
    TValveSuggester suggester(z.form);
    TSuggestOptions options;
    options.ChooseWindows = true;
    const TValveSuggestion chosen = suggester.Suggest(TValve::Time, options);
    ASSERT_TRUE(chosen.Feasible) << chosen.Note;
    EXPECT_TRUE(chosen.WindowsChosen);
    EXPECT_NE(chosen.Note.find(WindowsText(chosen.Suggested)), std::string::npos);

    const TValveSuggestion asSet = suggester.Suggest(TValve::Time);
    ASSERT_TRUE(asSet.Feasible);
    EXPECT_GE(Saving(chosen.SuggestedResult), Saving(asSet.SuggestedResult));

    // Every one-window day on whole hours, each with its own lowest pressures.
    double best = -1e300;
    TValveSetting windows = asSet.Current;
    windows.Intervals = 2;
    for (int a = 0; a < HoursPerDay; ++a)
        for (int b = a + 1; b < HoursPerDay; ++b) {
            windows.Windows = {a / 24.0, b / 24.0, 0, 0};
            const TValveSuggestion t = suggester.SuggestTimeFor(windows);
            if (t.Feasible) best = std::max(best, Saving(t.SuggestedResult));
        }
    EXPECT_GE(Saving(chosen.SuggestedResult), best);

    // And the window search can be stopped.
    options.Progress = [](double done) { return done < 0.1; };
    EXPECT_TRUE(suggester.Suggest(TValve::Time, options).Cancelled);
}

TEST(SuggestInfeasible, NamesTheHoursThatNoSettingServesAndByHowMuch) {
    ZoneForm z({"demo", Demo(), {}});
    TMainForm& form = z.form;
    // Two evening hours whose critical point was measured far below the minimum: no valve,
    // however far open, gives them more than the inlet does.
    const double minimum = form.Project.MinPressure;
    for (const auto& [hour, text] : {std::pair{18, "3"}, std::pair{19, "5.5"}}) {
        const int row = FlowGridLayout::HourRow(hour);
        form.FlowGrid.SetCell(FlowGridLayout::CriticalCol, row, text);
        form.Dispatch([&] { form.FlowGridSetEditText(FlowGridLayout::CriticalCol, row, text); });
    }
    form.Dispatch([&] {
        bool errors = true;
        form.GetTheData(errors);
        form.RunAllOptions();
    });

    const auto suggestions = SuggestAll(form);
    for (const TValveSuggestion& s : suggestions) {
        SCOPED_TRACE(ValveName(s.Valve));
        EXPECT_FALSE(s.Feasible);
        EXPECT_NE(s.Note.find("No setting keeps"), std::string::npos) << s.Note;
        std::vector<std::string> named;
        for (const TShortHour& hour : s.ShortHours) {
            named.push_back(hour.Hour);
            EXPECT_GT(hour.By, 0);
            EXPECT_NEAR(hour.Critical + hour.By, minimum, 1e-9);
        }
        EXPECT_EQ(named, (std::vector<std::string>{form.HourLabel(19).substr(0, 5),
                                                   form.HourLabel(20).substr(0, 5)}));
    }
    EXPECT_FALSE(FirstToPayBack(suggestions));
}

TEST(SuggestApply, IsOneStepThatUndoTakesBack) {
    ZoneForm z({"demo", Demo(), {}});
    TMainForm& form = z.form;
    const std::size_t messagesBefore = z.dialogs.Messages.size();
    const std::string fixedGridBefore =
        form.FixedPRVGrid.Cell(PRVGridLayout::CriticalCol, PRVGridLayout::HourRow(7));
    const auto suggestions = SuggestAll(form);
    // The search never touches the window: not a page, not a message.
    EXPECT_EQ(z.dialogs.Messages.size(), messagesBefore);
    EXPECT_EQ(form.FixedPRVGrid.Cell(PRVGridLayout::CriticalCol, PRVGridLayout::HourRow(7)), fixedGridBefore);
    const std::string outletBefore = form.FixedPRVOutletEdit.Text();
    const std::string highBefore = form.HighPressureEdit.Text(), lowBefore = form.LowPressureEdit.Text();
    const std::string fixedTotBefore = form.FixedTotLabel.Caption;

    TSuggestionHistory history;
    EXPECT_FALSE(history.CanUndo());
    for (const TValveSuggestion& s : suggestions)
        ASSERT_TRUE(history.Apply(form, s)) << ValveName(s.Valve) << ": " << s.Note;
    EXPECT_EQ(form.FixedPRVOutletEdit.Text(), suggestions[0].Suggested.Outlet);
    EXPECT_EQ(form.HighPressureEdit.Text(), suggestions[1].Suggested.High);
    EXPECT_EQ(form.LPFlowMod.Text(), suggestions[2].Suggested.LowTarget);
    EXPECT_EQ(form.FixedTotLabel.Caption, suggestions[0].SuggestedResult.Tot);
    EXPECT_EQ(form.TimeTotLabel.Caption, suggestions[1].SuggestedResult.Tot);
    EXPECT_EQ(form.FlowTotLabel.Caption, suggestions[2].SuggestedResult.Tot);

    history.Undo(form); // the flow-modulated targets
    EXPECT_EQ(form.LPFlowMod.Text(), suggestions[2].Current.LowTarget);
    EXPECT_EQ(form.HPFlowMod.Text(), suggestions[2].Current.HighTarget);
    EXPECT_EQ(form.HighPressureEdit.Text(), suggestions[1].Suggested.High);
    history.Undo(form);
    history.Undo(form);
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(form.FixedPRVOutletEdit.Text(), outletBefore);
    EXPECT_EQ(form.HighPressureEdit.Text(), highBefore);
    EXPECT_EQ(form.LowPressureEdit.Text(), lowBefore);
    EXPECT_EQ(form.FixedTotLabel.Caption, fixedTotBefore);
    EXPECT_EQ(form.FlowTotLabel.Caption, suggestions[2].CurrentResult.Tot);
}

#ifdef HALVERN_CLI
namespace {

TCliRun RunSuggest(std::vector<std::string> args) {
    args.insert(args.begin(), "suggest");
    return RunCli(args);
}

} // namespace

TEST(SuggestCommand, PrintsAppliesAndSaysWhenAValveCannotHoldTheMinimum) {
    ZoneForm z({"demo", Demo(), {}});
    const auto suggestions = SuggestAll(z.form);

    const TCliRun text = RunSuggest({Demo()});
    EXPECT_EQ(text.ExitCode, 0);
    for (const TValveSuggestion& s : suggestions) {
        EXPECT_NE(text.Out.find(ValveName(s.Valve)), std::string::npos);
        EXPECT_NE(text.Out.find(s.SuggestedResult.MoneySaving), std::string::npos);
    }
    EXPECT_NE(text.Out.find(suggestions[0].Suggested.Outlet), std::string::npos);
    EXPECT_NE(text.Out.find("Pays back first: "), std::string::npos);

    const TCliRun json = RunSuggest({"--json", Demo(), "--windows"});
    EXPECT_EQ(json.ExitCode, 0);
    EXPECT_EQ(json.Out.front(), '{');
    EXPECT_NE(json.Out.find("\"windows_chosen\": true"), std::string::npos);

    // --apply: the project saved with the suggestions reads back with every page holding
    // the minimum and showing the suggested volumes.
    TScratchDir dir;
    const std::string out = dir.File("suggested.pru");
    const TCliRun applied = RunSuggest({Demo(), "--apply", "-o", out});
    EXPECT_EQ(applied.ExitCode, 0);
    TZone saved{"saved", out, {}};
    ZoneForm back(saved);
    EXPECT_EQ(back.form.FixedPRVOutletEdit.Text(), suggestions[0].Suggested.Outlet);
    EXPECT_EQ(back.form.FixedTotLabel.Caption, suggestions[0].SuggestedResult.Tot);
    EXPECT_EQ(back.form.TimeTotLabel.Caption, suggestions[1].SuggestedResult.Tot);
    EXPECT_EQ(back.form.FlowTotLabel.Caption, suggestions[2].SuggestedResult.Tot);
    for (TValve valve : {TValve::Fixed, TValve::Time, TValve::Flow})
        EXPECT_EQ(WarnLabel(back.form, valve).Caption, "") << ValveName(valve);

    // A zone whose measured critical pressures are below the minimum in some hours: exit 1,
    // and the valves are still printed with the hours named.
    ZoneForm low({"demo", Demo(), {}});
    Type(low.form, low.form.MinPressureEdit, "40");
    const std::string lowFile = dir.File("high-minimum.pru");
    ASSERT_TRUE(SaveProjectFile(low.form, lowFile));
    const TCliRun infeasible = RunSuggest({lowFile});
    EXPECT_EQ(infeasible.ExitCode, 1);
    EXPECT_NE(infeasible.Out.find("Hours below the minimum: "), std::string::npos);
    EXPECT_NE(infeasible.Out.find("Flow Modulated"), std::string::npos);

    EXPECT_EQ(RunSuggest({Demo(), "--apply"}).ExitCode, 2);
    EXPECT_EQ(RunSuggest({Demo(), "-o", out}).ExitCode, 2);
    EXPECT_EQ(RunSuggest({}).ExitCode, 2);
    EXPECT_EQ(RunSuggest({dir.File("missing.pru")}).ExitCode, 1);
}
#endif
