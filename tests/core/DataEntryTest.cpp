// Typing into the window: the numeric key filter, the hourly table in both inflow units,
// the unit switch and the Enter key in the tables.
#include "DriverFixture.h"

#include <string>
#include <vector>

using namespace halvern;
using halvern::testing::DriverFixture;

class DataEntryTest : public DriverFixture {};

TEST_F(DataEntryTest, TheKeyFilterAcceptsOnlyKeysThatLeaveANumber) {
    struct Case {
        std::string before;
        char key;
        bool accepted;
        std::string after;
    };
    const std::vector<Case> cases = {
        {"1.5", '7', true, "1.57"},  {"1.5", '.', false, "1.5"}, {"1.5", '-', false, "1.5"},
        {"", '-', false, ""},        {"", '.', true, "."},       {"", '+', false, ""},
        {"1.5", 'a', false, "1.5"},  {"1.5", 'e', false, "1.5"}, {"1.5", ' ', false, "1.5"},
        {"1.5", '\r', false, "1.5"}, {"1.5", 27, false, "1.5"},  {"1.5", 22, false, "1.5"}, // Esc, Ctrl+V
        {"1.5", 3, false, "1.5"},    {"1.5", ',', false, "1.5"}, {"12", '0', true, "120"},
    };
    EnterZone();
    for (const Case& c : cases) {
        SCOPED_TRACE("'" + c.before + "' + " + std::to_string(static_cast<int>(c.key)));
        Do([&] {
            form.MainsLengthEdit.SetText(c.before);
            // Whether the inputs were collected shows in the population, which only the
            // collection stores.
            form.PopulationEdit.SetText(c.accepted ? "111" : "222");
        });
        form.Project.Population = 0;
        dialogs.Clear();
        Do([&] { form.MainsLengthEdit.TypeKey(c.key); });
        EXPECT_EQ(form.MainsLengthEdit.Text(), c.after);
        if (c.accepted && c.before.empty()) {
            // The collection saw the edit still empty.
            EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Mains length is invalid.\n"
                                                                "Cannot proceed with calculations."});
        } else {
            EXPECT_EQ(form.Project.Population, c.accepted ? 111 : 0);
            EXPECT_TRUE(dialogs.Messages.empty());
        }
    }
    // Backspace always passes and collects nothing.
    Do([&] { form.MainsLengthEdit.SetText("1.5"); });
    form.Project.Population = 0;
    Do([&] { form.MainsLengthEdit.TypeKey('\b'); });
    EXPECT_EQ(form.MainsLengthEdit.Text(), "1.");
    EXPECT_EQ(form.Project.Population, 0);
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(DataEntryTest, EveryNumericEditHasTheFilterAndTheTextEditsNone) {
    for (TEdit* edit : form.Controls.With<TEdit>(TControlFlag::NumericKeys)) {
        SCOPED_TRACE(edit->Name);
        const std::string before = edit->Text();
        Do([&] { edit->TypeKey('z'); });
        EXPECT_EQ(edit->Text(), before);
    }
    for (TEdit* edit : {&form.ZoneNameEdit, &form.LPFlowMod}) {
        SCOPED_TRACE(edit->Name);
        EXPECT_FALSE(edit->OnKeyPress);
    }
    // The filter is a flag each edit is declared with: an edit declared without it is one
    // of the free texts or the two flow-modulation pressures, never a forgotten number.
    std::vector<std::string> unfiltered;
    for (const TEdit* edit : form.Controls.All<TEdit>())
        if (!edit->Has(TControlFlag::NumericKeys)) unfiltered.push_back(edit->Name);
    EXPECT_EQ(unfiltered, (std::vector<std::string>{"ZoneNameEdit", "ZoneRefEdit", "WaterSupplySystemEdit",
                                                    "ReportNumEdit", "LPFlowMod", "HPFlowMod"}));
    EXPECT_EQ(form.Controls.With<TEdit>(TControlFlag::NumericKeys).size(), 31u);
}

TEST_F(DataEntryTest, InflowTypedInCubicMetresFillsTheLitresColumn) {
    Do([&] {
        form.FlowGrid.SetEditText(1, 4, "3"); // the editor reports every key
        form.FlowGrid.SetEditText(1, 4, "36");
    });
    EXPECT_EQ(form.FlowGrid.Cell(2, 4), "   10.00");

    // Zero, negative or unreadable values leave the litres as they were.
    for (const std::string text : {"0", "-5", "3x"}) {
        SCOPED_TRACE(text);
        Do([&] { form.FlowGrid.SetEditText(1, 4, text); });
        EXPECT_EQ(form.FlowGrid.Cell(2, 4), "   10.00");
    }
    Do([&] { form.FlowGrid.SetEditText(1, 4, ""); });
    EXPECT_EQ(form.FlowGrid.Cell(1, 4), "");
    EXPECT_EQ(form.FlowGrid.Cell(2, 4), "0");

    // The litres column is derived: typing into it is refused.
    Do([&] { form.FlowGrid.SetEditText(2, 5, "99"); });
    EXPECT_NE(form.FlowGrid.Cell(2, 5), "99");
    EXPECT_EQ(dialogs.Beeps, 1);
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(DataEntryTest, InflowTypedInLitresFillsTheCubicMetreColumn) {
    Do([&] { form.lsRadio.Click(); });
    Do([&] { form.FlowGrid.SetEditText(2, 4, "10"); });
    EXPECT_EQ(form.FlowGrid.Cell(1, 4), "   36.00");
    Do([&] { form.FlowGrid.SetEditText(2, 4, "0"); });
    EXPECT_EQ(form.FlowGrid.Cell(1, 4), "0.00");
    Do([&] { form.FlowGrid.SetEditText(2, 4, "1000"); });
    EXPECT_EQ(form.FlowGrid.Cell(1, 4), " 3600.00");
    Do([&] { form.FlowGrid.SetEditText(2, 4, ""); });
    EXPECT_EQ(form.FlowGrid.Cell(1, 4), "0");
    EXPECT_EQ(form.FlowGrid.Cell(2, 4), "");

    // An unreadable l/s text leaves no stale inflow behind: the hour is reported.
    EnterZone();
    Do([&] { form.FlowGrid.SetEditText(2, 4, "1x"); });
    EXPECT_EQ(form.FlowGrid.Cell(1, 4), "");
    EXPECT_FALSE(Collect());
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Zone Inflow at interval 03:00 - 04:00 is invalid.\n"
                                                        "Cannot proceed with calculations."});
}

TEST_F(DataEntryTest, TheUnitSwitchChangesWhichColumnIsTypedIntoButNoNumber) {
    EnterZone();
    std::vector<std::string> before;
    for (int row = 1; row <= 24; ++row) {
        before.push_back(form.FlowGrid.Cell(1, row));
        before.push_back(form.FlowGrid.Cell(2, row));
    }
    const TColor headingFont = form.FlowGrid.GetFontColour(1, 0);
    // A picker change cleared the row marks; the switch puts them back.
    Do([&] { form.HighTimePicker.UserChange(EncodeTime(11, 0)); });
    ASSERT_EQ(form.FlowGrid.GetColour(3, 4), clNone);

    Do([&] { form.lsRadio.Click(); });
    std::vector<std::string> after;
    for (int row = 1; row <= 24; ++row) {
        after.push_back(form.FlowGrid.Cell(1, row));
        after.push_back(form.FlowGrid.Cell(2, row));
    }
    EXPECT_EQ(after, before);
    EXPECT_FALSE(form.Project.FlowUnitsM3h);
    EXPECT_TRUE(form.FlowGrid.GetCellLock(1, 7));
    EXPECT_FALSE(form.FlowGrid.GetCellLock(2, 7));
    EXPECT_EQ(form.FlowGrid.GetFontColour(1, 7), clBlue);
    EXPECT_EQ(form.FlowGrid.GetFontColour(2, 7), clRed);
    EXPECT_EQ(form.FlowGrid.GetFontColour(1, 0), headingFont);
    EXPECT_EQ(form.FlowGrid.GetColour(3, 4), clAqua);    // 03:00
    EXPECT_EQ(form.FlowGrid.GetColour(3, 12), clYellow); // 11:00

    Do([&] { form.FlowGrid.SetEditText(1, 7, "5"); });
    EXPECT_EQ(form.FlowGrid.Cell(1, 7), before[12]);
    EXPECT_EQ(dialogs.Beeps, 1);

    Do([&] { form.m3hrRadio.Click(); });
    EXPECT_TRUE(form.Project.FlowUnitsM3h);
    EXPECT_FALSE(form.FlowGrid.GetCellLock(1, 7));
    EXPECT_TRUE(form.FlowGrid.GetCellLock(2, 7));
    EXPECT_EQ(form.FlowGrid.GetFontColour(1, 7), clRed);
    EXPECT_EQ(form.FlowGrid.GetFontColour(2, 7), clBlue);
}

TEST_F(DataEntryTest, EnterMovesDownThenToTheTopOfTheNextColumn) {
    struct Case {
        TMarkStringGrid TMainForm::*grid;
        int col, row;
        int newCol, newRow;
    };
    const std::vector<Case> cases = {
        {&TMainForm::FlowGrid, 3, 7, 3, 8},      {&TMainForm::FlowGrid, 2, 24, 3, 1},
        {&TMainForm::FlowGrid, 5, 24, 1, 1},     {&TMainForm::FixedPRVGrid, 3, 25, 4, 2},
        {&TMainForm::FixedPRVGrid, 9, 25, 1, 2}, {&TMainForm::CurrentGrid, 8, 25, 1, 2},
        {&TMainForm::CurrentGrid, 2, 2, 2, 3},   {&TMainForm::TimePRVGrid, 2, 25, 3, 2},
        {&TMainForm::FlowPRVGrid, 9, 25, 1, 2},  {&TMainForm::FlowPRVGrid, 4, 10, 4, 11},
    };
    for (const Case& c : cases) {
        TMarkStringGrid& grid = form.*(c.grid);
        SCOPED_TRACE(grid.Name + " " + std::to_string(c.col) + "," + std::to_string(c.row));
        grid.Col = c.col;
        grid.Row = c.row;
        char key = '\r';
        Do([&] { grid.KeyPress(key); });
        EXPECT_EQ(grid.Col, c.newCol);
        EXPECT_EQ(grid.Row, c.newRow);
    }
}

// Typing a day of values column by column: the last hour leads to the next column that
// takes typing, never into the locked derived inflow or the worked-out N1 columns.
TEST_F(DataEntryTest, EnterFromTheLastRowPassesOverLockedColumns) {
    struct Case {
        bool m3h;
        int col, newCol;
    };
    const std::vector<Case> flowCases = {
        {true, 1, 3},  // m³/hr typed: the l/s column is locked
        {true, 5, 1},  // wraps to the m³/hr column
        {false, 1, 2}, // l/s typed: from the locked m³/hr column into l/s
        {false, 5, 2}, // wraps past the locked m³/hr column
        {false, 2, 3},
    };
    for (const Case& c : flowCases) {
        SCOPED_TRACE(std::string(c.m3h ? "m3/hr " : "l/s ") + std::to_string(c.col));
        Do([&] { (c.m3h ? form.m3hrRadio : form.lsRadio).Click(); });
        form.FlowGrid.Col = c.col;
        form.FlowGrid.Row = 24;
        char key = '\r';
        Do([&] { form.FlowGrid.KeyPress(key); });
        EXPECT_EQ(form.FlowGrid.Col, c.newCol);
        EXPECT_EQ(form.FlowGrid.Row, 1);
        EXPECT_EQ(key, 0);
    }

    TN1CalculationForm& n1 = form.N1CalculationForm;
    Do([&] { form.N1CalculationClick(); });
    const std::vector<std::pair<int, int>> n1Cases = {{1, 2}, {5, 6}, {6, 1}};
    for (const auto& [col, newCol] : n1Cases) {
        SCOPED_TRACE("N1Grid " + std::to_string(col));
        n1.N1Grid.Col = col;
        n1.N1Grid.Row = 5;
        char key = '\r';
        Do([&] { n1.N1Grid.KeyPress(key); });
        EXPECT_EQ(n1.N1Grid.Col, newCol);
        EXPECT_EQ(n1.N1Grid.Row, 2);
    }
    n1.N1Grid.Row = 3;
    char key = '\r';
    Do([&] { n1.N1Grid.KeyPress(key); });
    EXPECT_EQ(n1.N1Grid.Row, 4);
}

TEST_F(DataEntryTest, OtherKeysPassAndTheBusyFlowModulatedTableIgnoresKeys) {
    form.FixedPRVGrid.Col = 3;
    form.FixedPRVGrid.Row = 5;
    char key = 'a';
    Do([&] { form.FixedPRVGrid.KeyPress(key); });
    EXPECT_EQ(key, 'a');
    EXPECT_EQ(form.FixedPRVGrid.Row, 5);

    form.FlowPRVGrid.Col = 3;
    form.FlowPRVGrid.Row = 5;
    form.FlowPRVBusy = true;
    key = '\r';
    Do([&] { form.FlowPRVGrid.KeyPress(key); });
    EXPECT_EQ(form.FlowPRVGrid.Row, 5);
    EXPECT_EQ(key, 0);
}
