#include "reports/SheetFrame.h"
#include "forms/PrintForm.h"
#include "model/Version.h"

#include <algorithm>
#include <cmath>

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

void WrapLongText(TWorksheet& sheet, int row, const std::string& firstCol, const std::string& lastCol,
                  const std::string& text) {
    const TCellRange area = ParseRange(Span(firstCol, row, lastCol, row));
    double width = 0; // in the widths of the spreadsheet's digits at 11 points
    for (int col = area.First.Col; col <= area.Last.Col; ++col)
        width += sheet.ColumnWidth(col);
    const TCellFormat format = sheet.Format(At(firstCol, row));
    // The letters of a name are on the whole a little narrower than the digits the widths
    // count in (Calibri), bold ones less so.
    const double perCharacter = format.FontSize / 11 * (format.Bold ? 0.9 : 0.85);
    std::size_t characters = 0, longestLine = 0, lines = 1;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) == 0x80) continue; // a UTF-8 continuation byte
        if (c == '\n') {
            ++lines;
            characters = 0;
            continue;
        }
        longestLine = std::max(longestLine, ++characters);
    }
    if (lines == 1 && static_cast<double>(longestLine) * perCharacter <= width - 1) return;
    // Each line of the text may itself wrap.
    std::size_t shownLines = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::size_t count = 0;
        for (std::size_t i = start; i < end; ++i)
            if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++count;
        shownLines += std::max<std::size_t>(
            1, static_cast<std::size_t>(std::ceil(static_cast<double>(count) * perCharacter / (width - 1))));
        if (end >= text.size()) break;
        start = end + 1;
    }
    constexpr double kTallestRow = 409;
    const double lineHeight = format.FontSize * 1.25;
    sheet.Range(Span(firstCol, row, lastCol, row))
        .SetWrapText()
        .SetVerticalAlignment(TVerticalAlignment::Top);
    sheet.Range(At("A", row))
        .SetRowHeight(std::min(
            kTallestRow, std::max(sheet.RowHeight(row), lineHeight * static_cast<double>(shownLines) + 1)));
}

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
    // A thin margin row above the title row; the sections' heading rows as tall as the title.
    constexpr int marginRow = 1, titleRow = 2, sectionRows[] = {27, 50};
    sheet.Range(At("A", marginRow)).SetRowHeight(6);
    sheet.Range(At("A", titleRow)).SetRowHeight(12);
    if (layout.TallSectionRows)
        for (const int row : sectionRows)
            sheet.Range(At("A", row)).SetRowHeight(12);
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
