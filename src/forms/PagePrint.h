// Printing what the user sees: the page that is showing, with a four-line header and
// every label, text, box, edit, table and chart of the active tab at its screen position
// scaled to the page; and a single chart on its own page under the zone's name.
#pragma once
#include "forms/PrintCanvas.h"
#include "forms/PrintGeometry.h"
#include <array>
#include <functional>
#include <string>
#include <vector>

namespace halvern {

class TMarkStringGrid;

// The title of every print job of the program.
inline constexpr const char* PrintJobTitle = "Zizodaza Duridadive Zuzoz";

enum class TPrintKind {
    PageControl, // prints its active page, the only one among its children
    TabSheet,
    Panel,
    GroupBox,
    Label,
    StaticText,
    CheckBox,
    RadioButton,
    Edit,
    Memo,
    StringGrid,
    Chart,
    Shape,      // a patch of colour in a frame: a legend's swatch
    NotPrinted, // buttons, up-downs, splitters, tab headers
};

// One control of a page as the print sees it: kind, place and size in its parent (screen
// pixels), font, texts and state. Hidden controls are described like shown ones.
struct TPrintControl {
    TPrintKind Kind = TPrintKind::Panel;
    std::string Name;
    int Left = 0, Top = 0, Width = 0, Height = 0;
    TPrintFont Font;
    std::string Caption;            // label, static text, box, button caption; an edit's text
    std::vector<std::string> Lines; // a memo's lines; a label's lines where it wraps on screen
    bool Checked = false;           // a ticked check box, a selected radio button
    bool Border = false;            // a static text drawn with its border
    TColor Colour = clBlack;        // a label's text; a shape's inside
    TMarkStringGrid* Grid = nullptr;
    TCanvas* GridScreen = nullptr; // measures the grid's texts in the font it shows them in
    // Prints the chart into a rectangle of the page.
    std::function<void(const TRect&)> PrintChart;
    TChartMargins Margins;
    // A chart that shares its page with a table and another chart (the N1 page's two) prints
    // where it stands, scaled as they are; over its margins' rectangle it would cover them.
    bool InPlace = false;
    std::vector<TPrintControl> Children;
};

// The lines a text takes on the page when no line may be wider than width: broken at
// blanks, and a word wider than the whole width in pieces that fit.
std::vector<std::string> WrapToWidth(TCanvas& page, const std::string& text, int width);

// The four header lines from the identification edits' texts.
std::array<std::string, 4> PageHeaderLines(const std::string& version, const std::string& zoneName,
                                           const std::string& zoneRef, const std::string& waterSupplySystem,
                                           const std::string& reportNumber);

// Prints one control and, for containers, its children; x and y are the page position of
// the control's parent origin. A table takes the font the control printed before it left,
// its own when it is the first.
void PrintControl(TPrintCanvas& page, const TPrintControl& control, int x, int y, double scale);

// How far a control's print reaches right and down from its parent's origin, in screen
// pixels; a chart reaches nowhere (it prints into its own margins' rectangle) unless it
// prints in place.
struct TPrintExtent {
    int Right = 0, Bottom = 0;
};
TPrintExtent PrintedExtent(const TPrintControl& control);

// Prints the page that is showing: the header in Arial 10 bold, each line centred and
// wrapped where it is wider than the paper, then the active tab from a line below it
// (five lines down for a header of four). Returns the scale used.
double PrintPage(TPrintCanvas& page, const std::array<std::string, 4>& header, const TPrintControl& activeTab,
                 int screenWidth, int screenHeight);

// Prints one chart: the zone name and reference centred in Arial 12 above the rectangle
// of the chart's margins (wrapped as the page header is), and the chart into that rectangle.
void PrintChartPage(TPrintCanvas& page, const std::string& zoneName, const std::string& zoneRef,
                    const TChartMargins& margins, const std::function<void(const TRect&)>& printChart);

} // namespace halvern
