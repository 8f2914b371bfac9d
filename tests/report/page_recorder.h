#pragma once

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QRectF>
#include <QString>

#include <vector>

namespace msr::report {
class ReportPages;
}

namespace msr::test {

// What one page painted, in millimetres from the paper's top-left corner.
struct RecordedText {
    QString text;
    QPointF baseline;
    double top = 0; // baseline less the font's ascent: where the line starts
    QFont font;
    QColor colour;
    double pointSize = 0; // as it lands on paper
};

struct RecordedPage {
    std::vector<RecordedText> texts;
    std::vector<QLineF> lines;
    std::vector<QRectF> shapes; // bounds of paths, polygons and rectangles

    // The painted texts joined in painting order.
    QString allText() const;
    // Shapes lying wholly inside the box (with a little tolerance).
    int shapesInside(const QRectF& box) const;
};

// Paints one page onto a recording device and returns what reached it.
RecordedPage RecordPage(const msr::report::ReportPages& pages, int pageIndex);

} // namespace msr::test
