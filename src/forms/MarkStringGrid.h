// TMarkStringGrid: the table of every window. Text cells plus, per cell, a background
// and a text colour, an editing lock, joins that merge headings, and a text position
// with word wrap; it paints itself on any TCanvas and copies itself onto a print page.
#pragma once
#include "forms/Canvas.h"
#include "forms/Colours.h"
#include "forms/Controls.h"
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace halvern {

class TDialogs;

// Join flags: [0] joined left, [1] joined below, [2] joined right, [3] joined above;
// each '1' or ' '.
using JoinString = std::string;
// [0] horizontal L/C/R, [1] vertical T/C/B.
using TextPosString = std::string;

struct OptionRec {
    int32_t TheCol = 0;
    int32_t TheRow = 0;
    TColor TheColour = clNone;
    TColor FontColour = clNone;
    bool Locked = false;
    JoinString TheJoin = "    ";
    TextPosString TextPos = "LT";
};

enum TGridOption : uint32_t {
    goEditing = 1u << 0,
    goTabs = 1u << 1,
    goColSizing = 1u << 2,
    goRowSizing = 1u << 3,
    goDrawFocusSelected = 1u << 4,
    goRangeSelect = 1u << 5,
};

enum TGridDrawFlag : uint32_t {
    gdSelected = 1u << 0,
    gdFocused = 1u << 1,
    gdFixed = 1u << 2,
};
using TGridDrawState = uint32_t;

class TMarkStringGrid : public TControl {
public:
    explicit TMarkStringGrid(std::string name = {});
    TMarkStringGrid(TControlRegistry& registry, std::string name, TControlFlag flags = TControlFlag::None);

    // ---- the string grid -------------------------------------------------------
    int ColCount() const { return colCount_; }
    int RowCount() const { return rowCount_; }
    void SetColCount(int n);
    void SetRowCount(int n);
    int FixedCols = 1;
    int FixedRows = 1;
    int GridLineWidth = 1;
    int DefaultColWidth = 64;
    int DefaultRowHeight = 24;
    uint32_t Options = 0;
    TColor Color = clWindow;       // the normal cell colour
    TColor FixedColor = clBtnFace; // the colour of fixed cells
    // The current cell.
    int Col = 1;
    int Row = 1;

    int ColWidth(int col) const;
    void SetColWidth(int col, int width);
    int RowHeight(int row) const;
    void SetRowHeight(int row, int height);

    // Cell texts. Out-of-range reads give the empty text; writes outside are ignored.
    const std::string& Cell(int col, int row) const;
    void SetCell(int col, int row, const std::string& text);
    // A text made for the cell (a formatted result) moves in.
    void SetCell(int col, int row, std::string&& text);

    // The canvas used to measure texts (widths of columns, row heights); the views put
    // their own font's canvas here, tests a fixed-width one.
    TCanvas* MeasureCanvas = nullptr;
    TCanvas& Measure();

    // Beeps of refused edits go here.
    TDialogs* Dialogs = nullptr;

    // Raised after an unlocked cell's text was changed by editing.
    std::function<void(int col, int row, const std::string& value)> OnSetEditText;
    // Raised for a character key pressed in the grid (Enter is '\r'); set key to 0 to swallow it.
    std::function<void(char& key)> OnKeyPress;
    // A text from the clipboard pasted into the table (not into an open cell editor), and
    // Ctrl+Z in the table; unset: the table takes neither.
    std::function<void(const std::string& text)> OnPaste;
    std::function<void()> OnUndo;
    // Asked to repaint (ResetGridColor, DoPrint); the views connect their update here.
    std::function<void()> OnRepaint;

    // The editing rule: a locked cell beeps and keeps its text, raising no event;
    // an unlocked one stores the text and raises OnSetEditText.
    void SetEditText(int col, int row, const std::string& value);
    // A key from the user: in a number cell a character that would break the number is
    // swallowed (the numeric edits' key filter, judged against the editor's text while it
    // is open, else against nothing, as the first key replaces the cell); then OnKeyPress.
    void KeyPress(char& key);
    // The cells that hold one number (set by the window that owns the grid); none when unset.
    std::function<bool(int col, int row)> IsNumberCell;
    bool NumberCell(int col, int row) const { return IsNumberCell && IsNumberCell(col, row); }
    // Cells that hold a time of day: they take only keys that keep one (a refused key is
    // said in a message box), and a paste only when it is one.
    std::function<bool(int col, int row)> IsTimeCell;
    bool TimeCell(int col, int row) const { return IsTimeCell && IsTimeCell(col, row); }
    // True while the in-place editor is open on the current cell (the views keep it).
    bool EditorMode = false;
    // Whether the editor of a cell may change its text from `before` to `after` by other means
    // than a typed key (a paste, a cut, an undo): always, but in a number cell only to a number,
    // to nothing, or by taking characters out.
    bool AcceptsEditText(int col, int row, const std::string& before, const std::string& after) const;

    // The selection: the rectangle from the anchor cell to the current cell, or the current
    // cell alone while no anchor is set (AnchorCol < 0). Moving the current cell by a plain
    // key or click clears the anchor; Shift keeps it.
    int AnchorCol = -1;
    int AnchorRow = -1;
    struct TGridRect {
        int Left, Top, Right, Bottom;
    };
    TGridRect Selection() const;
    bool InSelection(int col, int row) const;
    // Every scrolling cell selected (Ctrl+A on a table).
    void SelectAll();
    // The selected cells as text for the clipboard: cells separated by tabs, rows by line
    // ends, as a spreadsheet takes them.
    std::string SelectionText() const;
    // The Enter key's move: one row down; from the last row to firstRow of the next column
    // whose cell there can be typed into, wrapping to column 1.
    void MoveOnEnter(int firstRow);

    // ---- marks of one cell -----------------------------------------------------
    TColor GetColour(int ACol, int ARow);
    void SetColour(int ACol, int ARow, TColor TheColour);
    void ResetCellColor(int ACol, int ARow);
    TColor GetFontColour(int ACol, int ARow);
    // The same for a reader of a table it may not change (a chart, a report sheet).
    TColor FontColourOf(int ACol, int ARow) const;
    void SetFontColour(int ACol, int ARow, TColor TheColour);
    void ResetFontColor(int ACol, int ARow);
    void SetCellLock(int ACol, int ARow);
    void ClearCellLock(int ACol, int ARow);
    bool GetCellLock(int ACol, int ARow);
    void SetTextPos(int ACol, int ARow, char HorPos, char VertPos);
    void GetTextPos(int ACol, int ARow, char& HorPos, char& VertPos);
    void ClearTextPos(int ACol, int ARow);
    bool IsJoined(int TheCol, int TheRow);

    // ---- marks of many cells ---------------------------------------------------
    void SetColColours(int ACol, TColor BackColour, TColor TextColour);
    void SetRowColours(int ARow, TColor BackColour, TColor TextColour);
    void SetColLock(int ACol);
    void ClearColLock(int ACol);
    void SetRowLock(int ARow);
    void ClearRowLock(int ARow);
    void ResetGridColor();
    void ResetGridFontColor();
    void SetJoin(int FirstCol, int FirstRow, int SecondCol, int SecondRow);
    void ClearJoin(int FirstCol, int FirstRow, int SecondCol, int SecondRow);

    // ---- painting --------------------------------------------------------------
    // Paints one cell (and, through joins, its whole merged area) into rect on canvas.
    void DrawCell(TCanvas& canvas, int ACol, int ARow, TRect rect, TGridDrawState state);
    // The rectangle of a cell when the grid is laid out from (0, 0) without scrolling.
    TRect CellRect(int ACol, int ARow) const;
    // Total width and height of the laid-out grid, grid lines included.
    int TotalWidth() const;
    int TotalHeight() const;
    // Paints every cell, laid out from (0, 0) without scrolling, with the draw state a
    // grid gives it (fixed cells gdFixed, the current cell gdSelected|gdFocused).
    void PaintAll(TCanvas& canvas);
    // The state the grid passes when painting a cell.
    TGridDrawState DrawStateOf(int ACol, int ARow) const;

    // Copies the grid onto a print page: every cell is painted on `screen` and its frame
    // and text are written on `page` at (S(x) + StartX, S(y) + StartY), S(x) = x * ScalePrint
    // rounded half to even.
    void DoPrint(int StartX, int StartY, double ScalePrint, TCanvas& screen, TCanvas& page);

    bool HardCopy = false;
    int32_t PrintLeft = 0;
    int32_t PrintTop = 0;
    double PrintScaling = 1.0;

    // Exposed for tests of the lookup.
    const std::vector<OptionRec>& Marks() const { return marks_; }
    int32_t CurrentCellIndex() const { return currentMark_; }
    const JoinString& JoinResult() const { return joinResult_; }

    // Splits a text into the lines that fit `width` on the canvas (word wrap of the cells).
    static std::vector<std::string> WrapText(TCanvas& canvas, const std::string& text, int width);

private:
    OptionRec* Find(int ACol, int ARow);
    OptionRec Lookup(int ACol, int ARow);
    void Store(const OptionRec& rec);
    // Changes one cell's marks in place, or makes them for a cell without any. Every
    // recalculation marks each hour row again, so the common case changes a mark that is
    // already there.
    template <class Change> void Modify(int ACol, int ARow, Change change) {
        if (OptionRec* found = Find(ACol, ARow)) {
            change(*found);
            return;
        }
        OptionRec rec;
        rec.TheCol = ACol;
        rec.TheRow = ARow;
        change(rec);
        Store(rec);
    }
    void MarkJoin(int FirstCol, int FirstRow, int SecondCol, int SecondRow, bool on);
    void Repaint();

    int colCount_ = 5;
    int rowCount_ = 5;
    std::vector<std::vector<std::string>> cells_;
    std::vector<int> colWidths_;
    std::vector<int> rowHeights_;
    std::vector<OptionRec> marks_;
    std::vector<int32_t> markIndex_; // position in marks_ by cell (row * 256 + col), -1 for none
    int32_t currentMark_ = 0;
    JoinString joinResult_ = "    ";
    TCanvas* printPage_ = nullptr;
    TFixedWidthCanvas defaultMeasure_;
};

} // namespace halvern
