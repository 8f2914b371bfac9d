#include "report/artwork.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace msr::report {
namespace {

// The association's colours: navy letters (as in the information dialog), a brick
// roof on a warm wall.
const QColor kNavy(0, 0, 128);
const QColor kBrick(164, 52, 38);
const QColor kBrickDark(110, 32, 24);
const QColor kWall(246, 234, 206);
const QColor kTimber(112, 76, 44);
const QColor kPane(156, 196, 230);
const QColor kLawn(84, 140, 62);

QFont LettersFont(double pixelHeight) {
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(qRound(pixelHeight));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// Text as filled outlines: crisp at any scale, and never taken for report text.
void FillText(QPainter& painter, const QPointF& baseline, const QString& text, const QFont& font,
              const QColor& colour, double letterSpacing = 0) {
    QFont spaced = font;
    if (letterSpacing != 0)
        spaced.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
    QPainterPath path;
    path.addText(baseline, spaced, text);
    painter.fillPath(path, colour);
}

void PaintWindow(QPainter& painter, const QRectF& frame) {
    painter.setPen(QPen(kTimber, 0.8));
    painter.setBrush(kPane);
    painter.drawRect(frame);
    painter.drawLine(QPointF(frame.center().x(), frame.top()),
                     QPointF(frame.center().x(), frame.bottom()));
    painter.drawLine(QPointF(frame.left(), frame.center().y()),
                     QPointF(frame.right(), frame.center().y()));
}

// A gabled town house, 36 wide and 38 high, standing on a strip of lawn.
void PaintHouse(QPainter& painter, const QPointF& origin) {
    painter.save();
    painter.translate(origin);

    painter.setPen(Qt::NoPen);
    painter.setBrush(kLawn);
    painter.drawRoundedRect(QRectF(0, 36, 38, 2.5), 1.2, 1.2);

    painter.setPen(QPen(kBrickDark, 0.8));
    painter.setBrush(kBrick);
    painter.drawRect(QRectF(25, 3, 4.5, 9)); // chimney, behind the roof

    painter.setPen(QPen(kTimber, 0.9));
    painter.setBrush(kWall);
    painter.drawRect(QRectF(4, 17, 30, 19.5));

    QLinearGradient roofShade(QPointF(0, 2), QPointF(0, 18));
    roofShade.setColorAt(0, kBrick.lighter(118));
    roofShade.setColorAt(1, kBrick);
    painter.setPen(QPen(kBrickDark, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(roofShade);
    painter.drawPolygon(QPolygonF({QPointF(0.5, 18.5), QPointF(19, 2), QPointF(37.5, 18.5)}));

    PaintWindow(painter, QRectF(7.5, 21, 7, 6.5));
    PaintWindow(painter, QRectF(23.5, 21, 7, 6.5));
    PaintWindow(painter, QRectF(16.5, 8.5, 5, 5)); // attic window in the gable

    painter.setPen(QPen(kTimber.darker(130), 0.8));
    painter.setBrush(kTimber);
    QPainterPath door;
    door.moveTo(16, 36.5);
    door.lineTo(16, 28.5);
    door.arcTo(QRectF(16, 26, 6, 5), 180, -180);
    door.lineTo(22, 36.5);
    painter.drawPath(door);
    painter.restore();
}

void PaintHeaderArtwork(QPainter& painter) {
    PaintHouse(painter, QPointF(1, 2));
    FillText(painter, QPointF(43, 28), QStringLiteral("KWL"), LettersFont(21), kNavy);
    constexpr double kRuleLeft = 43.5;
    constexpr double kRuleWidth = 45;
    painter.fillRect(QRectF(kRuleLeft, 31, kRuleWidth, 1.2), kBrick);
    // The small lettering spans the rule exactly, whatever font stands in for Arial.
    const QString name = QStringLiteral("HAUSGILDE");
    const QFont small = LettersFont(6.5);
    const double natural = QFontMetricsF(small).horizontalAdvance(name);
    const double spacing = (kRuleWidth - natural) / (name.size() - 1);
    FillText(painter, QPointF(kRuleLeft, 39.5), name, small, kNavy, spacing);
}

void PaintFooterArtwork(QPainter& painter) {
    // A broad roof shelters the letters; its chimney stands behind the roof line.
    painter.setPen(QPen(kBrickDark, 0.8));
    painter.setBrush(kBrick.darker(115));
    painter.drawRect(QRectF(61, 3.5, 6, 8));
    painter.fillRect(QRectF(60, 2.5, 8, 1.8), kBrickDark);
    painter.setPen(QPen(kBrick, 3.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(QPolygonF({QPointF(5, 20), QPointF(46, 4), QPointF(87, 20)}));

    const QFont letters = LettersFont(23);
    const double width = QFontMetricsF(letters).horizontalAdvance(QStringLiteral("KWL"));
    FillText(painter, QPointF(46 - width / 2, 39), QStringLiteral("KWL"), letters, kNavy);
    painter.setPen(QPen(kLawn, 1.8, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(14, 42), QPointF(78, 42));
}

void PaintInformationArtwork(QPainter& painter) {
    painter.setPen(QPen(kNavy.lighter(260), 0.8));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(0.5, 0.5, kArtworkWidth - 1, kArtworkHeight - 1), 4, 4);
    // The header's picture, a little smaller, so it keeps clear of the card's edge.
    constexpr double kScale = 0.92;
    painter.translate(kArtworkWidth * (1 - kScale) / 2, kArtworkHeight * (1 - kScale) / 2);
    painter.scale(kScale, kScale);
    PaintHeaderArtwork(painter);
}

} // namespace

void PaintArtwork(QPainter& painter, Artwork artwork) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    switch (artwork) {
    case Artwork::Header:
        PaintHeaderArtwork(painter);
        break;
    case Artwork::Footer:
        PaintFooterArtwork(painter);
        break;
    case Artwork::Information:
        PaintInformationArtwork(painter);
        break;
    }
    painter.restore();
}

QImage ArtworkPicture(Artwork artwork) {
    QImage picture(kArtworkWidth, kArtworkHeight, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        PaintArtwork(painter, artwork);
    }
    return picture.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
}

} // namespace msr::report
