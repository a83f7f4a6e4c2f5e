// Typing into the window: the numeric key filter, the hourly table in both inflow units,
// the unit switch and the Enter key in the tables.
#include "DriverFixture.h"
#include "forms/TableLayouts.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace halvern;
namespace Flow = FlowGridLayout;
namespace N1 = N1GridLayout;
namespace PRV = PRVGridLayout;
using halvern::test::DriverFixture;

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
        {"1.5", '\r', false, "1.5"}, {"1.5", 27, false, "1.5"}, // Esc
        {"1.5", ',', false, "1.5"},  {"12", '0', true, "120"},
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
        // An accepted key collects the inputs with the key in place ("." reads as 0).
        EXPECT_EQ(form.Project.Population, c.accepted ? 111 : 0);
        EXPECT_TRUE(dialogs.Messages.empty());
    }
    // Backspace always passes, and the inputs are collected as they then read.
    Do([&] { form.MainsLengthEdit.SetText("1.5"); });
    form.Project.Population = 0;
    Do([&] { form.MainsLengthEdit.TypeKey('\b'); });
    EXPECT_EQ(form.MainsLengthEdit.Text(), "1.");
    EXPECT_EQ(form.Project.Population, 111);
    EXPECT_DOUBLE_EQ(form.Project.MainsLength, 1.0);
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
        form.FlowGrid.SetEditText(Flow::InflowM3hCol, Flow::HourRow(3), "3"); // the editor reports every key
        form.FlowGrid.SetEditText(Flow::InflowM3hCol, Flow::HourRow(3), "36");
    });
    EXPECT_EQ(form.FlowGrid.Cell(Flow::InflowLsCol, Flow::HourRow(3)), "10.00");

    // Zero and negative inflows are converted too: the litres never show a flow since
    // replaced. A text that is no number leaves them.
    const std::pair<const char*, const char*> cases[] = {{"0", "0.00"}, {"-5", "-1.39"}, {"3x", "-1.39"}};
    for (const auto& [text, litres] : cases) {
        SCOPED_TRACE(text);
        Do([&] { form.FlowGrid.SetEditText(Flow::InflowM3hCol, Flow::HourRow(3), text); });
        EXPECT_EQ(form.FlowGrid.Cell(Flow::InflowLsCol, Flow::HourRow(3)), litres);
    }
    Do([&] { form.FlowGrid.SetEditText(Flow::InflowM3hCol, Flow::HourRow(3), ""); });
    EXPECT_EQ(form.FlowGrid.Cell(Flow::InflowM3hCol, Flow::HourRow(3)), "");
    EXPECT_EQ(form.FlowGrid.Cell(Flow::InflowLsCol, Flow::HourRow(3)), "0");

    // The litres column is derived: typing into it is refused.
    Do([&] { form.FlowGrid.SetEditText(Flow::InflowLsCol, Flow::HourRow(4), "99"); });
    EXPECT_NE(form.FlowGrid.Cell(Flow::InflowLsCol, Flow::HourRow(4)), "99");
    EXPECT_EQ(dialogs.Beeps, 1);
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(DataEntryTest, InflowTypedInLitresFillsTheCubicMetreColumn) {
    Do([&] { form.lsRadio.Click(); });
    Do([&] { form.FlowGrid.SetEditText(Flow::InflowLsCol, Flow::HourRow(3), "10"); });
    EXPECT_EQ(form.FlowGrid.Cell(Flow::InflowM3hCol, Flow::HourRow(3)), "36.00");
    Do([&] { form.FlowGrid.SetEditText(Flow::InflowLsCol, Flow::HourRow(3), "0"); });
    EXPECT_EQ(form.FlowGrid.Cell(Flow::InflowM3hCol, Flow::HourRow(3)), "0.00");
    Do([&] { form.FlowGrid.SetEditText(Flow::InflowLsCol, Flow::HourRow(3), "1000"); });
    EXPECT_EQ(form.FlowGrid.Cell(Flow::InflowM3hCol, Flow::HourRow(3)), "3600.00");
    Do([&] { form.FlowGrid.SetEditText(Flow::InflowLsCol, Flow::HourRow(3), ""); });
    EXPECT_EQ(form.FlowGrid.Cell(Flow::InflowM3hCol, Flow::HourRow(3)), "0");
    EXPECT_EQ(form.FlowGrid.Cell(Flow::InflowLsCol, Flow::HourRow(3)), "");

    // An unreadable l/s text leaves no stale inflow behind: the hour is reported.
    EnterZone();
    Do([&] { form.FlowGrid.SetEditText(Flow::InflowLsCol, Flow::HourRow(3), "1x"); });
    EXPECT_EQ(form.FlowGrid.Cell(Flow::InflowM3hCol, Flow::HourRow(3)), "");
    EXPECT_FALSE(Collect());
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Zone Inflow at interval 03:00 - 04:00 is invalid.\n"
                                                        "Cannot proceed with calculations."});
}

TEST_F(DataEntryTest, OneHourTypedInLitresConvertsThatHourOnly) {
    using namespace FlowGridLayout;
    // Inflows typed in m³/hr whose l/s equivalents do not go back to the same two decimals.
    Do([&] {
        for (int hour = 0; hour < HoursPerDay; ++hour)
            form.FlowGrid.SetEditText(InflowM3hCol, HourRow(hour), hour % 2 ? "62" : "150");
    });
    const auto texts = [&] {
        std::vector<std::string> all;
        for (int hour = 0; hour < HoursPerDay; ++hour)
            for (int col : {InflowM3hCol, InflowLsCol})
                all.push_back(form.FlowGrid.Cell(col, HourRow(hour)));
        return all;
    };
    const std::vector<std::string> before = texts();
    Do([&] { form.lsRadio.Click(); });
    Do([&] { form.FlowGrid.SetEditText(InflowLsCol, HourRow(5), "20"); });

    std::vector<std::string> after = texts();
    EXPECT_EQ(after[10], "72.00");
    EXPECT_EQ(after[11], "20");
    // Every other hour keeps its texts byte for byte, and so does the file it is saved to.
    after[10] = before[10];
    after[11] = before[11];
    EXPECT_EQ(after, before);
    ASSERT_TRUE(Collect());
    EXPECT_EQ(form.Project.ZoneInflow[4], 150);
    EXPECT_EQ(form.Project.ZoneInflow[7], 62);
}

TEST_F(DataEntryTest, TheUnitSwitchChangesWhichColumnIsTypedIntoButNoNumber) {
    EnterZone();
    std::vector<std::string> before;
    for (int row = 1; row <= 24; ++row) {
        before.push_back(form.FlowGrid.Cell(Flow::InflowM3hCol, row));
        before.push_back(form.FlowGrid.Cell(Flow::InflowLsCol, row));
    }
    const TColor headingFont = form.FlowGrid.GetFontColour(Flow::InflowM3hCol, Flow::HeadingRow);
    Do([&] { form.HighTimePicker.UserChange(EncodeTime(11, 0)); });

    Do([&] { form.lsRadio.Click(); });
    std::vector<std::string> after;
    for (int row = 1; row <= 24; ++row) {
        after.push_back(form.FlowGrid.Cell(Flow::InflowM3hCol, row));
        after.push_back(form.FlowGrid.Cell(Flow::InflowLsCol, row));
    }
    EXPECT_EQ(after, before);
    EXPECT_FALSE(form.Project.FlowUnitsM3h);
    EXPECT_TRUE(form.FlowGrid.GetCellLock(Flow::InflowM3hCol, Flow::HourRow(6)));
    EXPECT_FALSE(form.FlowGrid.GetCellLock(Flow::InflowLsCol, Flow::HourRow(6)));
    EXPECT_EQ(form.FlowGrid.GetFontColour(Flow::InflowM3hCol, Flow::HourRow(6)), clBlue);
    EXPECT_EQ(form.FlowGrid.GetFontColour(Flow::InflowLsCol, Flow::HourRow(6)), clRed);
    EXPECT_EQ(form.FlowGrid.GetFontColour(Flow::InflowM3hCol, Flow::HeadingRow), headingFont);
    EXPECT_EQ(form.FlowGrid.GetColour(Flow::InletCol, Flow::HourRow(3)), clAqua);    // 03:00
    EXPECT_EQ(form.FlowGrid.GetColour(Flow::InletCol, Flow::HourRow(11)), clYellow); // 11:00

    Do([&] { form.FlowGrid.SetEditText(Flow::InflowM3hCol, Flow::HourRow(6), "5"); });
    EXPECT_EQ(form.FlowGrid.Cell(Flow::InflowM3hCol, Flow::HourRow(6)), before[12]);
    EXPECT_EQ(dialogs.Beeps, 1);

    Do([&] { form.m3hrRadio.Click(); });
    EXPECT_TRUE(form.Project.FlowUnitsM3h);
    EXPECT_FALSE(form.FlowGrid.GetCellLock(Flow::InflowM3hCol, Flow::HourRow(6)));
    EXPECT_TRUE(form.FlowGrid.GetCellLock(Flow::InflowLsCol, Flow::HourRow(6)));
    EXPECT_EQ(form.FlowGrid.GetFontColour(Flow::InflowM3hCol, Flow::HourRow(6)), clRed);
    EXPECT_EQ(form.FlowGrid.GetFontColour(Flow::InflowLsCol, Flow::HourRow(6)), clBlue);
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
        form.FlowGrid.Row = Flow::LastHourRow;
        char key = '\r';
        Do([&] { form.FlowGrid.KeyPress(key); });
        EXPECT_EQ(form.FlowGrid.Col, c.newCol);
        EXPECT_EQ(form.FlowGrid.Row, Flow::FirstHourRow);
        EXPECT_EQ(key, 0);
    }

    TN1CalculationForm& n1 = form.N1CalculationForm;
    Do([&] { form.N1CalculationClick(); });
    const std::vector<std::pair<int, int>> n1Cases = {{1, 2}, {5, 6}, {6, 1}};
    for (const auto& [col, newCol] : n1Cases) {
        SCOPED_TRACE("N1Grid " + std::to_string(col));
        n1.N1Grid.Col = col;
        n1.N1Grid.Row = N1::Stage3Row;
        char key = '\r';
        Do([&] { n1.N1Grid.KeyPress(key); });
        EXPECT_EQ(n1.N1Grid.Col, newCol);
        EXPECT_EQ(n1.N1Grid.Row, N1::StartRow);
    }
    n1.N1Grid.Row = N1::Stage1Row;
    char key = '\r';
    Do([&] { n1.N1Grid.KeyPress(key); });
    EXPECT_EQ(n1.N1Grid.Row, N1::Stage2Row);
}

TEST_F(DataEntryTest, OtherKeysPassAndTheBusyFlowModulatedTableIgnoresKeys) {
    form.FixedPRVGrid.Col = PRV::AZPCol;
    form.FixedPRVGrid.Row = PRV::HourRow(3);
    char key = 'a';
    Do([&] { form.FixedPRVGrid.KeyPress(key); });
    EXPECT_EQ(key, 'a');
    EXPECT_EQ(form.FixedPRVGrid.Row, PRV::HourRow(3));

    form.FlowPRVGrid.Col = PRV::AZPCol;
    form.FlowPRVGrid.Row = PRV::HourRow(3);
    form.FlowPRVBusy = true;
    key = '\r';
    Do([&] { form.FlowPRVGrid.KeyPress(key); });
    EXPECT_EQ(form.FlowPRVGrid.Row, PRV::HourRow(3));
    EXPECT_EQ(key, 0);
}

TEST_F(DataEntryTest, TheEditingKeysPassTheFilterAndCollectNothing) {
    // Ctrl+A, Ctrl+C, Ctrl+V, Ctrl+X, Ctrl+Z select, copy, paste, cut and undo in the edit;
    // they are commands, not characters, so they neither collect the inputs nor land in the text.
    EnterZone();
    for (const char key : {'\x01', '\x03', '\x16', '\x18', '\x1a'}) {
        SCOPED_TRACE(static_cast<int>(key));
        Do([&] { form.MainsLengthEdit.SetText("1.5"); });
        form.Project.Population = 0;
        char passed = key;
        Do([&] { form.MainsLengthEdit.OnKeyPress(passed); });
        EXPECT_EQ(passed, key);
        Do([&] { form.MainsLengthEdit.TypeKey(key); });
        EXPECT_EQ(form.MainsLengthEdit.Text(), "1.5");
        EXPECT_EQ(form.Project.Population, 0);
    }
    // Other control keys are refused as before.
    for (const char key : {'\x02', '\x19', '\r'}) {
        char passed = key;
        Do([&] { form.MainsLengthEdit.OnKeyPress(passed); });
        EXPECT_EQ(passed, 0) << static_cast<int>(key);
    }
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(DataEntryTest, APasteMustLeaveANumberAsATypedKeyMust) {
    struct Case {
        std::string before, after;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {"3", "312", true},      // pasted at the end
        {"3", "1.25e2", true},   // an exponent pasted whole reads as a number
        {"3", "3abc", false},    // letters
        {"1.5", "1.5.2", false}, // a second point
        {"3", "-4", true},       // a whole signed number
        {"3", "-", false},       // a sign alone
        {"1.5", "", true},       // cut away
        {"1e5", "1e", true},     // only characters taken out: as Backspace, always allowed
        {"1e5", "1x", false},    // a selection replaced by a letter is no removal
        {"abc", "ab", true},     // a bad text from a file can be mended key by key
        {"", ".", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("'" + c.before + "' -> '" + c.after + "'");
        Do([&] { form.PopulationEdit.SetText(c.before); });
        bool stored = false;
        Do([&] { stored = form.PopulationEdit.UserChange(c.after); });
        EXPECT_EQ(stored, c.accepted);
        EXPECT_EQ(form.PopulationEdit.Text(), c.accepted ? c.after : c.before);
    }
    // Every numeric edit has the rule; the free texts take any paste.
    for (TEdit* edit : form.Controls.With<TEdit>(TControlFlag::NumericKeys))
        EXPECT_FALSE(edit->Accepts("12 m")) << edit->Name;
    bool stored = false;
    Do([&] { stored = form.ZoneNameEdit.UserChange("Zone 12 - East"); });
    EXPECT_TRUE(stored);
    EXPECT_EQ(form.Project.ZoneName, "Zone 12 - East");
}

TEST_F(DataEntryTest, HourlyAndN1NumberCellsTakeOnlyKeysThatKeepANumber) {
    // A letter in an hourly cell would be counted as 0 by the current situation.
    struct Case {
        bool editing;
        std::string cell;
        char key;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {false, "40.00", '5', true},  // the first key replaces the cell: judged alone
        {false, "40.00", '.', true},  //
        {false, "40.00", 'a', false}, //
        {false, "40.00", '-', false}, // a sign alone is no number
        {true, "40", '5', true},      // while editing: judged at the end of the text
        {true, "40", '.', true},      //
        {true, "40.", '.', false},    //
        {true, "40", 'x', false},     //
        {true, "40", ' ', false},     //
        {true, "40", '\b', true},     // Backspace, Enter, Escape keep their work
        {true, "40", '\x1b', true},   //
    };
    const int row = Flow::HourRow(6);
    for (const int col : {Flow::InflowM3hCol, Flow::InletCol, Flow::AZPCol, Flow::CriticalCol}) {
        for (const Case& c : cases) {
            SCOPED_TRACE("col " + std::to_string(col) + " '" + c.cell + "' + " + std::to_string(c.key));
            form.FlowGrid.SetCell(col, row, c.cell);
            form.FlowGrid.Col = col;
            form.FlowGrid.Row = row;
            form.FlowGrid.EditorMode = c.editing;
            char key = c.key;
            Do([&] { form.FlowGrid.KeyPress(key); });
            EXPECT_EQ(key != 0, c.accepted);
        }
    }
    form.FlowGrid.EditorMode = false;
    // The heading column is no number cell; Enter still moves.
    EXPECT_FALSE(form.FlowGrid.NumberCell(Flow::HourCol, row));
    EXPECT_FALSE(form.FlowGrid.NumberCell(Flow::InletCol, Flow::HeadingRow));
    char enter = '\r';
    form.FlowGrid.Col = Flow::InletCol;
    Do([&] { form.FlowGrid.KeyPress(enter); });
    EXPECT_EQ(form.FlowGrid.Row, row + 1);

    // A paste into the editor follows the edits' rule.
    EXPECT_TRUE(form.FlowGrid.AcceptsEditText(Flow::InletCol, row, "40", "40.5"));
    EXPECT_FALSE(form.FlowGrid.AcceptsEditText(Flow::InletCol, row, "40", "abc"));
    EXPECT_TRUE(form.FlowGrid.AcceptsEditText(Flow::InletCol, row, "40", ""));
    EXPECT_TRUE(form.FlowGrid.AcceptsEditText(Flow::HourCol, row, "", "any text")); // not a number cell

    // The N1 window: the measured pressures and inflow are numbers; the times are times of
    // day (a letter is refused there too, with a word about it).
    TMarkStringGrid& n1 = form.N1CalculationForm.N1Grid;
    Do([&] { form.N1CalculationClick(); });
    for (int col = 1; col <= 6; ++col) {
        SCOPED_TRACE("N1Grid col " + std::to_string(col));
        n1.Col = col;
        n1.Row = N1::Stage1Row;
        char key = 'h';
        Do([&] { n1.KeyPress(key); });
        EXPECT_EQ(key, 0);
        key = '7';
        Do([&] { n1.KeyPress(key); });
        EXPECT_EQ(key, '7');
    }
}

TEST_F(DataEntryTest, AnUnchangedTableStillTakesAnyTextFromAFileOrTheProgram) {
    // The rule guards typing, not the cells: a file's text lands as before and the
    // collection names it when the data are next collected.
    Do([&] { form.FlowGrid.SetEditText(Flow::InletCol, Flow::HourRow(4), "abc"); });
    EXPECT_EQ(form.FlowGrid.Cell(Flow::InletCol, Flow::HourRow(4)), "abc");
}

TEST_F(DataEntryTest, CopyingATableGivesItsSelectedCellsTabSeparated) {
    TMarkStringGrid& g = form.FlowGrid;
    g.SetCell(Flow::InletCol, Flow::HourRow(1), "41");
    g.SetCell(Flow::AZPCol, Flow::HourRow(1), "31");
    g.SetCell(Flow::InletCol, Flow::HourRow(2), "42");
    g.SetCell(Flow::AZPCol, Flow::HourRow(2), "32");
    g.Col = Flow::InletCol;
    g.Row = Flow::HourRow(1);
    EXPECT_EQ(g.SelectionText(), "41\n"); // the current cell alone
    g.AnchorCol = Flow::AZPCol;
    g.AnchorRow = Flow::HourRow(2);
    EXPECT_EQ(g.SelectionText(), "41\t31\n42\t32\n");
    EXPECT_EQ(g.DrawStateOf(Flow::AZPCol, Flow::HourRow(2)), gdSelected);
    EXPECT_EQ(g.DrawStateOf(Flow::CriticalCol, Flow::HourRow(2)), 0u);
    // Enter moves on and drops the range.
    char enter = '\r';
    Do([&] { g.KeyPress(enter); });
    EXPECT_EQ(g.SelectionText(), g.Cell(Flow::InletCol, Flow::HourRow(2)) + "\n");
    g.SelectAll();
    const std::string all = g.SelectionText();
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 24);
    EXPECT_EQ(std::count(all.begin(), all.end(), '\t'), 24 * 4);
    EXPECT_EQ(all.substr(0, all.find('\t')), g.Cell(Flow::InflowM3hCol, Flow::HourRow(0)));
}
