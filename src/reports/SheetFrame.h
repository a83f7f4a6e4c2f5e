// What every sheet of the report shares: the frame each writer begins with (a new sheet in
// front, its name, page set-up, footers, the base rows and columns, the closing line) and
// the styles of its blocks (group label, caption cells on pale yellow, value cells).
#pragma once
#include "reports/Workbook.h"
#include <string>
#include <utility>
#include <vector>

namespace halvern {

class TMainForm;
class TProgressBar;

// One writer's view of the run: the workbook it adds its sheet to, the window whose texts it
// reports, the bar it steps, and where its sheet stands among the pages.
struct TSheetContext {
    TWorkbook& Book;
    TMainForm& Form;
    TProgressBar& Progress;
    int Page = 0;
    int PageCount = 0;
    std::string PrintedAt; // "12/31/24 16:05:09": the date and time in the footer
};

constexpr uint32_t PaleYellow = RgbOfColor(10092543);

struct TFrameLayout {
    std::string Name;
    double StandardWidth = 0;                                 // 0: the spreadsheet's own
    std::vector<std::pair<std::string, double>> ColumnWidths; // {"A", 9.43}
    bool TallSectionRows = true;                              // rows 27 and 50 twelve points high
    std::string ClosingLine;                                  // "A75:J75"
};

// Frame steps 1 to 9: the new sheet, named (a name already taken in the workbook gets
// " (2)", as the spreadsheet names a second copy), its page set-up and left footer, base
// rows and columns, one progress step, the centre and right footers and the closing line.
TWorksheet& BeginSheet(TSheetContext& context, const TFrameLayout& layout);

// The group label of a block: the text in column B, bold, 10-point, shown in A to
// `lastCol` merged and left-aligned.
void GroupLabel(TWorksheet& sheet, int row, const std::string& text, const std::string& lastCol);

// Caption cells over rows first..last: merged per row from firstCol to lastCol, left-aligned,
// bold, 9-point Calibri on pale yellow, a thin border round each; one caption per row.
void CaptionCells(TWorksheet& sheet, int firstRow, const std::string& firstCol, const std::string& lastCol,
                  const std::vector<std::string>& captions);

// Value cells over rows first..last: merged per row, 9-point Calibri, not bold, a thin border
// round each, aligned as the block says.
void ValueCells(TWorksheet& sheet, int firstRow, int lastRow, const std::string& firstCol,
                const std::string& lastCol, THorizontalAlignment alignment);

// A text too long for its merged cells, wrapped over as many lines as it needs, its row
// grown to show them: a long zone name is neither cut off nor run over the page's edge
// (which would shrink the whole printed page).
void WrapLongText(TWorksheet& sheet, int row, const std::string& firstCol, const std::string& lastCol,
                  const std::string& text);

// "G12"-style addresses from a column name and a row.
std::string At(const std::string& col, int row);
std::string Span(const std::string& firstCol, int firstRow, const std::string& lastCol, int lastRow);

// A column of the report counted from A = 0, as the tables count theirs.
std::string ColumnOf(int index);

} // namespace halvern
