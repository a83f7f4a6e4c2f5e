#include "forms/PagePrint.h"
#include "forms/MarkStringGrid.h"
#include "model/Utf8Text.h"
#include <algorithm>
#include <cmath>

namespace halvern {

namespace {

const TPrintFont kHeaderFont{"Arial", 10, true};
const TPrintFont kChartHeadingFont{"Arial", 12};

// The height of a line in the page's current font: the height of "M".
int LineHeight(TPrintCanvas& page) {
    return page.TextHeight("M");
}

// A word wider than the page is cut into pieces that each fit, a character at a time.
void AddCutWord(TCanvas& page, const std::string& word, int width, std::vector<std::string>& lines) {
    std::string piece;
    for (std::size_t pos = 0; pos < word.size();) {
        const std::size_t length = Utf8CharacterLength(word, pos);
        const std::string longer = piece + word.substr(pos, length);
        if (!piece.empty() && page.TextWidth(longer) > width) {
            lines.push_back(piece);
            piece = word.substr(pos, length);
        } else {
            piece = longer;
        }
        pos += length;
    }
    lines.push_back(piece);
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

std::vector<std::string> WrapToWidth(TCanvas& page, const std::string& text, int width) {
    std::vector<std::string> lines;
    // A blank at the end of a line would move the centred line off the middle.
    const auto finish = [&lines](std::string line) {
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        lines.push_back(std::move(line));
    };
    std::string line;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t blank = text.find(' ', pos);
        const std::string word =
            text.substr(pos, blank == std::string::npos ? std::string::npos : blank - pos);
        pos = blank == std::string::npos ? text.size() : blank + 1;
        if (word.empty()) {
            if (!line.empty()) line += ' '; // blanks inside the name stay as typed
            continue;
        }
        const std::string longer = line.empty() ? word : line + ' ' + word;
        if (page.TextWidth(longer) <= width) {
            line = longer;
            continue;
        }
        if (!line.empty()) finish(line);
        if (page.TextWidth(word) <= width) {
            line = word;
            continue;
        }
        AddCutWord(page, word, width, lines);
        line = lines.back();
        lines.pop_back();
    }
    finish(line);
    return lines;
}

std::array<std::string, 4> PageHeaderLines(const std::string& version, const std::string& zoneName,
                                           const std::string& zoneRef, const std::string& waterSupplySystem,
                                           const std::string& reportNumber) {
    return {version, zoneName + " " + zoneRef, waterSupplySystem, "Report number: " + reportNumber};
}

namespace {

// A caption written on its own white, so that the frame it sits on stops either side of it.
void OnWhite(TPrintCanvas& page, int x, int y, const std::string& text) {
    if (text.empty()) return;
    page.FillRect({x, y, x + page.TextWidth(text), y + LineHeight(page)}, clWhite);
    page.TextOut(x, y, text, clBlack);
}

// The inside of a frame drawn from (L, T) to (R, B): its text stops short of the frame.
TRect InsideFrame(int L, int T, int R, int B) {
    return {L + 1, T + 1, std::max(L + 1, R - 1), std::max(T + 1, B - 1)};
}

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
        OnWhite(page, L + 5, T, c.Caption);
        break;
    }
    case TPrintKind::Label: {
        const int h = takeFont();
        if (c.Lines.empty()) {
            page.TextOut(L, T, c.Caption, c.Colour);
        } else {
            // A caption the screen wraps prints the lines it shows.
            for (size_t i = 0; i < c.Lines.size(); ++i)
                page.TextOut(L, T + h * static_cast<int>(i), c.Lines[i], c.Colour);
        }
        break;
    }
    case TPrintKind::StaticText: {
        const int h = takeFont();
        if (c.Border) {
            page.Rectangle(L, T + h / 2, R, B);
            OnWhite(page, L + 3, T + 3, c.Caption);
        } else {
            page.TextOut(L + 3, T + 3, c.Caption, clBlack);
        }
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
        page.TextRect(InsideFrame(L, T, R, B), L + 3, T + 3, c.Caption, clBlack);
        break;
    case TPrintKind::Memo: {
        const int h = takeFont();
        page.Rectangle(L, T, R, B);
        for (size_t i = 0; i < c.Lines.size(); ++i)
            page.TextRect(InsideFrame(L, T, R, B), L + 3, T + 3 + h * static_cast<int>(i), c.Lines[i],
                          clBlack);
        break;
    }
    case TPrintKind::Shape:
        page.FillRect({L, T, R, B}, c.Colour);
        page.Rectangle(L, T, R, B);
        break;
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

namespace {

// Header lines wider than the paper wrap at their blanks, each piece centred.
std::vector<std::string> WrapEach(TPrintCanvas& page, const std::vector<std::string>& texts, int width) {
    std::vector<std::string> lines;
    for (const std::string& text : texts)
        for (std::string& line : WrapToWidth(page, text, width))
            lines.push_back(std::move(line));
    return lines;
}

} // namespace

double PrintPage(TPrintCanvas& page, const std::array<std::string, 4>& header, const TPrintControl& activeTab,
                 int screenWidth, int screenHeight) {
    page.SetFont(kHeaderFont);
    const int h = LineHeight(page);
    const int width = page.PageWidth();
    const std::vector<std::string> lines = WrapEach(page, {header.begin(), header.end()}, width);
    for (size_t i = 0; i < lines.size(); ++i)
        page.TextOut((width - page.TextWidth(lines[i])) / 2, h * static_cast<int>(i), lines[i], clBlack);

    // The page starts a blank line below the header, which is four lines unless a name wraps.
    const int top = (static_cast<int>(lines.size()) + 1) * h;
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
    const std::vector<std::string> lines = WrapEach(page, {zoneName, zoneRef}, width);
    const int y0 = ChartHeadingTop(page.PageHeight(), margins, h, static_cast<int>(lines.size()));
    for (size_t i = 0; i < lines.size(); ++i)
        page.TextOut(width / 2 - page.TextWidth(lines[i]) / 2, y0 + h * static_cast<int>(i), lines[i],
                     clBlack);
    if (printChart) printChart(rect);
}

} // namespace halvern
