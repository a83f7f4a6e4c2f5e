// TMarkStringGrid: cells, marks and the painting of every table of the program.
#include "forms/MarkStringGrid.h"
#include "forms/Dialogs.h"
#include "forms/NumberEntry.h"
#include "forms/PrintGeometry.h"
#include "model/Messages.h"
#include "model/Numbers.h"
#include "model/Utf8Text.h"
#include <algorithm>
#include <cctype>
#include <cmath>

namespace halvern {

namespace {

// A column width or row height that follows DefaultColWidth / DefaultRowHeight, so a
// form may set the defaults after sizing the grid.
constexpr int kDefaultSize = -1;

const std::string kEmptyText;
const JoinString kNotJoined = "    ";

// Number of bytes of the last UTF-8 character of a non-empty text.
std::size_t LastCharacterLength(const std::string& text) {
    std::size_t start = text.size() - 1;
    while (start > 0 && IsUtf8Continuation(text[start]))
        --start;
    return text.size() - start;
}

bool IsBreakCharacter(char c) {
    return c == ' ' || c == ',';
}

bool Flag(const JoinString& join, std::size_t index) {
    return join.size() > index && join[index] == '1';
}

void SetFlag(JoinString& join, std::size_t index, bool on) {
    if (join.size() < 4) join.resize(4, ' ');
    join[index] = on ? '1' : ' ';
}

} // namespace

TMarkStringGrid::TMarkStringGrid(std::string name) : TControl(std::move(name)) {
    cells_.assign(rowCount_, std::vector<std::string>(colCount_));
    colWidths_.assign(colCount_, kDefaultSize);
    rowHeights_.assign(rowCount_, kDefaultSize);
}

TMarkStringGrid::TMarkStringGrid(TControlRegistry& registry, std::string name, TControlFlag flags)
    : TControl(registry, std::move(name), flags) {
    cells_.assign(rowCount_, std::vector<std::string>(colCount_));
    colWidths_.assign(colCount_, kDefaultSize);
    rowHeights_.assign(rowCount_, kDefaultSize);
}

// ---- the string grid -----------------------------------------------------------------

void TMarkStringGrid::SetColCount(int n) {
    colCount_ = std::max(n, 0);
    for (auto& row : cells_)
        row.resize(colCount_);
    colWidths_.resize(colCount_, kDefaultSize);
}

void TMarkStringGrid::SetRowCount(int n) {
    rowCount_ = std::max(n, 0);
    cells_.resize(rowCount_, std::vector<std::string>(colCount_));
    rowHeights_.resize(rowCount_, kDefaultSize);
}

int TMarkStringGrid::ColWidth(int col) const {
    if (col < 0 || col >= colCount_ || colWidths_[col] == kDefaultSize) return DefaultColWidth;
    return colWidths_[col];
}

void TMarkStringGrid::SetColWidth(int col, int width) {
    if (col < 0 || col >= colCount_) return;
    colWidths_[col] = std::max(width, 0);
}

int TMarkStringGrid::RowHeight(int row) const {
    if (row < 0 || row >= rowCount_ || rowHeights_[row] == kDefaultSize) return DefaultRowHeight;
    return rowHeights_[row];
}

void TMarkStringGrid::SetRowHeight(int row, int height) {
    if (row < 0 || row >= rowCount_) return;
    rowHeights_[row] = std::max(height, 0);
}

const std::string& TMarkStringGrid::Cell(int col, int row) const {
    if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) return kEmptyText;
    return cells_[row][col];
}

void TMarkStringGrid::SetCell(int col, int row, const std::string& text) {
    if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) return;
    cells_[row][col] = text;
}

void TMarkStringGrid::SetCell(int col, int row, std::string&& text) {
    if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) return;
    cells_[row][col] = std::move(text);
}

TCanvas& TMarkStringGrid::Measure() {
    return MeasureCanvas ? *MeasureCanvas : defaultMeasure_;
}

void TMarkStringGrid::SetEditText(int col, int row, const std::string& value) {
    if (GetCellLock(col, row)) {
        // Derived columns are worked out from the inputs: typing into them is refused.
        if (Dialogs) Dialogs->Beep();
        return;
    }
    SetCell(col, row, value);
    if (OnSetEditText) OnSetEditText(col, row, value);
}

void TMarkStringGrid::KeyPress(char& key) {
    // Only characters are judged: Enter, Escape and Backspace keep their work.
    const bool character = static_cast<unsigned char>(key) >= 0x20;
    if (character && NumberCell(Col, Row) &&
        !NumberKeyAccepted(EditorMode ? Cell(Col, Row) : std::string(), key)) {
        key = 0;
        return;
    }
    if (character && TimeCell(Col, Row) &&
        !TimeKeyAccepted(EditorMode ? Cell(Col, Row) : std::string(), key)) {
        key = 0;
        if (Dialogs) Dialogs->Error(Msg::TimeCellInvalid);
        return;
    }
    if (OnKeyPress) OnKeyPress(key);
}

bool TMarkStringGrid::AcceptsEditText(int col, int row, const std::string& before,
                                      const std::string& after) const {
    if (TimeCell(col, row)) return TimeChangeAccepted(before, after);
    return !NumberCell(col, row) || NumberChangeAccepted(before, after);
}

TMarkStringGrid::TGridRect TMarkStringGrid::Selection() const {
    if (AnchorCol < 0 || AnchorRow < 0) return {Col, Row, Col, Row};
    return {std::min(AnchorCol, Col), std::min(AnchorRow, Row), std::max(AnchorCol, Col),
            std::max(AnchorRow, Row)};
}

bool TMarkStringGrid::InSelection(int col, int row) const {
    const TGridRect s = Selection();
    return col >= s.Left && col <= s.Right && row >= s.Top && row <= s.Bottom;
}

void TMarkStringGrid::SelectAll() {
    if (ColCount() <= FixedCols || RowCount() <= FixedRows) return;
    AnchorCol = FixedCols;
    AnchorRow = FixedRows;
    Col = ColCount() - 1;
    Row = RowCount() - 1;
}

std::string TMarkStringGrid::SelectionText() const {
    const TGridRect s = Selection();
    std::string text;
    for (int row = s.Top; row <= s.Bottom; ++row) {
        for (int col = s.Left; col <= s.Right; ++col) {
            if (col > s.Left) text += '\t';
            text += Cell(col, row);
        }
        text += '\n';
    }
    return text;
}

void TMarkStringGrid::MoveOnEnter(int firstRow) {
    AnchorCol = AnchorRow = -1;
    if (Row < RowCount() - 1) {
        ++Row;
        return;
    }
    // Down a column, then on to the top of the next. A locked column (the derived inflow,
    // a worked-out result) is passed over: an engineer typing a day of pressures column by
    // column would otherwise pour the next column's values into cells that refuse them.
    const int first = 1;
    const int last = ColCount() - 1;
    const auto next = [&](int col) { return col < last ? col + 1 : first; };
    int col = next(Col);
    for (int tries = 0; tries < last && GetCellLock(col, firstRow); ++tries)
        col = next(col);
    // A table locked throughout keeps the plain move to the next column.
    Col = GetCellLock(col, firstRow) ? next(Col) : col;
    Row = firstRow;
}

// ---- the marks -------------------------------------------------------------------------

namespace {
// Marks of cells within this range are found through an index; the few outside it (a mark
// set on a cell beyond the table) by walking the list.
constexpr int kIndexedCols = 256;
constexpr int kIndexedRows = 4096;
int MarkKey(int col, int row) {
    if (col < 0 || col >= kIndexedCols || row < 0 || row >= kIndexedRows) return -1;
    return row * kIndexedCols + col;
}
} // namespace

OptionRec* TMarkStringGrid::Find(int ACol, int ARow) {
    const auto matches = [&](const OptionRec& rec) { return rec.TheCol == ACol && rec.TheRow == ARow; };
    // Painting and the column/row operations ask for the same cell several times in a row.
    if (currentMark_ >= 0 && static_cast<std::size_t>(currentMark_) < marks_.size() &&
        matches(marks_[currentMark_]))
        return &marks_[currentMark_];
    // Every recalculation marks each hour row again: the marks are found by their cell, not
    // by reading the whole list each time.
    if (const int key = MarkKey(ACol, ARow); key >= 0) {
        if (static_cast<std::size_t>(key) >= markIndex_.size() || markIndex_[key] < 0) return nullptr;
        currentMark_ = markIndex_[key];
        return &marks_[currentMark_];
    }
    for (std::size_t i = 0; i < marks_.size(); ++i) {
        if (matches(marks_[i])) {
            currentMark_ = static_cast<int32_t>(i);
            return &marks_[i];
        }
    }
    return nullptr;
}

OptionRec TMarkStringGrid::Lookup(int ACol, int ARow) {
    if (const OptionRec* found = Find(ACol, ARow)) return *found;
    OptionRec rec;
    rec.TheCol = ACol;
    rec.TheRow = ARow;
    return rec;
}

void TMarkStringGrid::Store(const OptionRec& rec) {
    if (OptionRec* found = Find(rec.TheCol, rec.TheRow)) {
        *found = rec;
        return;
    }
    if (const int key = MarkKey(rec.TheCol, rec.TheRow); key >= 0) {
        if (static_cast<std::size_t>(key) >= markIndex_.size())
            markIndex_.resize(static_cast<std::size_t>(key) + 1, -1);
        markIndex_[key] = static_cast<int32_t>(marks_.size());
    }
    marks_.push_back(rec);
}

void TMarkStringGrid::Repaint() {
    if (OnRepaint) OnRepaint();
}

TColor TMarkStringGrid::GetColour(int ACol, int ARow) {
    return Lookup(ACol, ARow).TheColour;
}

void TMarkStringGrid::SetColour(int ACol, int ARow, TColor TheColour) {
    Modify(ACol, ARow, [&](OptionRec& rec) { rec.TheColour = TheColour; });
}

void TMarkStringGrid::ResetCellColor(int ACol, int ARow) {
    SetColour(ACol, ARow, clNone);
}

TColor TMarkStringGrid::GetFontColour(int ACol, int ARow) {
    return Lookup(ACol, ARow).FontColour;
}

TColor TMarkStringGrid::FontColourOf(int ACol, int ARow) const {
    if (const int key = MarkKey(ACol, ARow); key >= 0) {
        if (static_cast<std::size_t>(key) >= markIndex_.size() || markIndex_[key] < 0) return clNone;
        return marks_[static_cast<std::size_t>(markIndex_[key])].FontColour;
    }
    for (const OptionRec& rec : marks_)
        if (rec.TheCol == ACol && rec.TheRow == ARow) return rec.FontColour;
    return clNone;
}

void TMarkStringGrid::SetFontColour(int ACol, int ARow, TColor TheColour) {
    Modify(ACol, ARow, [&](OptionRec& rec) { rec.FontColour = TheColour; });
}

void TMarkStringGrid::ResetFontColor(int ACol, int ARow) {
    SetFontColour(ACol, ARow, clNone);
}

void TMarkStringGrid::SetCellLock(int ACol, int ARow) {
    Modify(ACol, ARow, [&](OptionRec& rec) { rec.Locked = true; });
}

void TMarkStringGrid::ClearCellLock(int ACol, int ARow) {
    Modify(ACol, ARow, [&](OptionRec& rec) { rec.Locked = false; });
}

bool TMarkStringGrid::GetCellLock(int ACol, int ARow) {
    return Lookup(ACol, ARow).Locked;
}

void TMarkStringGrid::SetTextPos(int ACol, int ARow, char HorPos, char VertPos) {
    const char hor = static_cast<char>(std::toupper(static_cast<unsigned char>(HorPos)));
    const char vert = static_cast<char>(std::toupper(static_cast<unsigned char>(VertPos)));
    const bool horOk = hor == 'L' || hor == 'C' || hor == 'R';
    const bool vertOk = vert == 'T' || vert == 'C' || vert == 'B';
    if (!horOk || !vertOk) return;
    Modify(ACol, ARow, [&](OptionRec& rec) { rec.TextPos = std::string{hor, vert}; });
}

void TMarkStringGrid::GetTextPos(int ACol, int ARow, char& HorPos, char& VertPos) {
    const OptionRec rec = Lookup(ACol, ARow);
    HorPos = rec.TextPos.size() > 0 ? rec.TextPos[0] : 'L';
    VertPos = rec.TextPos.size() > 1 ? rec.TextPos[1] : 'T';
}

void TMarkStringGrid::ClearTextPos(int ACol, int ARow) {
    Modify(ACol, ARow, [&](OptionRec& rec) { rec.TextPos = "LT"; });
}

bool TMarkStringGrid::IsJoined(int TheCol, int TheRow) {
    joinResult_ = Lookup(TheCol, TheRow).TheJoin;
    return std::any_of(joinResult_.begin(), joinResult_.end(), [](char c) { return c != ' '; });
}

void TMarkStringGrid::SetColColours(int ACol, TColor BackColour, TColor TextColour) {
    for (int row = FixedRows; row < rowCount_; ++row) {
        if (BackColour != clNone) SetColour(ACol, row, BackColour);
        if (TextColour != clNone) SetFontColour(ACol, row, TextColour);
    }
}

void TMarkStringGrid::SetRowColours(int ARow, TColor BackColour, TColor TextColour) {
    for (int col = FixedCols; col < colCount_; ++col) {
        if (BackColour != clNone) SetColour(col, ARow, BackColour);
        if (TextColour != clNone) SetFontColour(col, ARow, TextColour);
    }
}

void TMarkStringGrid::SetColLock(int ACol) {
    for (int row = FixedRows; row < rowCount_; ++row)
        SetCellLock(ACol, row);
}

void TMarkStringGrid::ClearColLock(int ACol) {
    for (int row = FixedRows; row < rowCount_; ++row)
        ClearCellLock(ACol, row);
}

void TMarkStringGrid::SetRowLock(int ARow) {
    for (int col = FixedCols; col < colCount_; ++col)
        SetCellLock(col, ARow);
}

void TMarkStringGrid::ClearRowLock(int ARow) {
    for (int col = FixedCols; col < colCount_; ++col)
        ClearCellLock(col, ARow);
}

void TMarkStringGrid::ResetGridColor() {
    for (auto& rec : marks_)
        rec.TheColour = clNone;
    Repaint();
}

void TMarkStringGrid::ResetGridFontColor() {
    for (auto& rec : marks_)
        rec.FontColour = clNone;
    Repaint();
}

namespace {
// Positions in a JoinString.
constexpr std::size_t kJoinLeft = 0;
constexpr std::size_t kJoinBelow = 1;
constexpr std::size_t kJoinRight = 2;
constexpr std::size_t kJoinAbove = 3;
} // namespace

// Headings are merged along one row or one column only; a rectangle of cells (more than
// one row and more than one column) is left alone, as is a single cell.
void TMarkStringGrid::SetJoin(int FirstCol, int FirstRow, int SecondCol, int SecondRow) {
    MarkJoin(FirstCol, FirstRow, SecondCol, SecondRow, true);
}

void TMarkStringGrid::ClearJoin(int FirstCol, int FirstRow, int SecondCol, int SecondRow) {
    MarkJoin(FirstCol, FirstRow, SecondCol, SecondRow, false);
}

void TMarkStringGrid::MarkJoin(int FirstCol, int FirstRow, int SecondCol, int SecondRow, bool on) {
    const auto mark = [this, on](int col, int row, std::size_t index) {
        Modify(col, row, [&](OptionRec& rec) { SetFlag(rec.TheJoin, index, on); });
    };
    if (FirstRow == SecondRow) {
        for (int col = std::min(FirstCol, SecondCol); col < std::max(FirstCol, SecondCol); ++col) {
            mark(col, FirstRow, kJoinRight);
            mark(col + 1, FirstRow, kJoinLeft);
        }
    } else if (FirstCol == SecondCol) {
        for (int row = std::min(FirstRow, SecondRow); row < std::max(FirstRow, SecondRow); ++row) {
            mark(FirstCol, row, kJoinBelow);
            mark(FirstCol, row + 1, kJoinAbove);
        }
    }
}

// ---- painting ---------------------------------------------------------------------------

std::vector<std::string> TMarkStringGrid::WrapText(TCanvas& canvas, const std::string& text, int width) {
    std::vector<std::string> lines(1);
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::string& line = lines.back();
        // An empty line always takes a character, so a column narrower than one letter
        // still shows its text (one letter a line) instead of never finishing.
        if (line.empty() || canvas.TextWidth(line) < width) {
            const std::size_t length = Utf8CharacterLength(text, pos);
            line.append(text, pos, length);
            pos += length;
            continue;
        }
        const bool hasBreak = std::any_of(line.begin(), line.end(), IsBreakCharacter);
        std::string next;
        if (hasBreak) {
            // Carry the unfinished word down; the blank or comma stays on the upper line.
            while (!IsBreakCharacter(line.back())) {
                const std::size_t length = LastCharacterLength(line);
                next.insert(0, line, line.size() - length, length);
                line.erase(line.size() - length);
            }
        }
        lines.push_back(std::move(next));
    }
    return lines;
}

void TMarkStringGrid::DrawCell(TCanvas& canvas, int ACol, int ARow, TRect rect, TGridDrawState state) {
    const OptionRec rec = Lookup(ACol, ARow);
    TRect d = rect;

    if (IsJoined(ACol, ARow)) {
        const JoinString join = joinResult_;
        // Every cell of a merged heading paints the whole heading from its first cell.
        if (Flag(join, kJoinLeft) && ACol > 0) {
            TRect left = rect;
            left.Right = rect.Left - GridLineWidth;
            left.Left = left.Right - ColWidth(ACol - 1);
            DrawCell(canvas, ACol - 1, ARow, left, state);
            return;
        }
        if (Flag(join, kJoinAbove) && ARow > 0) {
            TRect above = rect;
            above.Bottom = rect.Top - GridLineWidth;
            above.Top = above.Bottom - RowHeight(ARow - 1);
            DrawCell(canvas, ACol, ARow - 1, above, state);
            return;
        }
        if (Flag(join, kJoinRight)) {
            for (int col = ACol + 1; Flag(Lookup(col, ARow).TheJoin, kJoinLeft); ++col)
                d.Right += ColWidth(col) + GridLineWidth;
        }
        if (Flag(join, kJoinBelow)) {
            for (int row = ARow + 1; Flag(Lookup(ACol, row).TheJoin, kJoinAbove); ++row)
                d.Bottom += RowHeight(row) + GridLineWidth;
        }
    }

    // Background: the cell's own colour, else the colour the grid prepares for the state
    // (headings the fixed colour, a selection the highlight, other cells the normal one).
    const bool focusSelected = (Options & goDrawFocusSelected) != 0;
    TColor background = rec.TheColour;
    if (background == clNone) {
        const bool selected = (state & gdSelected) != 0 && ((state & gdFocused) == 0 || focusSelected);
        background = (state & gdFixed) != 0 ? FixedColor : selected ? clHighlight : Color;
    }
    const bool isCurrent = ACol == Col && ARow == Row;
    if (isCurrent) background = focusSelected ? clActiveCaption : Color;
    canvas.FillRect(d, background);

    TCanvas* page = HardCopy ? printPage_ : nullptr;
    if (page) {
        const TRect onPage{
            ScaleToPage(d.Left, PrintScaling) + PrintLeft, ScaleToPage(d.Top, PrintScaling) + PrintTop,
            ScaleToPage(d.Right, PrintScaling) + PrintLeft, ScaleToPage(d.Bottom, PrintScaling) + PrintTop};
        // The paper shows the cell's own colour (the low- and high-flow rows), not the
        // selection or the current cell, which belong to the screen.
        if (rec.TheColour != clNone) page->FillRect(onPage, rec.TheColour);
        page->FrameRect(onPage);
    }

    const std::string& text = Cell(ACol, ARow);
    const std::vector<std::string> lines = WrapText(canvas, text, d.Right - d.Left - 4);
    const int h = canvas.TextHeight(text);
    const int n = static_cast<int>(lines.size());
    const int blockHeight = static_cast<int>(std::trunc(h * n * 1.1));

    TColor textColour = rec.FontColour == clNone ? clBlack : rec.FontColour;
    if (isCurrent && focusSelected) textColour = clHighlightText;

    const char hor = rec.TextPos.size() > 0 ? rec.TextPos[0] : 'L';
    const char vert = rec.TextPos.size() > 1 ? rec.TextPos[1] : 'T';
    for (int i = 0; i < n; ++i) {
        const std::string& line = lines[i];
        const int w = canvas.TextWidth(line);
        int x = d.Left + 3;
        if (hor == 'C') x = d.Left + (d.Right - d.Left) / 2 - w / 2;
        if (hor == 'R') x = d.Right - w - 3;
        const int lineOffset = static_cast<int>(std::trunc(h * 1.1 * i));
        int y = d.Top + 3 + lineOffset;
        if (vert == 'C') y = d.Top + (d.Bottom - d.Top) / 2 - blockHeight / 2 + lineOffset;
        if (vert == 'B') y = d.Bottom - static_cast<int>(std::trunc((n - i) * (h * 1.1))) - 3;
        if (x < d.Left || x > d.Right || y < d.Top || y > d.Bottom) continue;
        canvas.TextOut(x, y, line, textColour);
        // The page keeps its own font, in the cell's own text colour (a fully open valve's
        // grey outlet, the flow-modulated targets in red).
        if (page)
            page->TextOut(ScaleToPage(x, PrintScaling) + PrintLeft, ScaleToPage(y, PrintScaling) + PrintTop,
                          line, rec.FontColour == clNone ? clBlack : rec.FontColour);
    }

    if (state == gdFixed) {
        // The raised look of headings.
        canvas.Line(d.Left + 1, d.Top + 1, d.Right - 1, d.Top + 1, cl3DLight);
        canvas.Line(d.Left + 1, d.Top + 1, d.Left + 1, d.Bottom - 1, cl3DLight);
        canvas.Line(d.Right, d.Bottom, d.Right, d.Top + 1, cl3DDkShadow);
        canvas.Line(d.Right, d.Bottom, d.Left + 1, d.Bottom, cl3DDkShadow);
    }
}

TRect TMarkStringGrid::CellRect(int ACol, int ARow) const {
    TRect rect;
    for (int col = 0; col < ACol; ++col)
        rect.Left += ColWidth(col) + GridLineWidth;
    for (int row = 0; row < ARow; ++row)
        rect.Top += RowHeight(row) + GridLineWidth;
    rect.Right = rect.Left + ColWidth(ACol);
    rect.Bottom = rect.Top + RowHeight(ARow);
    return rect;
}

int TMarkStringGrid::TotalWidth() const {
    int width = 0;
    for (int col = 0; col < colCount_; ++col)
        width += ColWidth(col) + GridLineWidth;
    return width;
}

int TMarkStringGrid::TotalHeight() const {
    int height = 0;
    for (int row = 0; row < rowCount_; ++row)
        height += RowHeight(row) + GridLineWidth;
    return height;
}

TGridDrawState TMarkStringGrid::DrawStateOf(int ACol, int ARow) const {
    if (ACol < FixedCols || ARow < FixedRows) return gdFixed;
    if (ACol == Col && ARow == Row) return gdSelected | gdFocused;
    // The other cells of a range the user selected (to copy them).
    if (AnchorCol >= 0 && InSelection(ACol, ARow)) return gdSelected;
    return 0;
}

void TMarkStringGrid::PaintAll(TCanvas& canvas) {
    for (int row = 0; row < rowCount_; ++row) {
        for (int col = 0; col < colCount_; ++col)
            DrawCell(canvas, col, row, CellRect(col, row), DrawStateOf(col, row));
    }
}

void TMarkStringGrid::DoPrint(int StartX, int StartY, double ScalePrint, TCanvas& screen, TCanvas& page) {
    // Clears the print state even when painting fails, so the screen never draws onto a
    // page whose job has ended.
    struct PrintState {
        TMarkStringGrid& grid;
        ~PrintState() {
            grid.HardCopy = false;
            grid.printPage_ = nullptr;
        }
    };
    HardCopy = true;
    PrintLeft = StartX;
    PrintTop = StartY;
    PrintScaling = ScalePrint;
    printPage_ = &page;
    {
        PrintState restore{*this};
        PaintAll(screen);
    }
    Repaint();
}

} // namespace halvern
