#include "ui/SplashArt.h"
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace halvern {

namespace {

const QColor kBlue(0, 116, 188);
const QColor kDarkBlue(0, 70, 120);
const QColor kSteel(120, 130, 140);

// Each picture is drawn on a 100 × 100 square centred in its box, smoothly.
void DrawOnSquare(QPainter& p, const QSize& size) {
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = std::min(size.width(), size.height());
    p.translate((size.width() - s) / 2.0, (size.height() - s) / 2.0);
    p.scale(s / 100.0, s / 100.0);
}

QPixmap Blank(const QSize& size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

QPixmap DrawGaugeLogo(const QSize& size) {
    QPixmap pixmap = Blank(size);
    QPainter p(&pixmap);
    DrawOnSquare(p, size);
    // The pipe along the bottom and the stem up to the gauge.
    p.setPen(Qt::NoPen);
    p.setBrush(kSteel);
    p.drawRect(QRectF(4, 80, 92, 12));
    p.drawRect(QRectF(45, 66, 10, 16));
    // The dial.
    p.setPen(QPen(kDarkBlue, 4));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(50, 38), 32, 32);
    p.setPen(QPen(kDarkBlue, 2));
    for (int i = 0; i <= 8; ++i) {
        const qreal angle = qDegreesToRadians(225.0 - i * 33.75);
        const QPointF dir(std::cos(angle), -std::sin(angle));
        p.drawLine(QPointF(50, 38) + dir * 22, QPointF(50, 38) + dir * 27);
    }
    // A green band where the pressure is right, and the needle in it.
    p.setPen(QPen(QColor(0, 160, 70), 5, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(QRectF(26, 14, 48, 48), 45 * 16, 60 * 16);
    p.setPen(QPen(QColor(200, 0, 0), 3, Qt::SolidLine, Qt::RoundCap));
    const qreal needle = qDegreesToRadians(70.0);
    p.drawLine(QPointF(50, 38), QPointF(50, 38) + QPointF(std::cos(needle), -std::sin(needle)) * 24);
    p.setPen(Qt::NoPen);
    p.setBrush(kDarkBlue);
    p.drawEllipse(QPointF(50, 38), 4, 4);
    return pixmap;
}

QPixmap DrawValveLogo(const QSize& size) {
    QPixmap pixmap = Blank(size);
    QPainter p(&pixmap);
    DrawOnSquare(p, size);
    // Pipes on either side.
    p.setPen(Qt::NoPen);
    p.setBrush(kSteel);
    p.drawRect(QRectF(2, 52, 26, 16));
    p.drawRect(QRectF(72, 52, 26, 16));
    // The valve body: two cones meeting at the seat.
    p.setBrush(kBlue);
    p.drawPolygon(QPolygonF({{28, 42}, {50, 60}, {28, 78}}));
    p.drawPolygon(QPolygonF({{72, 42}, {50, 60}, {72, 78}}));
    // The pilot on top, which sets the outlet pressure.
    p.setBrush(kDarkBlue);
    p.drawRect(QRectF(47, 30, 6, 30));
    p.drawRoundedRect(QRectF(34, 14, 32, 18), 4, 4);
    // The flow arrow below.
    p.setPen(QPen(QColor(0, 160, 70), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(20, 90), QPointF(78, 90));
    p.drawLine(QPointF(70, 84), QPointF(78, 90));
    p.drawLine(QPointF(70, 96), QPointF(78, 90));
    return pixmap;
}

QPixmap DrawWaterDrop(const QSize& size) {
    QPixmap pixmap = Blank(size);
    QPainter p(&pixmap);
    DrawOnSquare(p, size);
    QPainterPath drop;
    drop.moveTo(50, 6);
    drop.cubicTo(62, 30, 84, 48, 84, 66);
    drop.cubicTo(84, 86, 68, 96, 50, 96);
    drop.cubicTo(32, 96, 16, 86, 16, 66);
    drop.cubicTo(16, 48, 38, 30, 50, 6);
    QLinearGradient fill(20, 20, 80, 96);
    fill.setColorAt(0, QColor(170, 225, 255));
    fill.setColorAt(1, QColor(40, 160, 230));
    p.setPen(QPen(Qt::white, 3));
    p.setBrush(fill);
    p.drawPath(drop);
    p.setPen(QPen(QColor(255, 255, 255, 200), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(28, 54, 30, 30), 160 * 16, 70 * 16);
    return pixmap;
}

} // namespace halvern
