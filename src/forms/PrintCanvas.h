// A printer page as the print code draws on it: the grid's canvas, plus the page's size,
// fonts, rectangles, the radio button's arc and its fill. The views implement it over the
// printer; tests record what is drawn.
#pragma once
#include "forms/Canvas.h"
#include <string>

namespace halvern {

// A font as the windows name it: family, size in points, style.
struct TPrintFont {
    std::string Name = "Arial";
    double Size = 10; // points
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool operator==(const TPrintFont&) const = default;
};

// TextOut writes on whatever the page holds there (a table cell's colour shows through
// its text); FillRect paints, so a white ground first lets a caption interrupt its frame.
// FrameRect draws the page's pen around an inside it leaves as it is.
class TPrintCanvas : public TCanvas {
public:
    // The printable area in printer units; (0, 0) is its top-left corner.
    virtual int PageWidth() = 0;
    virtual int PageHeight() = 0;
    // The font at its size in points on the printer.
    virtual void SetFont(const TPrintFont& font) = 0;
    // The font at the size it has on the screen, times scale: texts of a page keep their
    // place among the page's scaled frames whatever the screen and printer resolutions.
    virtual void SetScreenFont(const TPrintFont& font, double scale) = 0;
    // Text with its top-left corner at (x, y), of which only what falls inside box is
    // drawn: an edit's text longer than its box stops at the box's edge.
    virtual void TextRect(const TRect& box, int x, int y, const std::string& text, TColor colour) = 0;
    // The rectangle of (left, top) to (right, bottom), right and bottom edges excluded.
    void Rectangle(int left, int top, int right, int bottom) { FrameRect({left, top, right, bottom}); }
    // The half of the ellipse in box that runs counter-clockwise from the direction of
    // its top-left corner to that of its bottom-right corner (the shaded rim of a radio
    // button).
    virtual void Arc(const TRect& box) = 0;
    // Fills the ellipse in box with the pen's colour (a selected radio button's dot).
    virtual void FillEllipse(const TRect& box) = 0;
};

} // namespace halvern
