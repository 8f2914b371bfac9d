#include "app/pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace msr::app {
namespace {

QPixmap TransparentPixmap(int side) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void DrawDisc(QPainter& painter, int side, const QColor& fill, const QColor& rim) {
    painter.setPen(QPen(rim, 1.5));
    painter.setBrush(fill);
    const qreal inset = 1.5;
    painter.drawEllipse(QRectF(inset, inset, side - 2 * inset, side - 2 * inset));
}

QPen RoundPen(const QColor& colour, qreal width) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

} // namespace

QPixmap TickPicture() {
    constexpr int kSide = 32;
    QPixmap pixmap = TransparentPixmap(kSide);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawDisc(painter, kSide, QColor(0xe4, 0xf4, 0xe0), QColor(0x9c, 0xc8, 0x94));
    QPainterPath tick;
    tick.moveTo(8.5, 16.5);
    tick.lineTo(13.5, 22);
    tick.lineTo(23.5, 10);
    painter.setPen(RoundPen(QColor(0x1f, 0x9a, 0x2e), 4));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(tick);
    return pixmap;
}

QPixmap QuestionMarkPicture() {
    constexpr int kSide = 45;
    QPixmap pixmap = TransparentPixmap(kSide);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawDisc(painter, kSide, QColor(0x1d, 0x5f, 0xc9), QColor(0x12, 0x3f, 0x8c));
    // The hook: most of a circle, then down to the middle.
    QPainterPath hook;
    const QRectF bend(15, 9, 15, 14);
    hook.arcMoveTo(bend, 160);
    hook.arcTo(bend, 160, -220);
    hook.lineTo(22.5, 28);
    painter.setPen(RoundPen(Qt::white, 4.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(hook);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(22.5, 35), 2.8, 2.8);
    return pixmap;
}

} // namespace msr::app
