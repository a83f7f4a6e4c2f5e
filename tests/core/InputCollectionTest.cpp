// The collection of every input into the project: order, messages, number syntax and
// what the project holds after a failure.
#include "DriverFixture.h"
#include "forms/TableLayouts.h"

#include <string>
#include <vector>

using namespace halvern;
namespace Flow = FlowGridLayout;
using halvern::test::DriverFixture;

namespace {

std::string Invalid(const std::string& what) {
    return what + "\nCannot proceed with calculations.";
}

} // namespace

class InputCollectionTest : public DriverFixture {};

TEST_F(InputCollectionTest, ReadsEveryInputOfAFilledWindow) {
    EnterZone();
    Do([&] {
        form.MainsLengthEdit.SetText("12.5");
        form.PopulationEdit.SetText("3500");
        form.FlowGrid.SetEditText(Flow::AZPCol, Flow::HourRow(5), "2.345");
        form.HighPressureEdit.SetText("50.1");
        form.InflowCostEdit.SetText("3.25");
        form.Interval2Radio.Click();
    });
    form.TimeStart1Picker.Time = EncodeTime(6, 0);
    dialogs.Clear();

    ASSERT_TRUE(Collect());
    EXPECT_TRUE(dialogs.Messages.empty());
    const TProject& p = form.Project;
    EXPECT_DOUBLE_EQ(p.MainsLength, 12.5);
    EXPECT_EQ(p.Population, 3500);
    EXPECT_DOUBLE_EQ(p.InletElev, 100);
    EXPECT_DOUBLE_EQ(p.ZoneInflow[3], 18);
    EXPECT_DOUBLE_EQ(p.ZoneInflow[11], 90);
    EXPECT_DOUBLE_EQ(p.AZPPressure[5], 2.345); // nothing is rounded on the way in
    EXPECT_EQ(p.HighPressure, 50.1f);          // the nearest single
    EXPECT_DOUBLE_EQ(p.InflowCost, 3.25);
    EXPECT_DOUBLE_EQ(p.TimeStart1, EncodeTime(6, 0));
    EXPECT_EQ(p.Intervals, 2);
    EXPECT_TRUE(p.FlowUnitsM3h);
    EXPECT_TRUE(p.DisableTimeWarnings);
}

TEST_F(InputCollectionTest, ABadHourlyCellIsNamedByItsHourAndStopsThere) {
    EnterZone();
    ASSERT_TRUE(Collect());
    Do([&] {
        form.FlowGrid.SetEditText(Flow::InflowM3hCol, Flow::HourRow(5),
                                  "33");                                 // 05:00, read before the bad cell
        form.FlowGrid.SetEditText(Flow::AZPCol, Flow::HourRow(5), "4x"); // AZP at 05:00
        form.FlowGrid.SetEditText(Flow::CriticalCol, Flow::HourRow(5), "7"); // read after it: not reached
        form.DomesticNightEdit.SetText("12");                                // a later step: not reached
    });
    const double domesticBefore = form.Project.DomesticNight;
    const double criticalBefore = form.Project.CriticalPressure[5];
    dialogs.Clear();

    EXPECT_FALSE(Collect());
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"AZP pressure at interval 05:00 - 06:00 is invalid.\n"
                                                        "Cannot proceed with calculations."});
    EXPECT_EQ(dialogs.Messages[0].Type, TMsgDlgType::Error);
    EXPECT_DOUBLE_EQ(form.Project.ZoneInflow[5], 33);
    EXPECT_DOUBLE_EQ(form.Project.AZPPressure[5], 0);
    EXPECT_DOUBLE_EQ(form.Project.CriticalPressure[5], criticalBefore);
    EXPECT_DOUBLE_EQ(form.Project.DomesticNight, domesticBefore);
}

TEST_F(InputCollectionTest, EachHourlyColumnHasItsOwnMessage) {
    struct Case {
        int col, row;
        std::string message;
    };
    const std::vector<Case> cases = {
        {1, 1, "Zone Inflow at interval 00:00 - 01:00 is invalid."},
        {3, 24, "Inlet pressure at interval 23:00 - 00:00 is invalid."},
        {5, 12, "Critical pressure at interval 11:00 - 12:00 is invalid."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        EnterZone();
        Do([&] { form.FlowGrid.SetEditText(c.col, c.row, ""); });
        dialogs.Clear();
        EXPECT_FALSE(Collect());
        EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{Invalid(c.message)});
    }
}

TEST_F(InputCollectionTest, NumberSyntaxOfTheEdits) {
    struct Case {
        std::string text;
        bool reads;
        double value;
    };
    const std::vector<Case> cases = {
        {"1e3", true, 1000}, {"-2", true, -2}, {"  1.5", true, 1.5}, {".5", true, 0.5},
        {"5.", true, 5},     {".", true, 0},   {"1.5 ", false, 0},   {"1,5", false, 0},
        {"", false, 0},      {"+", false, 0},  {"1 000", false, 0},  {"2e", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("'" + c.text + "'");
        Do([&] { form.MainsLengthEdit.SetText(c.text); });
        dialogs.Clear();
        EXPECT_EQ(Collect(), c.reads);
        if (c.reads) {
            EXPECT_TRUE(dialogs.Messages.empty());
        } else {
            EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{Invalid("Mains length is invalid.")});
        }
        // A text that does not read leaves 0 in the field.
        EXPECT_DOUBLE_EQ(form.Project.MainsLength, c.value);
    }
}

TEST_F(InputCollectionTest, WholeNumbersAndTheirMessages) {
    struct Case {
        TEdit TMainForm::*edit;
        std::string text;
        std::string message;
    };
    const std::vector<Case> cases = {
        {&TMainForm::PopulationEdit, "", "Population number is invalid."},
        {&TMainForm::PopulationEdit, "12.0", "Population number is invalid."},
        {&TMainForm::NumOfConnectEdit, "1e3", "Number of connections are invalid."},
        {&TMainForm::NumOfServicedEdit, "3000000000", "Number of serviced properties are invalid."},
        {&TMainForm::NumNonResidentialEdit, "x", "Number of Non-residential properties are invalid."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message + " '" + c.text + "'");
        EnterZone();
        TEdit& edit = form.*(c.edit);
        Do([&] { edit.SetText(c.text); });
        dialogs.Clear();
        EXPECT_FALSE(Collect());
        EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{Invalid(c.message)});
        Do([&] { edit.SetText("1"); });
    }
    // Zero and negative counts pass: there are no range checks.
    EnterZone();
    Do([&] {
        form.PopulationEdit.SetText("0");
        form.NumOfConnectEdit.SetText("-4");
    });
    dialogs.Clear();
    EXPECT_TRUE(Collect());
    EXPECT_EQ(form.Project.Population, 0);
    EXPECT_EQ(form.Project.NumOfConnect, -4);
}

TEST_F(InputCollectionTest, EqualFlowTimesFailAfterTheZoneDescriptionIsStored) {
    EnterZone();
    ASSERT_TRUE(Collect());
    const double dailyBefore = form.Project.DailyNonResidential;
    Do([&] {
        form.MainsLengthEdit.SetText("7.25");
        form.PopulationEdit.SetText("420");
        form.TargetElevEdit.SetText("88.5");
        form.DailyNonResidentialEdit.SetText("77"); // read after the flow times: never reached
    });
    form.LowTimePicker.Time = EncodeTime(4, 0);
    form.HighTimePicker.Time = EncodeTime(4, 0);
    dialogs.Clear();

    EXPECT_FALSE(Collect());
    EXPECT_EQ(dialogs.Texts(),
              std::vector<std::string>{Invalid("High flow time and low flow time are the same.")});
    EXPECT_DOUBLE_EQ(form.Project.MainsLength, 7.25);
    EXPECT_EQ(form.Project.Population, 420);
    EXPECT_DOUBLE_EQ(form.Project.TargetElev, 88.5);
    EXPECT_DOUBLE_EQ(form.Project.LowFlowTime, EncodeTime(4, 0));
    EXPECT_DOUBLE_EQ(form.Project.DailyNonResidential, dailyBefore);
}

TEST_F(InputCollectionTest, ABadDailyNonResidentialUseGivesTheEstimatedTotalMessage) {
    EnterZone();
    Do([&] { form.DailyNonResidentialEdit.SetText("1..0"); });
    dialogs.Clear();
    EXPECT_FALSE(Collect());
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{Invalid(
                                   "Estimated total daily non-residential consumption are invalid.")});
}

TEST_F(InputCollectionTest, LaterEditsHaveTheirOwnMessages) {
    struct Case {
        TEdit TMainForm::*edit;
        std::string message;
    };
    // Every edit the collection reads, each with the message only it may give.
    const std::vector<Case> cases = {
        {&TMainForm::MainsLengthEdit, "Mains length is invalid."},
        {&TMainForm::NumOfConnectEdit, "Number of connections are invalid."},
        {&TMainForm::NumOfServicedEdit, "Number of serviced properties are invalid."},
        {&TMainForm::NumNonResidentialEdit, "Number of Non-residential properties are invalid."},
        {&TMainForm::PopulationEdit, "Population number is invalid."},
        {&TMainForm::MinPressureEdit, "Minimum peak demand pressure is invalid."},
        {&TMainForm::MinNightPressureEdit, "Minimum night pressure is invalid."},
        {&TMainForm::InletElevEdit, "Inlet elevation is invalid."},
        {&TMainForm::AZPElevEdit, "AZP elevation is invalid."},
        {&TMainForm::TargetElevEdit, "Target elevation is invalid."},
        {&TMainForm::MainsLossEdit, "Mains losses are invalid."},
        {&TMainForm::ConnectPresEdit, "Connection Pressures are invalid."},
        {&TMainForm::ConnectLossEdit, "Connection losses are invalid."},
        {&TMainForm::PropPressEdit, "Property Pressures are invalid."},
        {&TMainForm::PropertyLossEdit, "Property losses are invalid."},
        {&TMainForm::DailyNonResidentialEdit,
         "Estimated total daily non-residential consumption are invalid."},
        {&TMainForm::N1Edit, "N1 factor is invalid."},
        {&TMainForm::DomesticNightEdit, "Domestic night use is invalid."},
        {&TMainForm::PopActiveEdit, "Active population is invalid."},
        {&TMainForm::NonDomMeterEdit, "Non domestic metered use is invalid."},
        {&TMainForm::NonDomUnmeterEdit, "Non domestic unmetered use is invalid."},
        {&TMainForm::FixedPRVOutletEdit, "Fixed PRV Outlet Pressure is invalid."},
        {&TMainForm::HighPressureEdit, "High pressure value for time modulated output is invalid."},
        {&TMainForm::LowPressureEdit, "Low pressure value for time modulated output is invalid."},
        {&TMainForm::InflowCostEdit, "Inflow cost is invalid."},
        {&TMainForm::ConsumpCostsEdit, "Consumption cost is invalid."},
        {&TMainForm::ResConsumpChangeEdit, "Residential consumption change is invalid."},
        {&TMainForm::NonresConsumpChangeEdit, "Non-residential consumption change is invalid."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        EnterZone();
        // A text no key could produce, as if pasted; set without the edit's own handler.
        TEdit& edit = form.*(c.edit);
        const std::string before = edit.Text();
        edit.InitText("1.2.3");
        EXPECT_FALSE(Collect());
        EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{Invalid(c.message)});
        edit.InitText(before);
        dialogs.Clear();
    }
}

TEST_F(InputCollectionTest, WithLitresPerSecondTheCubicMetreColumnIsStillTheOneRead) {
    EnterZone();
    Do([&] {
        form.lsRadio.Click();
        form.FlowGrid.SetEditText(Flow::InflowLsCol, Flow::HourRow(7), "10"); // 07:00 in l/s
    });
    dialogs.Clear();
    ASSERT_TRUE(Collect());
    EXPECT_FALSE(form.Project.FlowUnitsM3h);
    EXPECT_DOUBLE_EQ(form.Project.ZoneInflow[7], 36);

    // A blank m³/h cell is reported as the hour's inflow.
    form.FlowGrid.SetCell(Flow::InflowM3hCol, Flow::HourRow(8), "");
    EXPECT_FALSE(Collect());
    EXPECT_EQ(dialogs.Texts(),
              std::vector<std::string>{Invalid("Zone Inflow at interval 08:00 - 09:00 is invalid.")});
}

TEST_F(InputCollectionTest, AFailedCollectionByAKeyShowsOneMessageAndRunsNoNightFlow) {
    EnterZone();
    Do([&] { form.FlowGrid.SetEditText(Flow::InletCol, Flow::HourRow(1), ""); });
    // The population reaches the record only through the collection, before the bad cell.
    Do([&] { form.PopulationEdit.SetText("5000"); });
    const std::string nightUseBefore = form.ResidentialNightLabel.Caption;
    dialogs.Clear();

    Do([&] { form.MainsLengthEdit.TypeKey('1'); });
    EXPECT_EQ(dialogs.Texts(),
              std::vector<std::string>{Invalid("Inlet pressure at interval 01:00 - 02:00 is invalid.")});
    EXPECT_EQ(form.Project.Population, 5000);
    EXPECT_EQ(form.ResidentialNightLabel.Caption, nightUseBefore);

    // Mended, the next key runs the night flow with the new population.
    Do([&] { form.FlowGrid.SetEditText(Flow::InletCol, Flow::HourRow(1), "60"); });
    dialogs.Clear();
    Do([&] { form.MainsLengthEdit.TypeKey('2'); });
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_NE(form.ResidentialNightLabel.Caption, nightUseBefore);
}
