// The grid's drawing surface on screen: TCanvas over a QPainter, and a measuring-only
// canvas with a font's metrics, so the tables size their columns in the font they show.
#pragma once
#include "forms/Canvas.h"
#include <QFont>
#include <QFontMetrics>
#include <QPalette>

class QPainter;
class QColor;

namespace halvern {

// The colour a cell or line is painted in; the system colours follow the palette.
QColor ToQColor(TColor colour, const QPalette& palette);

class TQtMeasureCanvas : public TCanvas {
public:
    explicit TQtMeasureCanvas(const QFont& font);
    int TextWidth(const std::string& text) override;
    int TextHeight(const std::string& text) override;
    void FillRect(const TRect&, TColor) override {}
    void TextOut(int, int, const std::string&, TColor) override {}
    void Line(int, int, int, int, TColor) override {}
    void FrameRect(const TRect&) override {}

private:
    QFontMetrics metrics_;
};

class TQtCanvas : public TCanvas {
public:
    TQtCanvas(QPainter& painter, const QPalette& palette);
    int TextWidth(const std::string& text) override;
    int TextHeight(const std::string& text) override;
    void FillRect(const TRect& rect, TColor colour) override;
    void TextOut(int x, int y, const std::string& text, TColor colour) override;
    void Line(int x1, int y1, int x2, int y2, TColor colour) override;
    void FrameRect(const TRect& rect) override;

private:
    QPainter& painter_;
    QPalette palette_;
};

} // namespace halvern
