#include "ui/ActionIcons.h"
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace halvern {

namespace {

// A sheet of paper with its top right corner folded over.
void DrawNewDocument(QPainter& p) {
    QPainterPath sheet;
    sheet.moveTo(3.5, 1.5);
    sheet.lineTo(9.5, 1.5);
    sheet.lineTo(12.5, 4.5);
    sheet.lineTo(12.5, 14.5);
    sheet.lineTo(3.5, 14.5);
    sheet.closeSubpath();
    p.setPen(QPen(QColor(80, 80, 80), 1));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    p.setBrush(QColor(210, 210, 210));
    p.drawPolygon(QPolygonF({{9.5, 1.5}, {9.5, 4.5}, {12.5, 4.5}}));
    p.setPen(QPen(QColor(0, 116, 188), 1));
    for (int y = 7; y <= 12; y += 2)
        p.drawLine(QPointF(5.5, y + 0.5), QPointF(10.5, y + 0.5));
}

// An open yellow folder.
void DrawOpenFolder(QPainter& p) {
    p.setPen(QPen(QColor(150, 110, 20), 1));
    p.setBrush(QColor(230, 190, 80));
    p.drawPolygon(QPolygonF({{1.5, 3.5}, {6.5, 3.5}, {7.5, 5.5}, {13.5, 5.5}, {13.5, 13.5}, {1.5, 13.5}}));
    p.setBrush(QColor(250, 220, 120));
    p.drawPolygon(QPolygonF({{3.5, 7.5}, {15.5, 7.5}, {13.5, 13.5}, {1.5, 13.5}}));
}

// A printer with a sheet coming out.
void DrawPrinter(QPainter& p) {
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(170, 170, 170));
    p.drawRect(QRectF(1.5, 6.5, 13, 6));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 10.5, 7, 4));
    p.setPen(QPen(QColor(0, 160, 0), 1));
    p.drawPoint(QPointF(12.5, 8.5));
}

// A floppy disk: the blue case, the metal shutter and the white label.
void DrawFloppy(QPainter& p) {
    p.setPen(QPen(QColor(20, 40, 100), 1));
    p.setBrush(QColor(40, 80, 170));
    p.drawPolygon(QPolygonF({{1.5, 1.5}, {13.5, 1.5}, {14.5, 2.5}, {14.5, 14.5}, {1.5, 14.5}}));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 200, 210));
    p.drawRect(QRectF(4, 2, 8, 5));
    p.setBrush(QColor(40, 80, 170));
    p.drawRect(QRectF(9, 3, 2, 3));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3, 9, 10, 5));
}

// A door with a red arrow leaving it.
void DrawClose(QPainter& p) {
    p.setPen(QPen(QColor(90, 60, 30), 1));
    p.setBrush(QColor(180, 130, 70));
    p.drawRect(QRectF(2.5, 1.5, 7, 13));
    p.setBrush(QColor(250, 220, 120));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(8, 8.5), 0.9, 0.9);
    p.setPen(QPen(QColor(200, 0, 0), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(8, 8), QPointF(14, 8));
    p.drawLine(QPointF(11.5, 5.5), QPointF(14, 8));
    p.drawLine(QPointF(11.5, 10.5), QPointF(14, 8));
}

} // namespace

QIcon ActionIcon(int imageIndex) {
    if (imageIndex < 0 || imageIndex > 4) return {};
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (imageIndex) {
    case 0:
        DrawNewDocument(painter);
        break;
    case 1:
        DrawOpenFolder(painter);
        break;
    case 2:
        DrawPrinter(painter);
        break;
    case 3:
        DrawFloppy(painter);
        break;
    case 4:
        DrawClose(painter);
        break;
    }
    painter.end();
    return QIcon(pixmap);
}

} // namespace halvern
