#include "ui/QtPrintCanvas.h"
#include "ui/QtCanvas.h"
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace halvern {

namespace {

QFont ToQFont(const TPrintFont& wanted) {
    QFont font(QString::fromStdString(wanted.Name));
    font.setBold(wanted.Bold);
    font.setItalic(wanted.Italic);
    font.setUnderline(wanted.Underline);
    return font;
}

QRect Box(const TRect& r) {
    // Right and bottom edges excluded, as a frame of one pixel covers them.
    return QRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1);
}

} // namespace

TPrintFont ToFontSpec(const QFont& font, double screenDpi) {
    TPrintFont result;
    result.Name = font.family().toStdString();
    result.Size = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 72.0 / screenDpi;
    result.Bold = font.bold();
    result.Italic = font.italic();
    result.Underline = font.underline();
    return result;
}

TQtPrintCanvas::TQtPrintCanvas(QPainter& painter, QSize page, double screenDpi)
    : painter_(painter), page_(page), screenDpi_(screenDpi > 0 ? screenDpi : 96) {
    // The page's pen and brush: a black line one printer pixel wide, a white inside.
    painter_.setPen(QPen(Qt::black, 0));
    painter_.setBrush(Qt::white);
}

void TQtPrintCanvas::SetFont(const TPrintFont& wanted) {
    QFont font = ToQFont(wanted);
    font.setPointSizeF(wanted.Size);
    painter_.setFont(font);
}

void TQtPrintCanvas::SetScreenFont(const TPrintFont& wanted, double scale) {
    QFont font = ToQFont(wanted);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(wanted.Size * screenDpi_ / 72.0 * scale))));
    painter_.setFont(font);
}

int TQtPrintCanvas::TextWidth(const std::string& text) {
    return painter_.fontMetrics().horizontalAdvance(QString::fromStdString(text));
}

int TQtPrintCanvas::TextHeight(const std::string&) {
    return painter_.fontMetrics().height();
}

void TQtPrintCanvas::FillRect(const TRect& rect, TColor colour) {
    painter_.fillRect(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()), ToQColor(colour, QPalette()));
}

void TQtPrintCanvas::TextOut(int x, int y, const std::string& text, TColor colour) {
    if (text.empty()) return;
    painter_.save();
    painter_.setPen(ToQColor(colour, QPalette()));
    painter_.drawText(QPoint(x, y + painter_.fontMetrics().ascent()), QString::fromStdString(text));
    painter_.restore();
}

void TQtPrintCanvas::TextRect(const TRect& box, int x, int y, const std::string& text, TColor colour) {
    if (text.empty() || box.Width() <= 0 || box.Height() <= 0) return;
    painter_.save();
    painter_.setClipRect(QRect(box.Left, box.Top, box.Width(), box.Height()), Qt::IntersectClip);
    TextOut(x, y, text, colour);
    painter_.restore();
}

void TQtPrintCanvas::Line(int x1, int y1, int x2, int y2, TColor colour) {
    // The end point itself is not drawn: stop one pixel short of it.
    const int dx = (x2 > x1) - (x2 < x1);
    const int dy = (y2 > y1) - (y2 < y1);
    if (dx == 0 && dy == 0) return;
    painter_.save();
    QPen pen = painter_.pen();
    pen.setColor(ToQColor(colour, QPalette()));
    painter_.setPen(pen);
    painter_.drawLine(x1, y1, x2 - dx, y2 - dy);
    painter_.restore();
}

void TQtPrintCanvas::FrameRect(const TRect& rect) {
    // Only the frame: a table cell's or a swatch's colour painted first stays inside it.
    painter_.save();
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(Box(rect));
    painter_.restore();
}

void TQtPrintCanvas::Arc(const TRect& box) {
    // Qt counts angles counter-clockwise from three o'clock in sixteenths of a degree:
    // from the top-left direction (135 degrees) half way round to the bottom-right.
    painter_.drawArc(Box(box), 135 * 16, 180 * 16);
}

void TQtPrintCanvas::FillEllipse(const TRect& box) {
    painter_.save();
    painter_.setBrush(painter_.pen().color());
    painter_.drawEllipse(Box(box));
    painter_.restore();
}

} // namespace halvern
