// What a pressure reducing valve can and cannot do, checked on every hour of every valve
// table: the golden zones, the demo and constructed zones. The outlet lies between 0 and the
// inlet; an hour whose outlet would be above the inlet is the measured hour, marked; every
// flow-modulated row balances for its own outlet; every ordinary hour sits on the outlet
// interpolated from the flows it shows; every reachable target is met.
#include "FlowZoneFixture.h"
#include "forms/ProjectDocument.h"
#include "forms/TableLayouts.h"
#include "model/Numbers.h"

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

using namespace halvern;
using namespace halvern::test;

namespace {

namespace PRV = PRVGridLayout;
namespace Current = CurrentGridLayout;

double Value(const TMarkStringGrid& grid, int col, int row) {
    return ParseNumber(grid.Cell(col, row)).value_or(0.0);
}

// The valve tables that DoPRVCalcs fills: an open hour is the measured one, and an outlet
// the valve gives lies within 0 … inlet.
void CheckDoPRVTable(TMainForm& form, TMarkStringGrid& grid, const std::string& zone) {
    const bool typedOutlets = (grid.Options & goEditing) != 0;
    for (int h = 0; h < HoursPerDay; ++h) {
        SCOPED_TRACE(zone + " " + grid.Name + " hour " + std::to_string(h));
        const int row = ResultRows::HourRow(h);
        const double in = Value(grid, PRV::InletCol, row);
        const bool open = grid.GetFontColour(PRV::OutletCol, row) == clValveOpen;
        const double out = Value(grid, PRV::OutletCol, row);
        if (!typedOutlets) {
            EXPECT_LE(out, in);
            EXPECT_GE(out, 0);
        }
        if (open) {
            if (!typedOutlets) {
                EXPECT_EQ(out, in);
            }
            if (grid.Cell(PRV::CriticalCol, row) == "0.0" || Value(grid, PRV::CriticalCol, row) < 0) continue;
            for (const auto& [col, currentCol] : {std::pair{PRV::AZPCol, Current::AZPCol},
                                                  {PRV::CriticalCol, Current::CriticalCol},
                                                  {PRV::TotalFlowCol, Current::TotalFlowCol},
                                                  {PRV::DepFlowCol, Current::DepFlowCol},
                                                  {PRV::IndepFlowCol, Current::IndepFlowCol}})
                EXPECT_NEAR(Value(grid, col, row), Value(form.CurrentGrid, currentCol, row), 0.0051) << col;
        } else if (typedOutlets) {
            EXPECT_LE(out, in);
        }
    }
}

// The flow-modulated table: rows that balance for their own outlet, ordinary hours on the
// interpolation, reference hours on their targets.
void CheckFlowTable(TMainForm& form, const std::string& zone) {
    TMarkStringGrid& grid = form.FlowPRVGrid;
    const TProject& p = form.Project;
    const std::string lowKey = TimeToStr(p.LowFlowTime);
    const std::string highKey = TimeToStr(p.HighFlowTime);
    int low = -1, high = -1;
    for (int h = 0; h < HoursPerDay; ++h) {
        const std::string key = HourKey(grid.Cell(PRV::HourCol, ResultRows::HourRow(h)));
        if (key == lowKey) low = h;
        if (key == highKey) high = h;
    }
    ASSERT_GE(low, 0);
    ASSERT_GE(high, 0);
    const auto at = [&](int col, int h) { return Value(grid, col, ResultRows::HourRow(h)); };
    const auto interpolated = [&](int h) {
        const double spread = at(PRV::TotalFlowCol, high) - at(PRV::TotalFlowCol, low);
        if (spread == 0) return at(PRV::OutletCol, low);
        return at(PRV::OutletCol, low) + (at(PRV::TotalFlowCol, h) - at(PRV::TotalFlowCol, low)) *
                                             (at(PRV::OutletCol, high) - at(PRV::OutletCol, low)) / spread;
    };
    for (int h = 0; h < HoursPerDay; ++h) {
        SCOPED_TRACE(zone + " FlowPRVGrid hour " + std::to_string(h));
        const int row = ResultRows::HourRow(h);
        const double in = at(PRV::InletCol, h);
        const double out = at(PRV::OutletCol, h);
        const double q = at(PRV::TotalFlowCol, h);
        const std::string label = grid.Cell(PRV::HourCol, row).substr(0, 5);
        const bool open = grid.GetFontColour(PRV::OutletCol, row) == clValveOpen;
        EXPECT_LE(out, std::max(in, 0.0));
        EXPECT_GE(out, 0);
        if (open) {
            EXPECT_EQ(out, in);
            EXPECT_NE(form.FlowOpenLabel.Caption.find(label), std::string::npos);
            EXPECT_NEAR(at(PRV::AZPCol, h), Value(form.CurrentGrid, Current::AZPCol, row), 0.0051);
            EXPECT_NEAR(q, Value(form.CurrentGrid, Current::TotalFlowCol, row), 0.0051);
            continue;
        }
        // The balance of the hour for the outlet shown: the AZP pressure and the critical
        // pressure follow from it and the flow shown, to the rounding of the texts.
        const double coefA = p.AZPHeadlossCoef[static_cast<size_t>(h)];
        const double coefC = p.CritHeadlossCoef[static_cast<size_t>(h)];
        const double rounding = 0.011 + 2 * (std::fabs(coefA) + std::fabs(coefC)) * std::fabs(q) * 0.0051;
        const double lossA = q > 0 ? coefA * q * q : 0;
        const double lossC = q > 0 ? coefC * q * q : 0;
        const double cA = Value(form.CurrentGrid, Current::AZPCol, row);
        const double cC = Value(form.CurrentGrid, Current::CriticalCol, row);
        EXPECT_NEAR(at(PRV::AZPCol, h),
                    cA + out - in - (lossA - Value(form.CurrentGrid, Current::AZPHeadlossCol, row)),
                    rounding);
        EXPECT_NEAR(at(PRV::CriticalCol, h),
                    cC + out - in - (lossC - Value(form.CurrentGrid, Current::CritHeadlossCol, row)),
                    rounding);
        const double azp = at(PRV::AZPCol, h);
        const double leakage = azp <= 0 ? 0 : p.NightLeakage * std::pow(azp / p.NightAZPPressure, p.N1);
        EXPECT_NEAR(at(PRV::DepFlowCol, h), leakage,
                    0.0051 + std::fabs(p.NightLeakage * p.N1 / p.NightAZPPressure) * 0.0051 * 2);

        if (h == low || h == high) {
            const double target = h == high ? p.HPFlowMod : p.LPFlowMod;
            if (form.FlowTargetLabel.Caption.find(label) == std::string::npos) {
                EXPECT_NEAR(at(PRV::CriticalCol, h), target, 0.0051 + 0.001);
            }
        } else if (out > 0.005) {
            EXPECT_NEAR(out, interpolated(h), 0.01);
        }
    }
}

void CheckEveryValveHour(TMainForm& form, const std::string& zone) {
    CheckDoPRVTable(form, form.FixedPRVGrid, zone);
    CheckDoPRVTable(form, form.TimePRVGrid, zone);
    CheckFlowTable(form, zone);
}

std::vector<std::string> GoldenZones() {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(HALVERN_TEST_DATA) + "/golden"))
        // The zone whose analysis stops has no valve hour to judge.
        if (entry.path().extension() == ".pru" && entry.path().stem() != "stopped-analysis")
            files.push_back(entry.path().string());
    files.push_back(std::string(HALVERN_TEST_DATA) + "/../../examples/demo-zone.pru");
    return files;
}

TEST(ValvePhysicsGolden, EveryHourOfEveryGoldenZoneIsPhysical) {
    for (const std::string& file : GoldenZones()) {
        TScriptedDialogs dialogs;
        TMainForm form(dialogs);
        form.Dispatch([&] { form.FormShow(); });
        ReadProjectFile(form, file);
        form.Dispatch([&] {
            form.RunAllOptions();
            form.GetTheCosts();
        });
        const std::string zone = std::filesystem::path(file).filename().string();
        CheckEveryValveHour(form, zone);
        // No search runs away: every valve's costs are worked out.
        for (const TRecordedMessage& m : dialogs.Messages)
            EXPECT_EQ(m.Text.find("Floating point"), std::string::npos) << zone << ": " << m.Text;
        for (int row = CostSummaryLayout::FirstScenarioRow; row < CostSummaryLayout::FirstScenarioRow + 3;
             ++row)
            EXPECT_FALSE(form.CostSummaryGrid.Cell(CostSummaryLayout::PaybackCol, row).empty()) << zone;
    }
}

// A zone whose inlet falls from 64 m at night to 53 m at the peak, as a supply main with
// its own head loss gives it.
class ValvePhysicsZones : public TFlowZoneFixture {
protected:
    void SetUp() override {
        TFlowZoneFixture::SetUp();
        for (int h = 0; h < HoursPerDay; ++h) {
            const double q = Inflows[static_cast<size_t>(h)];
            const double inlet = 64 - 11 * (q - 42) / 58;
            SetHour(h, {q, inlet, inlet - 0.001 * q * q, inlet - 0.002 * q * q});
        }
        form.TimeWarnCheckBox.Checked = true;
    }

    void RunAll() {
        ASSERT_TRUE(form.Dispatch([&] {
            form.RunAllOptions();
            form.GetTheCosts();
        })) << ::testing::PrintToString(dialogs.Texts());
    }
};

TEST_F(ValvePhysicsZones, ASetOutletAboveSomeInletsOpensTheValveInThoseHoursOnly) {
    form.FixedPRVOutletEdit.InitText("55.00");
    form.HighPressureEdit.InitText("58.00");
    form.LowPressureEdit.InitText("45.00");
    RunAll();
    CheckEveryValveHour(form, "falling inlet");
    std::vector<std::string> open;
    for (int h = 0; h < HoursPerDay; ++h) {
        const int row = TableRow(h);
        const bool below = project.InletPressure[static_cast<size_t>(h)] < 55;
        EXPECT_EQ(form.FixedPRVGrid.GetFontColour(PRV::OutletCol, row) == clValveOpen, below) << h;
        if (below) open.push_back(form.FixedPRVGrid.Cell(PRV::HourCol, row).substr(0, 5));
    }
    ASSERT_FALSE(open.empty());
    std::string hours;
    for (const std::string& h : open)
        hours += (hours.empty() ? "" : ", ") + h;
    EXPECT_EQ(form.FixedOpenLabel.Caption, "The valve is fully open in " + std::to_string(open.size()) +
                                               " hours (" + hours +
                                               "): the set outlet is above the inlet pressure.");
    EXPECT_NE(form.TimeOpenLabel.Caption, "");
}

TEST_F(ValvePhysicsZones, AValveOpenAllDaySavesExactlyNothing) {
    form.FixedPRVOutletEdit.InitText("70.00");
    RunAll();
    CheckEveryValveHour(form, "open all day");
    EXPECT_EQ(form.FixedDepLabel.Caption, form.CurrentDepLabel.Caption);
    EXPECT_EQ(form.FixedTotLabel.Caption, form.CurrentTotLabel.Caption);
    using namespace CostSummaryLayout;
    for (int col : {LossSavingCol, VolumeSavingCol, MoneySavingCol})
        EXPECT_EQ(form.CostSummaryGrid.Cell(col, FixedRow), "0") << col;
}

// The flow-modulated targets: reachable and unreachable, above and below what the measured
// hour gives, and one hour for both.
TEST_F(ValvePhysicsZones, FlowModulatedTargetsOfEveryKind) {
    struct {
        const char* name;
        double low, high;
        bool sameHour;
        const char* message; // part of the page's target text, or "" for none
    } const cases[] = {
        {"reachable below", 20, 25, false, ""},
        {"low unreachable above", 80, 25, false, "The low-flow target of 80.00 m cannot be reached at 03:00"},
        {"high unreachable above", 20, 70, false,
         "The high-flow target of 70.00 m cannot be reached at 11:00"},
        {"high below an outlet of 0", 20, -400, false, "The high-flow target of -400.00 m is below the"},
        {"one hour for both", 20, 30, true, ""},
        {"defaults to the minimum pressure", 0, 0, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        project.LPFlowMod = c.low;
        project.HPFlowMod = c.high;
        project.MinPressure = 22;
        project.HighFlowTime = c.sameHour ? project.LowFlowTime : EncodeTime(11, 0);
        RunAll();
        CheckEveryValveHour(form, c.name);
        if (*c.message)
            EXPECT_NE(form.FlowTargetLabel.Caption.find(c.message), std::string::npos)
                << form.FlowTargetLabel.Caption;
        else
            EXPECT_EQ(form.FlowTargetLabel.Caption, "");
    }
}

// The zone whose high-flow search used to run away: the costs are there.
TEST(ValvePhysicsOverflow, TheZoneThatUsedToOverflowHasItsCosts) {
    TScriptedDialogs dialogs;
    TMainForm form(dialogs);
    form.Dispatch([&] { form.FormShow(); });
    ReadProjectFile(form, std::string(HALVERN_TEST_DATA) + "/golden/flow-target-overflow.pru");
    EXPECT_TRUE(dialogs.Messages.empty()) << dialogs.Messages.front().Text;
    EXPECT_NE(form.FlowTargetLabel.Caption.find("The high-flow target of 45.00 m cannot be reached at 10:00"),
              std::string::npos);
    using namespace CostSummaryLayout;
    EXPECT_NE(form.CostSummaryGrid.Cell(MoneySavingCol, FlowRow), "");
    EXPECT_NE(form.CostSummaryGrid.Cell(MoneySavingCol, FlowRow), "0");
}

} // namespace
