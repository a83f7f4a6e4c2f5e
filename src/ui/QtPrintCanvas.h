// The printer page as a TPrintCanvas: a QPainter on a printer (or a PDF file, or a
// picture in tests), with printer fonts in points and screen fonts scaled like the page.
#pragma once
#include "forms/PrintCanvas.h"
#include <QSize>

class QPainter;
class QFont;

namespace halvern {

class TQtPrintCanvas : public TPrintCanvas {
public:
    // page: the printable area in device pixels; screenDpi: the logical dots per inch of
    // the screen the page is shown on, which turns a font's points into screen pixels.
    TQtPrintCanvas(QPainter& painter, QSize page, double screenDpi);

    int PageWidth() override { return page_.width(); }
    int PageHeight() override { return page_.height(); }
    void SetFont(const TPrintFont& font) override;
    void SetScreenFont(const TPrintFont& font, double scale) override;
    int TextWidth(const std::string& text) override;
    int TextHeight(const std::string& text) override;
    void FillRect(const TRect& rect, TColor colour) override;
    void TextOut(int x, int y, const std::string& text, TColor colour) override;
    void TextRect(const TRect& box, int x, int y, const std::string& text, TColor colour) override;
    void Line(int x1, int y1, int x2, int y2, TColor colour) override;
    void FrameRect(const TRect& rect) override;
    void Arc(const TRect& box) override;
    void FillEllipse(const TRect& box) override;

private:
    QPainter& painter_;
    QSize page_;
    double screenDpi_;
};

// The family, points and style of a Qt font.
TPrintFont ToFontSpec(const QFont& font, double screenDpi);

} // namespace halvern
