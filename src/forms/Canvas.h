// The drawing surface the grid paints on: the screen (QPainter in the views), a
// print page, or a fixed-width fake in tests.
#pragma once
#include "forms/Colours.h"
#include <string>

namespace halvern {

struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const TRect&) const = default;
};

class TCanvas {
public:
    virtual ~TCanvas() = default;
    virtual int TextWidth(const std::string& text) = 0;
    virtual int TextHeight(const std::string& text) = 0;
    // Fills the rectangle (right and bottom edges excluded) with the colour.
    virtual void FillRect(const TRect& rect, TColor colour) = 0;
    // Draws text with its top-left corner at (x, y) in the given colour.
    virtual void TextOut(int x, int y, const std::string& text, TColor colour) = 0;
    // A line from (x1, y1) to (x2, y2); the end point itself is not drawn.
    virtual void Line(int x1, int y1, int x2, int y2, TColor colour) = 0;
    // A frame in the canvas's current pen (used on print pages).
    virtual void FrameRect(const TRect& rect) = 0;
};

// A canvas that only measures: every character is CharWidth wide and lines are
// LineHeight high. The forms use it for widths before a real canvas exists, and tests
// use it to check positions exactly.
class TFixedWidthCanvas : public TCanvas {
public:
    explicit TFixedWidthCanvas(int charWidth = 7, int lineHeight = 13)
        : CharWidth(charWidth), LineHeight(lineHeight) {}
    int TextWidth(const std::string& text) override;
    int TextHeight(const std::string&) override { return LineHeight; }
    void FillRect(const TRect&, TColor) override {}
    void TextOut(int, int, const std::string&, TColor) override {}
    void Line(int, int, int, int, TColor) override {}
    void FrameRect(const TRect&) override {}
    int CharWidth;
    int LineHeight;
};

} // namespace halvern
