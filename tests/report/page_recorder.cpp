#include "page_recorder.h"

#include "report/page_geometry.h"
#include "report/report_pages.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

namespace msr::test {
namespace {

// Accepts every kind of painting as it comes and writes down where it lands.
class RecordingEngine : public QPaintEngine {
public:
    explicit RecordingEngine(RecordedPage& page) : QPaintEngine(AllFeatures), page_(page) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }

    void updateState(const QPaintEngineState& state) override {
        if (state.state() & DirtyTransform)
            transform_ = state.transform();
        if (state.state() & DirtyPen)
            colour_ = state.pen().color();
    }

    void drawTextItem(const QPointF& position, const QTextItem& item) override {
        const QPointF baseline = transform_.map(position);
        const double scale = transform_.m22();
        RecordedText text;
        text.text = item.text();
        text.baseline = ToMm(baseline);
        text.top = msr::report::ToMm(baseline.y() - item.ascent() * scale);
        text.font = item.font();
        text.colour = colour_;
        const double pixels =
            item.font().pixelSize() > 0 ? item.font().pixelSize() : item.font().pointSizeF() * 10;
        text.pointSize = pixels * scale / msr::report::kUnitsPerPoint;
        page_.texts.push_back(text);
    }

    void drawLines(const QLineF* lines, int count) override {
        for (int i = 0; i < count; ++i) {
            const QLineF line = transform_.map(lines[i]);
            page_.lines.emplace_back(ToMm(line.p1()), ToMm(line.p2()));
        }
    }
    void drawPath(const QPainterPath& path) override { addShape(path.boundingRect()); }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode) override {
        QPolygonF polygon;
        for (int i = 0; i < count; ++i)
            polygon << points[i];
        addShape(polygon.boundingRect());
    }
    void drawRects(const QRectF* rects, int count) override {
        for (int i = 0; i < count; ++i)
            addShape(rects[i]);
    }
    void drawPixmap(const QRectF& target, const QPixmap&, const QRectF&) override {
        addShape(target);
    }

private:
    static QPointF ToMm(const QPointF& units) {
        return {msr::report::ToMm(units.x()), msr::report::ToMm(units.y())};
    }
    void addShape(const QRectF& bounds) {
        const QRectF mapped = transform_.mapRect(bounds);
        page_.shapes.emplace_back(ToMm(mapped.topLeft()), ToMm(mapped.bottomRight()));
    }

    RecordedPage& page_;
    QTransform transform_;
    QColor colour_;
};

// An A4 sheet at the layout resolution, so device units are layout units.
class RecordingDevice : public QPaintDevice {
public:
    explicit RecordingDevice(RecordedPage& page) : engine_(page) {}
    ~RecordingDevice() override = default;
    QPaintEngine* paintEngine() const override { return &engine_; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        using namespace msr::report;
        switch (metric) {
        case PdmWidth:
            return qRound(FromMm(page::kPaperWidth));
        case PdmHeight:
            return qRound(FromMm(page::kPaperHeight));
        case PdmWidthMM:
            return qRound(page::kPaperWidth);
        case PdmHeightMM:
            return qRound(page::kPaperHeight);
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return qRound(kLayoutDpi);
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return qRound(devicePixelRatioFScale());
        case PdmNumColors:
            return 256;
        case PdmDepth:
            return 32;
        }
        return 0;
    }

private:
    mutable RecordingEngine engine_;
};

} // namespace

QString RecordedPage::allText() const {
    QString joined;
    for (const RecordedText& text : texts)
        joined += text.text + QLatin1Char('\n');
    return joined;
}

int RecordedPage::shapesInside(const QRectF& box) const {
    const QRectF tolerant = box.adjusted(-0.05, -0.05, 0.05, 0.05);
    int count = 0;
    for (const QRectF& shape : shapes)
        if (tolerant.contains(shape))
            ++count;
    return count;
}

RecordedPage RecordPage(const msr::report::ReportPages& pages, int pageIndex) {
    RecordedPage page;
    RecordingDevice device(page);
    QPainter painter(&device);
    pages.paintPage(painter, pageIndex);
    painter.end();
    return page;
}

} // namespace msr::test
