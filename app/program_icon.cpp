#include "app/program_icon.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace msr::app {
namespace {

const QColor kNavy(0x1f, 0x3f, 0x77);

void DrawTile(QPainter& painter) {
    QLinearGradient sky(0, 4, 0, 124);
    sky.setColorAt(0, QColor(0xe9, 0xf0, 0xfa));
    sky.setColorAt(1, QColor(0xc9, 0xd8, 0xee));
    painter.setPen(QPen(kNavy, 4));
    painter.setBrush(sky);
    painter.drawRoundedRect(QRectF(4, 4, 120, 120), 22, 22);
}

void DrawHouse(QPainter& painter) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x8c, 0x2d, 0x1e));
    painter.drawRect(QRectF(78, 24, 10, 20)); // chimney
    QPainterPath roof;
    roof.moveTo(18, 62);
    roof.lineTo(64, 22);
    roof.lineTo(110, 62);
    roof.closeSubpath();
    painter.setPen(QPen(QColor(0x6e, 0x24, 0x16), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(0xb5, 0x40, 0x2a));
    painter.drawPath(roof);
    painter.setPen(QPen(kNavy, 3));
    painter.setBrush(QColor(0xfd, 0xfa, 0xf2));
    painter.drawRect(QRectF(28, 60, 72, 34)); // walls
    painter.setPen(Qt::NoPen);
    painter.setBrush(kNavy);
    painter.drawRect(QRectF(57, 70, 14, 24)); // door
    painter.setPen(QPen(kNavy, 2));
    painter.setBrush(QColor(0x7f, 0xa7, 0xd9));
    painter.drawRect(QRectF(36, 68, 13, 11));
    painter.drawRect(QRectF(79, 68, 13, 11));
}

void DrawLetters(QPainter& painter) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    font.setPixelSize(22);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    painter.setFont(font);
    painter.setPen(kNavy);
    painter.drawText(QRectF(0, 94, 128, 28), Qt::AlignHCenter | Qt::AlignBottom,
                     QStringLiteral("KWL"));
}

QPixmap IconPicture(int size) {
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(size / 128.0, size / 128.0);
    DrawTile(painter);
    DrawHouse(painter);
    DrawLetters(painter);
    return picture;
}

} // namespace

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(IconPicture(size));
    return icon;
}

} // namespace msr::app
