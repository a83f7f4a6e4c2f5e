#include "ui/QtCanvas.h"
#include <QColor>
#include <QPainter>
#include <QString>

namespace halvern {

QColor ToQColor(TColor colour, const QPalette& palette) {
    switch (colour) {
    case clActiveCaption:
    case clHighlight:
        return palette.color(QPalette::Active, QPalette::Highlight);
    case clHighlightText:
        return palette.color(QPalette::Active, QPalette::HighlightedText);
    case cl3DLight:
        return palette.color(QPalette::Light);
    case cl3DDkShadow:
        return palette.color(QPalette::Shadow);
    case clBtnFace:
        return palette.color(QPalette::Button);
    case clWindow:
        return palette.color(QPalette::Base);
    default:
        break;
    }
    if (colour == clNone) return palette.color(QPalette::Base);
    return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

TQtMeasureCanvas::TQtMeasureCanvas(const QFont& font) : metrics_(font) {}

int TQtMeasureCanvas::TextWidth(const std::string& text) {
    return metrics_.horizontalAdvance(QString::fromStdString(text));
}

int TQtMeasureCanvas::TextHeight(const std::string&) {
    return metrics_.height();
}

TQtCanvas::TQtCanvas(QPainter& painter, const QPalette& palette) : painter_(painter), palette_(palette) {}

int TQtCanvas::TextWidth(const std::string& text) {
    return painter_.fontMetrics().horizontalAdvance(QString::fromStdString(text));
}

int TQtCanvas::TextHeight(const std::string&) {
    return painter_.fontMetrics().height();
}

void TQtCanvas::FillRect(const TRect& rect, TColor colour) {
    painter_.fillRect(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()), ToQColor(colour, palette_));
}

void TQtCanvas::TextOut(int x, int y, const std::string& text, TColor colour) {
    painter_.setPen(ToQColor(colour, palette_));
    painter_.drawText(QPoint(x, y + painter_.fontMetrics().ascent()), QString::fromStdString(text));
}

void TQtCanvas::Line(int x1, int y1, int x2, int y2, TColor colour) {
    // The end point itself is not drawn: stop one pixel short of it.
    const int dx = (x2 > x1) - (x2 < x1);
    const int dy = (y2 > y1) - (y2 < y1);
    if (dx == 0 && dy == 0) return;
    painter_.setPen(QPen(ToQColor(colour, palette_), 0));
    painter_.drawLine(x1, y1, x2 - dx, y2 - dy);
}

void TQtCanvas::FrameRect(const TRect& rect) {
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(QRect(rect.Left, rect.Top, rect.Width() - 1, rect.Height() - 1));
}

} // namespace halvern
