#include "report/report_pages.h"

#include "report/page_bands.h"
#include "report/page_geometry.h"
#include "report/report_text.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace msr::report {
namespace {

QImage MakeLayoutDevice() {
    QImage device(1, 1, QImage::Format_ARGB32_Premultiplied);
    const int dotsPerMetre = qRound(kLayoutDpi / 0.0254);
    device.setDotsPerMeterX(dotsPerMetre);
    device.setDotsPerMeterY(dotsPerMetre);
    return device;
}

struct LineExtent {
    double top;
    double bottom;
    bool blank; // a line of an empty paragraph
};

// Calls visit(line, lineTop) for every laid-out line of the text, top to bottom; the
// top is in the coordinates of the whole text column.
template <class Visit> void ForEachLine(const QTextDocument& text, Visit&& visit) {
    for (QTextBlock block = text.begin(); block.isValid(); block = block.next()) {
        const QTextLayout* blockLayout = block.layout();
        const QPointF origin = blockLayout->position();
        for (int i = 0; i < blockLayout->lineCount(); ++i) {
            const QTextLine line = blockLayout->lineAt(i);
            visit(line, origin, block);
        }
    }
}

std::vector<LineExtent> LinesOf(const QTextDocument& text) {
    std::vector<LineExtent> lines;
    ForEachLine(text, [&](const QTextLine& line, const QPointF& origin, const QTextBlock& block) {
        const double top = origin.y() + line.y();
        lines.push_back({top, top + line.height(), block.length() <= 1});
    });
    return lines;
}

// Fills pages from the top, line by line; a line that would reach below the text
// area starts the next page. A page always takes at least one line. Empty paragraphs
// where a page breaks are left out: a continued page starts with text at its top, and
// blank lines at the very end start no page of their own.
std::vector<ReportPages::Slice> Paginate(const std::vector<LineExtent>& lines,
                                         double heightPerPage) {
    std::vector<ReportPages::Slice> slices;
    double pageTop = 0;
    double textBottom = 0;
    bool skippingBlanks = false;
    for (const LineExtent& line : lines) {
        if (skippingBlanks) {
            if (line.blank)
                continue;
            pageTop = line.top;
            skippingBlanks = false;
        } else if (line.bottom - pageTop > heightPerPage && line.top > pageTop) {
            slices.push_back({pageTop, line.top});
            if (line.blank) {
                skippingBlanks = true;
                continue;
            }
            pageTop = line.top;
        }
        textBottom = line.bottom;
    }
    if (!skippingBlanks)
        slices.push_back({pageTop, textBottom});
    return slices;
}

} // namespace

ReportPages::ReportPages(const msr::ReportDocument& document)
    : layoutDevice_(MakeLayoutDevice()), text_(std::make_unique<QTextDocument>()) {
    text_->documentLayout()->setPaintDevice(&layoutDevice_);
    text_->setDocumentMargin(0);
    QTextOption option = text_->defaultTextOption();
    option.setUseDesignMetrics(true); // the same line breaks on every device
    text_->setDefaultTextOption(option);
    text_->setDefaultFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    FillTextDocument(document, *text_);
    text_->setTextWidth(FromMm(page::kDocumentWidth));
    text_->size(); // lays the text out now, once
    slices_ = Paginate(LinesOf(*text_), FromMm(page::kTextHeightPerPage));
}

ReportPages::~ReportPages() = default;

void ReportPages::paintPage(QPainter& painter, int pageIndex) const {
    const QPaintDevice* device = painter.device();
    painter.save();
    painter.scale(device->logicalDpiX() / kLayoutDpi, device->logicalDpiY() / kLayoutDpi);
    PaintPageBands(painter, pageIndex + 1);
    paintText(painter, slices_.at(static_cast<std::size_t>(pageIndex)));
    painter.restore();
}

// Paints the lines whose top lies in the slice, each whole. (QTextLayout::draw would
// add the line above its clip, and a PDF keeps clipped text.)
void ReportPages::paintText(QPainter& painter, const Slice& slice) const {
    painter.save();
    painter.translate(FromMm(page::kDocumentLeft), FromMm(page::kDocumentTop) - slice.top);
    painter.setPen(Qt::black); // the automatic colour on paper
    ForEachLine(*text_, [&](const QTextLine& line, const QPointF& origin, const QTextBlock&) {
        const double top = origin.y() + line.y();
        if (top >= slice.top && top < slice.bottom)
            line.draw(&painter, origin);
    });
    painter.restore();
}

} // namespace msr::report
