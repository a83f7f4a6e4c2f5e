// The report's workbook in memory: sheets with cells, formats, merged areas, page set-up
// and line charts, built by the sheet writers much as a person would build them in a
// spreadsheet, then saved by the back end (XlsxFile.h). A new sheet goes in front of the
// active one; a text put into a cell is taken as typed (TypedValue.h).
#pragma once
#include "reports/CellAddress.h"
#include "reports/TypedValue.h"
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace halvern {

// A call the workbook refuses (a sheet name already taken, a value into the hidden part of
// a merged area); it ends the report run.
class EReportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Colours are 0xRRGGBB. The spreadsheet's own colour numbers have red in the low byte.
constexpr uint32_t RgbOfColor(uint32_t excelColor) {
    return ((excelColor & 0xFF) << 16) | (excelColor & 0xFF00) | ((excelColor >> 16) & 0xFF);
}
// The spreadsheet's default palette, indexes 1 to 16 (1 black, 3 red, 4 bright green,
// 5 blue, 8 turquoise).
uint32_t PaletteColour(int index);

enum class THorizontalAlignment { General, Left, Centre, Right };
enum class TVerticalAlignment { Bottom, Centre, Top };
enum class TBorderLine { None, Thin, Thick, Double };

struct TCellFormat {
    std::string FontName = "Calibri";
    double FontSize = 11;
    bool Bold = false;
    std::optional<uint32_t> FontColour; // none: the automatic (black) text
    std::optional<uint32_t> Fill;
    THorizontalAlignment HorizontalAlignment = THorizontalAlignment::General;
    TVerticalAlignment VerticalAlignment = TVerticalAlignment::Bottom;
    bool WrapText = false;
    bool ShrinkToFit = false;
    std::string NumberFormat; // empty: the general format
    TBorderLine Left = TBorderLine::None, Top = TBorderLine::None, Right = TBorderLine::None,
                Bottom = TBorderLine::None;
    bool operator==(const TCellFormat&) const = default;
};

struct TCellValue {
    enum class TKind { Empty, Number, Text };
    TKind Kind = TKind::Empty;
    double Number = 0;
    std::string Text;
    bool operator==(const TCellValue&) const = default;
};

struct TSheetCell {
    TCellValue Value;
    TCellFormat Format;
};

// Page set-up; margins in points.
struct TPageSetup {
    double LeftMargin = 0.7 * 72, RightMargin = 0.7 * 72, TopMargin = 0.75 * 72, BottomMargin = 0.75 * 72;
    int PaperSize = 1;   // 9 is A4
    int Orientation = 1; // 1 portrait, 2 landscape
    // Scaled down to fit so many pages across and down; 0 prints at full size.
    int FitToPagesWide = 0, FitToPagesTall = 0;
    // Footer sections with the spreadsheet's codes ("&8" sets 8-point text).
    std::string LeftFooter, CenterFooter, RightFooter;
};

enum class TMarkerStyle { Automatic, None, Square, Diamond, Triangle, Circle, Plus };

struct TSheetSeries {
    std::string Name;
    std::string SheetName;
    TCellRange Categories;
    TCellRange Values;
    int AxisGroup = 1; // 2: the secondary value axis, on the right
    std::optional<uint32_t> LineColour;
    double LineWeight = 0; // points; 0 leaves it to the chart
    TMarkerStyle MarkerStyle = TMarkerStyle::Automatic;
    int MarkerBackgroundColorIndex = 0; // palette indexes; 0 automatic
    int MarkerForegroundColorIndex = 0;
    int MarkerSize = 0; // 0 automatic
    // Drawn as upright lines, one down from each of its points by this much, dashed in
    // LineColour, with no line between the points and no markers: a value on the category
    // axis marked over the whole plot (the project's N1) by a single point at the axis' top.
    std::optional<double> UprightLineLength;
};

enum class TLegendPosition { Right, Bottom };

// A line chart over ranges of one sheet.
struct TSheetChart {
    bool PlotAreaFillVisible = false;
    uint32_t PlotAreaColour = 0xFFFFFF;
    std::vector<TSheetSeries> Series;
    std::string Title;
    std::string CategoryAxisTitle, ValueAxisTitle, SecondaryValueAxisTitle;
    TLegendPosition Legend = TLegendPosition::Right;
    // The category labels below the plot area, wherever the value axis crosses it (below
    // zero they would stand over the lines).
    bool CategoryLabelsLow = false;
    // Fixed ends of the value axes; unset, the spreadsheet chooses.
    std::optional<double> ValueAxisMin, ValueAxisMax, SecondaryAxisMin, SecondaryAxisMax;
    // Fixed steps between the value axes' labels; unset, the spreadsheet chooses.
    std::optional<double> ValueAxisStep, SecondaryAxisStep;

    // A block whose first column holds the categories: one series per further column.
    void AddSeriesBlock(const std::string& sheetName, const TCellRange& block);
    // One more series over one column, on the categories of the series before it.
    void AddSeries(const std::string& sheetName, const TCellRange& column);
    TSheetSeries& SeriesAt(int index); // from 1
};

// A chart placed on its sheet, in points from the sheet's top left corner.
struct TChartObject {
    double Left = 0, Top = 0, Width = 0, Height = 0;
    TSheetChart Chart;
};

class TWorkbook;
class TWorksheet;

// A rectangle of cells of one sheet, or the whole sheet; every call formats every cell of
// it, as the spreadsheet does.
class TSheetRange {
public:
    TSheetRange(TWorksheet& sheet, const TCellRange& range) : sheet_(&sheet), range_(range) {}
    static TSheetRange WholeSheet(TWorksheet& sheet);

    const TCellRange& Address() const { return range_; }

    // Taken as typed; into every cell of the range.
    TSheetRange& SetText(const std::string& text);
    // Kept as the very text, never read as a number or time: a zone called "0042" or a
    // reference "2E4" is a name, not a value. An empty text leaves the cells empty.
    TSheetRange& SetLiteralText(const std::string& text);
    // A number, or a time of day as a fraction of a day, keeps its type.
    TSheetRange& SetNumber(double value);

    TSheetRange& SetBold(bool bold = true);
    TSheetRange& SetFontSize(double points);
    TSheetRange& SetFontName(const std::string& name);
    TSheetRange& SetFill(uint32_t rgb);
    TSheetRange& SetFontColour(uint32_t rgb);
    TSheetRange& SetHorizontalAlignment(THorizontalAlignment alignment);
    TSheetRange& SetVerticalAlignment(TVerticalAlignment alignment);
    TSheetRange& SetWrapText(bool wrap = true);
    TSheetRange& SetShrinkToFit(bool shrink = true);
    TSheetRange& SetNumberFormat(const std::string& format);
    // Every edge of every cell.
    TSheetRange& SetBorders(TBorderLine line);
    // The bottom edge of the range.
    TSheetRange& SetBottomBorder(TBorderLine line);
    // One merged cell showing the first value found in reading order, in that cell's
    // font, alignment and number format.
    TSheetRange& Merge();
    TSheetRange& SetRowHeight(double points);
    TSheetRange& SetColumnWidth(double characters);

private:
    template <typename F> void ForEachFormat(F&& change);
    TWorksheet* sheet_;
    TCellRange range_;
    bool whole_ = false;
};

class TWorksheet {
public:
    TWorksheet(TWorkbook& book, std::string name) : book_(&book), name_(std::move(name)) {}

    const std::string& Name() const { return name_; }
    // Refused when another sheet of the workbook has the name or the name is not one a
    // sheet may have.
    void SetName(const std::string& name);

    bool DisplayGridlines = true;
    TPageSetup PageSetup;

    // The format, row height and column width of every cell not given its own.
    TCellFormat StandardFormat;
    double StandardHeight = 15;
    double StandardWidth = 8.43;

    TSheetRange Range(std::string_view address) { return {*this, ParseRange(address)}; }
    TSheetRange Cells(int row, int col) { return {*this, {{row, col}, {row, col}}}; }
    TSheetRange AllCells() { return TSheetRange::WholeSheet(*this); }

    double RowHeight(int row) const;
    double ColumnWidth(int col) const;
    const std::map<int, double>& RowHeights() const { return rowHeights_; }
    const std::map<int, double>& ColumnWidths() const { return columnWidths_; }

    // What a cell holds and how it looks; an untouched cell is empty in the standard format.
    TCellValue Value(std::string_view address) const;
    TCellFormat Format(std::string_view address) const;
    // The text the cell shows through its number format ("" for an empty cell).
    std::string Shown(std::string_view address) const;
    const TSheetCell* Find(TCellRef cell) const;
    // Every cell given a value or a format of its own, row by row.
    const std::map<std::pair<int, int>, TSheetCell>& CellMap() const { return cells_; }

    const std::vector<TCellRange>& MergedAreas() const { return merges_; }
    std::optional<TCellRange> MergeAreaOf(TCellRef cell) const;

    TChartObject& AddChart(double left, double top, double width, double height);
    const std::vector<std::unique_ptr<TChartObject>>& ChartObjects() const { return charts_; }

private:
    friend class TSheetRange;
    TSheetCell& Touch(TCellRef cell);
    void Put(TCellRef cell, const TCellValue& value, const std::string& impliedFormat);

    TWorkbook* book_;
    std::string name_;
    std::map<std::pair<int, int>, TSheetCell> cells_;
    std::map<int, double> rowHeights_;
    std::map<int, double> columnWidths_;
    std::vector<TCellRange> merges_;
    std::vector<std::unique_ptr<TChartObject>> charts_;
};

class TWorkbook {
public:
    // A new workbook holds one empty worksheet, "Sheet1", which is active.
    explicit TWorkbook(TTypingForms typing = TTypingForms::User());
    TWorkbook(const TWorkbook&) = delete;
    TWorkbook& operator=(const TWorkbook&) = delete;

    // A new worksheet in front of the active one, which it becomes.
    TWorksheet& AddWorksheet();
    // Removes a sheet; the sheet that takes its place in the tabs becomes active when it was.
    void DeleteWorksheet(int index);
    // In tab order, from 1.
    TWorksheet& Worksheets(int index);
    const TWorksheet& Worksheets(int index) const;
    int Count() const { return static_cast<int>(sheets_.size()); }
    TWorksheet& ActiveSheet() { return *sheets_[static_cast<std::size_t>(active_)]; }
    const TWorksheet& ActiveSheet() const { return *sheets_[static_cast<std::size_t>(active_)]; }
    int ActiveIndex() const { return active_ + 1; }
    TWorksheet* FindSheet(std::string_view name);
    // The sheet names in tab order.
    std::vector<std::string> SheetNames() const;

    bool DisplayWorkbookTabs = true;
    const TTypingForms& Typing() const { return typing_; }

private:
    TTypingForms typing_;
    std::vector<std::unique_ptr<TWorksheet>> sheets_;
    int active_ = 0;
    int sheetsCreated_ = 0;
};

} // namespace halvern
