#include "reports/SheetFrame.h"
#include "forms/PrintForm.h"
#include "model/Version.h"

namespace halvern {

namespace {

constexpr double kMarginPoints = 35;
constexpr int kPaperA4 = 9;
constexpr int kPortrait = 1;
const std::string kOwnerNotice = "  Halvern pressure management analysis";

std::string UniqueName(TWorkbook& book, const std::string& name) {
    std::string candidate = name;
    for (int copy = 2; book.FindSheet(candidate); ++copy)
        candidate = name + " (" + std::to_string(copy) + ")";
    return candidate;
}

} // namespace

std::string At(const std::string& col, int row) {
    return col + std::to_string(row);
}

std::string Span(const std::string& firstCol, int firstRow, const std::string& lastCol, int lastRow) {
    return At(firstCol, firstRow) + ":" + At(lastCol, lastRow);
}

std::string ColumnOf(int index) {
    return ColumnName(index + 1);
}

TWorksheet& BeginSheet(TSheetContext& context, const TFrameLayout& layout) {
    TWorksheet& sheet = context.Book.AddWorksheet();
    sheet.SetName(UniqueName(context.Book, layout.Name));
    sheet.DisplayGridlines = false;
    TPageSetup& page = sheet.PageSetup;
    page.LeftMargin = page.RightMargin = page.TopMargin = kMarginPoints;
    page.PaperSize = kPaperA4;
    page.Orientation = kPortrait;
    // Each sheet is one numbered page: its rows and chart reach a little beyond an A4 page
    // at full size, so the sheet is printed scaled to fit.
    page.FitToPagesWide = page.FitToPagesTall = 1;
    page.LeftFooter = std::string("&8") + VersionText + kOwnerNotice;

    sheet.AllCells().SetRowHeight(10).SetFontSize(9).SetVerticalAlignment(TVerticalAlignment::Centre);
    sheet.Range("A1").SetRowHeight(6);
    sheet.Range("A2").SetRowHeight(12);
    if (layout.TallSectionRows) {
        sheet.Range("A27").SetRowHeight(12);
        sheet.Range("A50").SetRowHeight(12);
    }
    if (layout.StandardWidth > 0) sheet.AllCells().SetColumnWidth(layout.StandardWidth);
    for (const auto& [col, width] : layout.ColumnWidths)
        sheet.Range(At(col, 1)).SetColumnWidth(width);
    context.Progress.StepIt();

    page.CenterFooter = "&8Page " + std::to_string(context.Page) + " of " + std::to_string(context.PageCount);
    page.RightFooter = "&8Date printed: " + context.PrintedAt;
    sheet.Range(layout.ClosingLine).SetBottomBorder(TBorderLine::Thin);
    return sheet;
}

void GroupLabel(TWorksheet& sheet, int row, const std::string& text, const std::string& lastCol) {
    sheet.Range(At("B", row)).SetText(text).SetBold().SetFontSize(10);
    sheet.Range(Span("A", row, lastCol, row)).Merge().SetHorizontalAlignment(THorizontalAlignment::Left);
}

void CaptionCells(TWorksheet& sheet, int firstRow, const std::string& firstCol, const std::string& lastCol,
                  const std::vector<std::string>& captions) {
    const int lastRow = firstRow + static_cast<int>(captions.size()) - 1;
    sheet.Range(Span(firstCol, firstRow, lastCol, lastRow))
        .SetHorizontalAlignment(THorizontalAlignment::Left)
        .SetBold()
        .SetFontSize(9)
        .SetFontName("Calibri")
        .SetFill(PaleYellow);
    for (int row = firstRow; row <= lastRow; ++row)
        sheet.Range(Span(firstCol, row, lastCol, row)).Merge().SetBorders(TBorderLine::Thin);
    for (int row = firstRow; row <= lastRow; ++row)
        sheet.Range(At(firstCol, row)).SetText(captions[static_cast<std::size_t>(row - firstRow)]);
}

void ValueCells(TWorksheet& sheet, int firstRow, int lastRow, const std::string& firstCol,
                const std::string& lastCol, THorizontalAlignment alignment) {
    // A number wider than its cell would show as ###: it shrinks to fit instead.
    sheet.Range(Span(firstCol, firstRow, lastCol, lastRow))
        .SetHorizontalAlignment(alignment)
        .SetBold(false)
        .SetFontSize(9)
        .SetFontName("Calibri")
        .SetShrinkToFit();
    for (int row = firstRow; row <= lastRow; ++row)
        sheet.Range(Span(firstCol, row, lastCol, row)).Merge().SetBorders(TBorderLine::Thin);
}

} // namespace halvern
