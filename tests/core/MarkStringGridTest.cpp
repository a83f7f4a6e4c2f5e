// The table of every window: marks, joins, word wrap and the painting of a cell.
#include "forms/MarkStringGrid.h"
#include "forms/Dialogs.h"
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace halvern {
namespace {

struct FillCall {
    TRect Rect;
    TColor Colour;
    bool operator==(const FillCall&) const = default;
};
struct TextCall {
    int X, Y;
    std::string Text;
    TColor Colour;
    bool operator==(const TextCall&) const = default;
};
struct LineCall {
    int X1, Y1, X2, Y2;
    TColor Colour;
    bool operator==(const LineCall&) const = default;
};

// Fixed-width characters (7 px wide, 13 px high) that records what is drawn on it.
class TRecordingCanvas : public TFixedWidthCanvas {
public:
    void FillRect(const TRect& rect, TColor colour) override { Fills.push_back({rect, colour}); }
    void TextOut(int x, int y, const std::string& text, TColor colour) override {
        Texts.push_back({x, y, text, colour});
    }
    void Line(int x1, int y1, int x2, int y2, TColor colour) override {
        Lines.push_back({x1, y1, x2, y2, colour});
    }
    void FrameRect(const TRect& rect) override { Frames.push_back(rect); }
    std::vector<FillCall> Fills;
    std::vector<TextCall> Texts;
    std::vector<LineCall> Lines;
    std::vector<TRect> Frames;
};

class TBeepCounter : public TDialogs {
public:
    void Error(const std::string&) override {}
    TModalResult WarningOKIgnore(const std::string&) override { return TModalResult::OK; }
    bool ConfirmOKCancel(const std::string&) override { return true; }
    void Message(const std::string&) override {}
    void Beep() override { ++Beeps; }
    std::optional<std::string> OpenFileName(const TFileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> SaveFileName(const TFileDialogRequest&) override { return std::nullopt; }
    int Beeps = 0;
};

// A 5 x 5 grid, columns 64 px, rows 24 px, one heading row and column, current cell (1, 1).
class MarkStringGridTest : public ::testing::Test {
protected:
    TMarkStringGrid grid{"TestGrid"};
    TRecordingCanvas canvas;

    void Paint(int col, int row) {
        grid.DrawCell(canvas, col, row, grid.CellRect(col, row), grid.DrawStateOf(col, row));
    }
};

TEST(FixedWidthCanvas, CountsAMultiByteCharacterOnce) {
    TFixedWidthCanvas canvas(7, 13);
    EXPECT_EQ(canvas.TextWidth(""), 0);
    EXPECT_EQ(canvas.TextWidth("Flow (m³/h)"), 11 * 7);
}

TEST_F(MarkStringGridTest, ResizingKeepsTextsAndOutsideIsEmpty) {
    constexpr int keptCol = 2, keptRow = 3; // inside the grid before and after
    constexpr int lostAt = 9;               // outside it throughout
    grid.SetCell(keptCol, keptRow, "12.5");
    grid.SetCell(lostAt, lostAt, "lost");
    grid.SetColCount(3);
    grid.SetRowCount(8);
    EXPECT_EQ(grid.Cell(keptCol, keptRow), "12.5");
    EXPECT_EQ(grid.Cell(lostAt, lostAt), "");
    EXPECT_EQ(grid.Cell(-1, 0), "");
    EXPECT_EQ(grid.RowHeight(7), 24);
    grid.SetColWidth(1, 100);
    EXPECT_EQ(grid.CellRect(2, 1), (TRect{166, 25, 230, 49}));
    EXPECT_EQ(grid.TotalWidth(), 65 + 101 + 65);
}

TEST_F(MarkStringGridTest, PlainCellIsNormalColourWithBlackTextAtLeftTop) {
    constexpr int bodyAt = 2; // below and right of the headings
    grid.SetCell(bodyAt, bodyAt, "Inlet");
    Paint(bodyAt, bodyAt);
    const TRect r = grid.CellRect(bodyAt, bodyAt);
    EXPECT_EQ(canvas.Fills, (std::vector<FillCall>{{r, clWindow}}));
    EXPECT_EQ(canvas.Texts, (std::vector<TextCall>{{r.Left + 3, r.Top + 3, "Inlet", clBlack}}));
    EXPECT_TRUE(canvas.Lines.empty());
}

TEST_F(MarkStringGridTest, SetTextPosTakesLettersCaseInsensitivelyAndRejectsOthers) {
    struct Case {
        char Hor, Vert;
        std::string Expected;
    };
    for (const Case& c :
         std::vector<Case>{{'c', 'c', "CC"}, {'r', 'B', "RB"}, {'X', 'C', "LT"}, {'C', 'X', "LT"}}) {
        TMarkStringGrid g;
        g.SetTextPos(1, 1, c.Hor, c.Vert);
        char hor = '?', vert = '?';
        g.GetTextPos(1, 1, hor, vert);
        EXPECT_EQ(std::string({hor, vert}), c.Expected) << c.Hor << c.Vert;
    }
}

TEST_F(MarkStringGridTest, JoinedHeadingPaintsWholeAreaWithFirstTextCentred) {
    for (bool reversed : {false, true}) {
        TMarkStringGrid g;
        if (reversed)
            g.SetJoin(3, 0, 1, 0);
        else
            g.SetJoin(1, 0, 3, 0);
        constexpr int headingRow = 0, firstJoined = 1;
        g.SetTextPos(1, headingRow, 'C', 'C');
        g.SetCell(firstJoined, headingRow, "Pressure (m)");
        g.SetCell(firstJoined + 1, headingRow, "hidden");
        ASSERT_TRUE(g.IsJoined(2, 0));
        EXPECT_EQ(g.JoinResult(), "1 1 ");

        const TRect area{65, 0, 259, 24}; // columns 1 to 3 of row 0 with their grid lines
        for (int col = 1; col <= 3; ++col) {
            TRecordingCanvas c;
            g.DrawCell(c, col, 0, g.CellRect(col, 0), gdFixed);
            EXPECT_EQ(c.Fills, (std::vector<FillCall>{{area, clBtnFace}})) << reversed << col;
            // 12 characters: x = 65 + 194 div 2 - 84 div 2, y = 24 div 2 - trunc(13 * 1.1) div 2.
            EXPECT_EQ(c.Texts, (std::vector<TextCall>{{120, 5, "Pressure (m)", clBlack}})) << reversed << col;
        }
        EXPECT_FALSE(g.IsJoined(4, 0));
        g.ClearJoin(1, 0, 3, 0);
        EXPECT_FALSE(g.IsJoined(1, 0) || g.IsJoined(2, 0) || g.IsJoined(3, 0));
    }
}

TEST_F(MarkStringGridTest, VerticalJoinGrowsDownwardAndRectangleJoinIsIgnored) {
    constexpr int headingCol = 0;
    grid.SetJoin(headingCol, 2, headingCol, 1);
    grid.SetCell(headingCol, 1, "Hour");
    Paint(0, 2);
    EXPECT_EQ(canvas.Fills.at(0).Rect, (TRect{0, 25, 64, 74}));
    EXPECT_EQ(canvas.Texts.at(0).Text, "Hour");

    TMarkStringGrid g;
    g.SetJoin(1, 1, 2, 2);
    EXPECT_TRUE(g.Marks().empty());
}

TEST_F(MarkStringGridTest, ColumnColoursLeaveHeadingAndOtherColour) {
    grid.SetColour(2, 0, clSilver);
    grid.SetColour(2, 3, clYellow);
    grid.SetColColours(2, clNone, clRed);
    EXPECT_EQ(grid.GetColour(2, 0), clSilver);
    EXPECT_EQ(grid.GetFontColour(2, 0), clNone);
    EXPECT_EQ(grid.GetColour(2, 3), clYellow);
    for (int row = 1; row < grid.RowCount(); ++row)
        EXPECT_EQ(grid.GetFontColour(2, row), clRed) << row;

    grid.SetRowColours(4, clLime, clNone);
    EXPECT_EQ(grid.GetColour(0, 4), clNone);
    EXPECT_EQ(grid.GetColour(4, 4), clLime);
    EXPECT_EQ(grid.GetFontColour(2, 4), clRed);
}

TEST_F(MarkStringGridTest, LockedCellBeepsAndKeepsText) {
    TBeepCounter dialogs;
    grid.Dialogs = &dialogs;
    std::vector<std::string> events;
    grid.OnSetEditText = [&](int col, int row, const std::string& value) {
        events.push_back(std::to_string(col) + "," + std::to_string(row) + "=" + value);
    };
    constexpr int lockedCol = 3, row = 2;
    grid.SetCell(lockedCol, row, "40");
    grid.SetColLock(lockedCol);
    grid.SetEditText(lockedCol, row, "4");
    grid.SetEditText(lockedCol, row, "45");
    EXPECT_EQ(dialogs.Beeps, 2);
    EXPECT_EQ(grid.Cell(lockedCol, row), "40");
    EXPECT_TRUE(events.empty());

    grid.ClearCellLock(lockedCol, row);
    grid.SetEditText(lockedCol, row, "45");
    EXPECT_EQ(grid.Cell(lockedCol, row), "45");
    EXPECT_EQ(events, (std::vector<std::string>{"3,2=45"}));
    EXPECT_EQ(dialogs.Beeps, 2);
    EXPECT_FALSE(grid.GetCellLock(lockedCol, 0)); // headings are not locked by a column lock
}

TEST_F(MarkStringGridTest, ResetGridColorKeepsOtherMarksAndRepaints) {
    int repaints = 0;
    grid.OnRepaint = [&] { ++repaints; };
    grid.SetRowColours(2, clAqua, clBlue);
    grid.SetCellLock(3, 2);
    grid.SetJoin(1, 0, 2, 0);
    grid.SetTextPos(1, 0, 'C', 'C');
    grid.ResetGridColor();
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(grid.GetColour(3, 2), clNone);
    EXPECT_EQ(grid.GetFontColour(3, 2), clBlue);
    EXPECT_TRUE(grid.GetCellLock(3, 2));
    EXPECT_TRUE(grid.IsJoined(1, 0));
    char hor, vert;
    grid.GetTextPos(1, 0, hor, vert);
    EXPECT_EQ(std::string({hor, vert}), "CC");

    grid.ResetGridFontColor();
    EXPECT_EQ(repaints, 2);
    EXPECT_EQ(grid.GetFontColour(3, 2), clNone);
}

TEST_F(MarkStringGridTest, MarksOutliveShrinkingAndText) {
    constexpr int lastAt = 4; // the last column and row, gone while the grid is narrow
    grid.SetColour(lastAt, lastAt, clRed);
    grid.SetColCount(2);
    grid.SetColCount(5);
    grid.SetCell(lastAt, lastAt, "new");
    EXPECT_EQ(grid.GetColour(lastAt, lastAt), clRed);
}

TEST(MarkStringGridWrap, BreaksAtBlanksCommasOrInsideWords) {
    TFixedWidthCanvas canvas(7, 13);
    struct Case {
        std::string Text;
        int Width;
        std::vector<std::string> Lines;
    };
    const std::vector<Case> cases{
        {"Pressure Independent", 74, {"Pressure ", "Independent"}},
        {"Flow", 74, {"Flow"}},
        {"", 74, {""}},
        {"Inlet,AZP", 50, {"Inlet,", "AZP"}},
        {"Consumption", 35, {"Consu", "mptio", "n"}},
        {"m³/h", 0, {"m", "³", "/", "h"}}, // a column narrower than a letter still ends
    };
    for (const Case& c : cases)
        EXPECT_EQ(TMarkStringGrid::WrapText(canvas, c.Text, c.Width), c.Lines) << c.Text;
}

TEST_F(MarkStringGridTest, TwoLineHeadingIsCentredAsABlock) {
    grid.SetColWidth(2, 78);
    grid.SetRowHeight(1, 48);
    constexpr int col = 2, headingRow = 1;
    grid.SetCell(col, headingRow, "Pressure Independent");
    grid.SetTextPos(col, headingRow, 'C', 'C');
    grid.Col = 3;
    grid.DrawCell(canvas, col, headingRow, TRect{0, 0, 78, 48}, 0);
    // Block height trunc(13 * 2 * 1.1) = 28; line spacing trunc(13 * 1.1) = 14.
    EXPECT_EQ(canvas.Texts, (std::vector<TextCall>{{39 - 31, 10, "Pressure ", clBlack},
                                                   {39 - 38, 24, "Independent", clBlack}}));
}

TEST_F(MarkStringGridTest, RightAndBottomPositionsAndLinesOutsideAreSkipped) {
    constexpr int bodyAt = 2;
    grid.SetCell(bodyAt, bodyAt, "ab");
    grid.SetTextPos(bodyAt, bodyAt, 'R', 'B');
    grid.DrawCell(canvas, bodyAt, bodyAt, TRect{100, 50, 164, 74}, 0);
    EXPECT_EQ(canvas.Texts, (std::vector<TextCall>{{164 - 14 - 3, 74 - 14 - 3, "ab", clBlack}}));

    canvas.Texts.clear();
    grid.SetCell(bodyAt, bodyAt, "abc def");
    grid.SetTextPos(bodyAt, bodyAt, 'L', 'T');
    grid.DrawCell(canvas, bodyAt, bodyAt, TRect{100, 50, 130, 60}, 0); // second line starts below the cell
    EXPECT_EQ(canvas.Texts, (std::vector<TextCall>{{103, 53, "abc ", clBlack}}));
}

TEST_F(MarkStringGridTest, CurrentCellColours) {
    struct Case {
        uint32_t Options;
        TColor Background, Text;
    };
    for (const Case& c :
         {Case{0, clWindow, clBlue}, Case{goDrawFocusSelected, clActiveCaption, clHighlightText}}) {
        TMarkStringGrid g;
        TRecordingCanvas recorder;
        g.Options = c.Options;
        constexpr int currentAt = 1; // a new grid's current cell
        g.SetColour(currentAt, currentAt, clRed);
        g.SetFontColour(currentAt, currentAt, clBlue);
        g.SetCell(currentAt, currentAt, "7");
        g.DrawCell(recorder, currentAt, currentAt, g.CellRect(currentAt, currentAt),
                   g.DrawStateOf(currentAt, currentAt));
        ASSERT_EQ(recorder.Fills.size(), 1u);
        EXPECT_EQ(recorder.Fills[0].Colour, c.Background) << c.Options;
        EXPECT_EQ(recorder.Texts.at(0).Colour, c.Text) << c.Options;
    }
}

TEST_F(MarkStringGridTest, BackgroundFollowsDrawState) {
    grid.DrawCell(canvas, 3, 3, TRect{0, 0, 10, 10}, gdSelected); // part of a range selection
    grid.DrawCell(canvas, 3, 3, TRect{0, 0, 10, 10}, gdFixed);
    grid.SetColour(3, 3, clGreen);
    grid.DrawCell(canvas, 3, 3, TRect{0, 0, 10, 10}, gdSelected);
    ASSERT_EQ(canvas.Fills.size(), 3u);
    EXPECT_EQ(canvas.Fills[0].Colour, clHighlight);
    EXPECT_EQ(canvas.Fills[1].Colour, clBtnFace);
    EXPECT_EQ(canvas.Fills[2].Colour, clGreen);
}

TEST_F(MarkStringGridTest, RaisedEdgeOnlyForExactlyFixed) {
    grid.DrawCell(canvas, 0, 2, TRect{0, 25, 64, 49}, gdFixed);
    EXPECT_EQ(canvas.Lines, (std::vector<LineCall>{{1, 26, 63, 26, cl3DLight},
                                                   {1, 26, 1, 48, cl3DLight},
                                                   {64, 49, 64, 26, cl3DDkShadow},
                                                   {64, 49, 1, 49, cl3DDkShadow}}));
    canvas.Lines.clear();
    grid.DrawCell(canvas, 0, 2, TRect{0, 25, 64, 49}, gdFixed | gdSelected);
    EXPECT_TRUE(canvas.Lines.empty());
}

TEST_F(MarkStringGridTest, PrintScalesHalvesToEven) {
    grid.SetColCount(1);
    grid.SetRowCount(1);
    grid.FixedCols = 0;
    grid.FixedRows = 0;
    grid.DefaultColWidth = 5;
    grid.DefaultRowHeight = 3;
    constexpr int onlyAt = 0;
    grid.SetCell(onlyAt, onlyAt, "x");
    TRecordingCanvas page;
    int repaints = 0;
    grid.OnRepaint = [&] { ++repaints; };

    grid.DoPrint(100, 200, 2.5, canvas, page);
    // 5 * 2.5 = 12.5 goes down to 12, 3 * 2.5 = 7.5 goes up to 8.
    EXPECT_EQ(page.Frames, (std::vector<TRect>{{100, 200, 112, 208}}));
    EXPECT_EQ(page.Texts, (std::vector<TextCall>{{108, 208, "x", clBlack}}));
    EXPECT_EQ(canvas.Texts, (std::vector<TextCall>{{3, 3, "x", clBlack}}));
    EXPECT_FALSE(grid.HardCopy);
    EXPECT_EQ(repaints, 1);

    page.Frames.clear();
    grid.PaintAll(canvas);
    EXPECT_TRUE(page.Frames.empty());
}

TEST_F(MarkStringGridTest, LookupTriesLastFoundRecordFirstAndStoreReplaces) {
    grid.SetColour(1, 1, clRed);
    grid.SetColour(2, 2, clBlue);
    grid.SetColour(3, 3, clLime);
    EXPECT_EQ(grid.GetColour(2, 2), clBlue);
    EXPECT_EQ(grid.CurrentCellIndex(), 1);
    EXPECT_EQ(grid.GetColour(3, 3), clLime);
    EXPECT_EQ(grid.CurrentCellIndex(), 2);
    EXPECT_EQ(grid.GetColour(4, 4), clNone); // no record: nothing found, nothing created
    EXPECT_EQ(grid.CurrentCellIndex(), 2);
    grid.SetColour(1, 1, clYellow);
    EXPECT_EQ(grid.CurrentCellIndex(), 0);
    ASSERT_EQ(grid.Marks().size(), 3u);
    EXPECT_EQ(grid.Marks()[0].TheColour, clYellow);
}

TEST_F(MarkStringGridTest, KeyPressRunsHandler) {
    grid.OnKeyPress = [](char& key) {
        if (key == '\r') key = 0;
    };
    char key = '\r';
    grid.KeyPress(key);
    EXPECT_EQ(key, 0);
}

} // namespace
} // namespace halvern
