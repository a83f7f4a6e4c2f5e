// Pasting blocks copied from a spreadsheet into the hourly table, the N1 table and the
// implementation costs table.
#include "forms/TablePaste.h"
#include "IoFixture.h"
#include "forms/TableLayouts.h"

#include <gmock/gmock.h>

using namespace halvern;
using namespace halvern::test;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

std::vector<std::string> Row(TMainForm& form, int row) {
    std::vector<std::string> cells;
    for (int col = 1; col <= 5; ++col)
        cells.push_back(form.FlowGrid.Cell(col, row));
    return cells;
}

void Paste(TMarkStringGrid& grid, int col, int row, const std::string& text) {
    grid.Col = col;
    grid.Row = row;
    grid.OnPaste(text);
}

} // namespace

TEST(TablePaste, DayOfFourColumnsFillsTheTypedColumns) {
    TShownForm form;
    std::string block;
    for (int h = 0; h < 24; ++h)
        block +=
            std::to_string(60 + h) + "\t6" + std::to_string(h % 10) + ",5\t50\t30" + (h < 23 ? "\r\n" : "");
    // With m³/hr typed, the block skips the derived l/s column.
    Paste(form->FlowGrid, FlowGridLayout::InflowM3hCol, 1, block);
    EXPECT_THAT(form.Dialogs.Messages, IsEmpty());
    EXPECT_THAT(Row(*form, 1), ElementsAre("60", "16.67", "60.5", "50", "30"));
    EXPECT_THAT(Row(*form, 24), ElementsAre("83", "23.06", "63.5", "50", "30"));

    // With l/s typed the block starts in the l/s column; m³/h follows as typing makes it.
    form->lsRadio.Click();
    Paste(form->FlowGrid, FlowGridLayout::InflowLsCol, 1, "10\t61\t51\t31\n");
    EXPECT_THAT(Row(*form, 1), ElementsAre("36.00", "10", "61", "51", "31"));
}

TEST(TablePaste, OneColumnAndOneCell) {
    TShownForm form;
    std::string column;
    for (int h = 0; h < 24; ++h)
        column += std::to_string(20 + h) + "\n";
    Paste(form->FlowGrid, FlowGridLayout::CriticalCol, 1, column);
    EXPECT_EQ(form->FlowGrid.Cell(FlowGridLayout::CriticalCol, 1), "20");
    EXPECT_EQ(form->FlowGrid.Cell(FlowGridLayout::CriticalCol, 24), "43");
    Paste(form->FlowGrid, FlowGridLayout::InletCol, 7, " 58.25\r\n");
    EXPECT_EQ(form->FlowGrid.Cell(FlowGridLayout::InletCol, 7), "58.25");
    EXPECT_THAT(form.Dialogs.Messages, IsEmpty());
}

// Anything that is not a number, or a block that does not fit, refuses the whole paste.
TEST(TablePaste, RefusedBlocksChangeNothing) {
    TShownForm form;
    const std::string before = Snapshot(*form);
    const std::string kept = "\nThe table was left as it was.";
    const struct {
        int Col, Row;
        std::string Text, Message;
    } cases[] = {
        {1, 1, "60\t61\t62\t63\t64\n",
         "Cannot paste: the block has 5 columns and the table has room for 4 from the current cell."},
        {3, 20, "1\n2\n3\n4\n5\n6\n",
         "Cannot paste: the block has 6 rows and the table has room for 5 from the current cell."},
        {1, 1, "60\t61\n62\tn/a\n", "Cannot paste: row 2, column 2 of the block is not a number: \"n/a\"."},
        {1, 1, "60\t\t50\t30\n", "Cannot paste: row 1, column 2 of the block is not a number: \"\"."},
        {1, 1, "1,250\n", "Cannot paste: row 1, column 1 of the block is not a number: \"1,250\"."},
        {1, 1, "60\t61\n62\n", "Cannot paste: row 2 of the block has 1 cells, the first 2."},
    };
    for (const auto& c : cases) {
        form.Dialogs.Clear();
        Paste(form->FlowGrid, c.Col, c.Row, c.Text);
        EXPECT_EQ(form.Dialogs.Messages,
                  std::vector<TRecordedMessage>({{TMsgDlgType::Error, c.Message + kept}}))
            << c.Text;
        form.Dialogs.Clear();
        EXPECT_EQ(Snapshot(*form), before);
    }
    EXPECT_FALSE(form->TableSteps.CanUndo());
}

TEST(TablePaste, N1AndCostTables) {
    TShownForm form;
    form->N1CalculationForm.Show();
    TMarkStringGrid& n1 = form->N1CalculationForm.N1Grid;
    Paste(n1, N1GridLayout::StartTimeCol, N1GridLayout::StartRow,
          "0\t1\t60\t50\t30\t100\n1\t2\t50\t40\t20\t85\n");
    EXPECT_THAT(form.Dialogs.Messages, IsEmpty());
    EXPECT_EQ(n1.Cell(N1GridLayout::InflowCol, N1GridLayout::Stage1Row), "85");
    EXPECT_EQ(n1.Cell(N1GridLayout::LossesCol, N1GridLayout::Stage1Row), "84.70"); // less the night use, 0.3
    form->EditUndo();
    EXPECT_EQ(n1.Cell(N1GridLayout::InflowCol, N1GridLayout::Stage1Row), "");

    TMarkStringGrid& costs = form->CostsForm.FixedCostGrid;
    Paste(costs, FixedCostLayout::FirstOptionCol, FixedCostLayout::FirstItemRow,
          "1000\t2000\t3000\n500\t500\t500\n1\t1\t1\n0\t0\t0");
    EXPECT_THAT(form.Dialogs.Messages, IsEmpty());
    EXPECT_EQ(costs.Cell(FixedCostLayout::LastOptionCol, FixedCostLayout::FirstItemRow + 1), "500");
    EXPECT_NE(costs.Cell(FixedCostLayout::FirstOptionCol, FixedCostLayout::TotalRow).find("1,501.00"),
              std::string::npos);
}

TEST(TablePaste, PastedNumbers) {
    EXPECT_EQ(PastedNumber(" 64.5 "), "64.5");
    EXPECT_EQ(PastedNumber("64,5"), "64.5");
    EXPECT_EQ(PastedNumber("-3"), "-3");
    EXPECT_EQ(PastedNumber("1,234"), std::nullopt); // a thousands separator, or a decimal comma?
    EXPECT_EQ(PastedNumber("1.234,5"), std::nullopt);
    EXPECT_EQ(PastedNumber("12 m"), std::nullopt);
    EXPECT_EQ(PastedNumber(""), std::nullopt);
    EXPECT_EQ(SplitPasteBlock("1\t2\r\n3\t4\r\n").size(), 2u);
    EXPECT_THAT(SplitPasteBlock("7\n"), ElementsAre(ElementsAre("7")));
}
