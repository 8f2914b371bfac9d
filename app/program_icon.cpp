#include "app/program_icon.h"

#include <QApplication>
#include <QFont>
#include <QHash>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

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

// Draws each size when it is first asked for, not at start-up: drawing seven sizes with
// their letters took more of the start than building all twelve windows.
class ProgramIconEngine : public QIconEngine {
public:
    QIconEngine* clone() const override { return new ProgramIconEngine(*this); }
    QString key() const override { return QStringLiteral("msr-program-icon"); }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (int size : kSizes)
            sizes.append(QSize(size, size));
        return sizes;
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::min(size.width(), size.height());
        return {side, side};
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        const int side = std::max(1, std::min(size.width(), size.height()));
        auto drawn = pictures_.constFind(side);
        if (drawn == pictures_.cend())
            drawn = pictures_.insert(side, IconPicture(side));
        if (mode != QIcon::Disabled)
            return *drawn;
        QStyleOption option;
        return QApplication::style()->generatedIconPixmap(QIcon::Disabled, *drawn, &option);
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

private:
    static constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};
    QHash<int, QPixmap> pictures_;
};

} // namespace

QIcon ProgramIcon() {
    return QIcon(new ProgramIconEngine);
}

} // namespace msr::app
