#include "report/page_bands.h"

#include "report/artwork.h"
#include "report/page_geometry.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

namespace msr::report {
namespace {

// Band labels are "Arial" bold. Their size is given in layout units, so it holds on
// every device whatever its resolution.
QFont LabelFont(int points) {
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(qRound(points * kUnitsPerPoint));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// A label whose box is sized to its text, placed by its top-left corner in mm.
void PaintLabel(QPainter& painter, const QString& text, int points, double leftMm, double topMm) {
    const QFont font = LabelFont(points);
    const QFontMetricsF metrics(font);
    const QPointF topLeft(FromMm(leftMm), FromMm(topMm));
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(topLeft + QPointF(0, metrics.ascent()), text);
}

// A label whose box is sized to its text and whose right edge stays at rightMm.
void PaintRightAlignedLabel(QPainter& painter, const QString& text, int points, double rightMm,
                            double topMm) {
    const QFontMetricsF metrics(LabelFont(points));
    PaintLabel(painter, text, points, rightMm - ToMm(metrics.horizontalAdvance(text)), topMm);
}

// The picture at its natural size (92 x 45 screen pixels at 96 dpi), never stretched;
// the frame crops what would reach beyond it.
void PaintPicture(QPainter& painter, Artwork artwork, const page::Box& frame) {
    constexpr double kUnitsPerScreenPixel = kLayoutDpi / 96.0;
    painter.save();
    const QRectF box(FromMm(frame.left), FromMm(frame.top), FromMm(frame.width),
                     FromMm(frame.height));
    painter.setClipRect(box, Qt::IntersectClip);
    painter.translate(box.topLeft());
    painter.scale(kUnitsPerScreenPixel, kUnitsPerScreenPixel);
    PaintArtwork(painter, artwork);
    painter.restore();
}

void PaintRule(QPainter& painter, double yMm) {
    painter.setPen(QPen(Qt::black, FromMm(page::kRuleWidth), Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(FromMm(page::kMargin), FromMm(yMm)),
                     QPointF(FromMm(page::kMargin + page::kPrintableWidth), FromMm(yMm)));
}

void PaintHeader(QPainter& painter) {
    using namespace page;
    PaintPicture(painter, Artwork::Header, kHeaderPicture);
    // The title's box is opaque white, as it was laid out.
    const QFontMetricsF metrics(LabelFont(kTitlePoints));
    const QString title = QString::fromUtf8(kReportTitle);
    painter.fillRect(QRectF(FromMm(kTitleLabelLeft), FromMm(kTitleLabelTop),
                            metrics.horizontalAdvance(title), metrics.height()),
                     Qt::white);
    PaintLabel(painter, title, kTitlePoints, kTitleLabelLeft, kTitleLabelTop);
    PaintRule(painter, kHeaderBottom - kRuleWidth / 2);
}

void PaintFooter(QPainter& painter, int pageNumber) {
    using namespace page;
    PaintRule(painter, kFooterTop + kRuleWidth / 2);
    PaintPicture(painter, Artwork::Footer, kFooterPicture);
    PaintRightAlignedLabel(painter, PageNumberText(pageNumber), kPageNumberPoints, kPageNumberRight,
                           kPageNumberTop);
}

void PaintCaption(QPainter& painter) {
    using namespace page;
    PaintLabel(painter, QString::fromUtf8(kFirstCaption), kCaptionPoints, kCaptionLeft,
               kFirstCaptionTop);
    PaintLabel(painter, QString::fromUtf8(kSecondCaption), kCaptionPoints, kCaptionLeft,
               kSecondCaptionTop);
}

} // namespace

QString PageNumberText(int pageNumber) {
    return QString::fromUtf8(kPageNumberPrefix) + QString::number(pageNumber);
}

void PaintPageBands(QPainter& painter, int pageNumber) {
    painter.save();
    PaintHeader(painter);
    if (pageNumber == 1)
        PaintCaption(painter);
    PaintFooter(painter, pageNumber);
    painter.restore();
}

} // namespace msr::report
