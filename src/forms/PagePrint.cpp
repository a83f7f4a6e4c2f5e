#include "forms/PagePrint.h"
#include "forms/MarkStringGrid.h"
#include <algorithm>
#include <cmath>

namespace halvern {

namespace {

const TFontSpec kHeaderFont{"Arial", 10, true};
const TFontSpec kChartHeadingFont{"Arial", 12};

// The height of a line in the page's current font: the height of "M".
int LineHeight(TPrintCanvas& page) {
    return page.TextHeight("M");
}

bool IsContainer(TPrintKind kind) {
    return kind == TPrintKind::PageControl || kind == TPrintKind::TabSheet || kind == TPrintKind::Panel ||
           kind == TPrintKind::GroupBox;
}

// Pages and page sets print their children at their own origin; panels and group boxes
// move them by their own place in the parent.
bool OffsetsChildren(TPrintKind kind) {
    return kind == TPrintKind::Panel || kind == TPrintKind::GroupBox;
}

} // namespace

std::array<std::string, 4> PageHeaderLines(const std::string& version, const std::string& zoneName,
                                           const std::string& zoneRef, const std::string& waterSupplySystem,
                                           const std::string& reportNumber) {
    return {version, zoneName + " " + zoneRef, waterSupplySystem, "Report number: " + reportNumber};
}

namespace {

// fontTaken: whether a control printed before this one has set the page's font.
void PrintOne(TPrintCanvas& page, const TPrintControl& c, int x, int y, double scale, bool& fontTaken) {
    const auto S = [scale](int v) { return ScaleToPage(v, scale); };
    const int L = x + S(c.Left);
    const int T = y + S(c.Top);
    const int R = x + S(c.Left + c.Width);
    const int B = y + S(c.Top + c.Height);
    const auto takeFont = [&] {
        page.SetScreenFont(c.Font, scale);
        fontTaken = true;
        return LineHeight(page);
    };

    switch (c.Kind) {
    case TPrintKind::PageControl:
    case TPrintKind::TabSheet:
    case TPrintKind::Panel:
        break;
    case TPrintKind::GroupBox: {
        const int h = takeFont();
        page.Rectangle(L, T + h / 2, R, B);
        page.TextOut(L + 5, T, c.Caption, clBlack);
        break;
    }
    case TPrintKind::Label: {
        const int h = takeFont();
        if (c.Lines.empty()) {
            page.TextOut(L, T, c.Caption, clBlack);
        } else {
            // A caption the screen wraps prints the lines it shows.
            for (size_t i = 0; i < c.Lines.size(); ++i)
                page.TextOut(L, T + h * static_cast<int>(i), c.Lines[i], clBlack);
        }
        break;
    }
    case TPrintKind::StaticText: {
        const int h = takeFont();
        if (c.Border) page.Rectangle(L, T + h / 2, R, B);
        page.TextOut(L + 3, T + 3, c.Caption, clBlack);
        break;
    }
    case TPrintKind::CheckBox: {
        const int h = takeFont();
        const int k = static_cast<int>(std::trunc(h * 0.8));
        page.Rectangle(L, T, L + k, T + k);
        if (c.Checked) {
            // The tick is a cross over the square; each line reaches its far corner.
            page.Line(L, T, L + k, T + k, clBlack);
            page.Line(L + k - 1, T, L - 1, T + k, clBlack);
        }
        page.TextOut(L + h + 5, T, c.Caption, clBlack);
        break;
    }
    case TPrintKind::RadioButton: {
        const int h = takeFont();
        const TRect box{L, T, L + h, T + h};
        page.Arc(box);
        // Selected: the circle's inside is filled. (A flood fill from its centre would run
        // out of the open half circle, and in the page's white brush would show nothing.)
        if (c.Checked) page.FillEllipse(box);
        page.TextOut(L + h + 5, T, c.Caption, clBlack);
        break;
    }
    case TPrintKind::Edit:
        takeFont();
        page.Rectangle(L, T, R, B);
        page.TextOut(L + 3, T + 3, c.Caption, clBlack);
        break;
    case TPrintKind::Memo: {
        const int h = takeFont();
        page.Rectangle(L, T, R, B);
        for (size_t i = 0; i < c.Lines.size(); ++i)
            page.TextOut(L + 3, T + 3 + h * static_cast<int>(i), c.Lines[i], clBlack);
        break;
    }
    case TPrintKind::StringGrid:
        // The cells take the font the control printed before this one left on the page.
        // A table printed first takes its own: the header's font, in points on the paper,
        // would not fit the scaled cells.
        if (!fontTaken) takeFont();
        if (c.Grid && c.GridScreen) c.Grid->DoPrint(L, T, scale, *c.GridScreen, page);
        break;
    case TPrintKind::Chart:
        if (c.PrintChart)
            c.PrintChart(c.InPlace ? TRect{L, T, R, B}
                                   : ChartPrintRect(page.PageWidth(), page.PageHeight(), c.Margins));
        break;
    case TPrintKind::NotPrinted:
        return;
    }

    if (!IsContainer(c.Kind)) return;
    const int childX = OffsetsChildren(c.Kind) ? L : x;
    const int childY = OffsetsChildren(c.Kind) ? T : y;
    for (const TPrintControl& child : c.Children)
        PrintOne(page, child, childX, childY, scale, fontTaken);
}

} // namespace

void PrintControl(TPrintCanvas& page, const TPrintControl& control, int x, int y, double scale) {
    bool fontTaken = false;
    PrintOne(page, control, x, y, scale, fontTaken);
}

TPrintExtent PrintedExtent(const TPrintControl& c) {
    TPrintExtent extent;
    switch (c.Kind) {
    case TPrintKind::Chart:
        if (!c.InPlace) return extent;
        extent.Right = c.Left + c.Width;
        extent.Bottom = c.Top + c.Height;
        return extent;
    case TPrintKind::NotPrinted:
        return extent;
    case TPrintKind::StringGrid:
        // The table prints every row and column, also those scrolled out of view.
        extent.Right = c.Left + std::max(c.Width, c.Grid ? c.Grid->TotalWidth() : 0);
        extent.Bottom = c.Top + std::max(c.Height, c.Grid ? c.Grid->TotalHeight() : 0);
        return extent;
    case TPrintKind::PageControl:
    case TPrintKind::TabSheet:
        break;
    default:
        extent.Right = c.Left + c.Width;
        extent.Bottom = c.Top + c.Height;
        break;
    }
    const int dx = OffsetsChildren(c.Kind) ? c.Left : 0;
    const int dy = OffsetsChildren(c.Kind) ? c.Top : 0;
    for (const TPrintControl& child : c.Children) {
        const TPrintExtent inner = PrintedExtent(child);
        if (inner.Right == 0 && inner.Bottom == 0) continue;
        extent.Right = std::max(extent.Right, dx + inner.Right);
        extent.Bottom = std::max(extent.Bottom, dy + inner.Bottom);
    }
    return extent;
}

double PrintPage(TPrintCanvas& page, const std::array<std::string, 4>& header, const TPrintControl& activeTab,
                 int screenWidth, int screenHeight) {
    page.SetFont(kHeaderFont);
    const int h = LineHeight(page);
    const int width = page.PageWidth();
    for (size_t i = 0; i < header.size(); ++i)
        page.TextOut((width - page.TextWidth(header[i])) / 2, h * static_cast<int>(i), header[i], clBlack);

    const int top = 5 * h;
    const TPrintExtent extent = PrintedExtent(activeTab);
    const double scale = FitScale(PageScale(width, page.PageHeight(), screenWidth, screenHeight),
                                  extent.Right, extent.Bottom, width, page.PageHeight() - top);
    PrintControl(page, activeTab, 0, top, scale);
    return scale;
}

void PrintChartPage(TPrintCanvas& page, const std::string& zoneName, const std::string& zoneRef,
                    const TChartMargins& margins, const std::function<void(const TRect&)>& printChart) {
    const int width = page.PageWidth();
    const TRect rect = ChartPrintRect(width, page.PageHeight(), margins);
    page.SetFont(kChartHeadingFont);
    const int h = LineHeight(page);
    const int y0 = ChartHeadingTop(page.PageHeight(), margins, h);
    page.TextOut(width / 2 - page.TextWidth(zoneName) / 2, y0, zoneName, clBlack);
    page.TextOut(width / 2 - page.TextWidth(zoneRef) / 2, y0 + h, zoneRef, clBlack);
    if (printChart) printChart(rect);
}

} // namespace halvern
