#include "report/report_output.h"

#include "report/file_saving.h"
#include "report/page_geometry.h"
#include "report/report_pages.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace msr::report {
namespace {

QPageLayout A4Portrait() {
    // No margins: the painter's origin is the paper's corner, the page keeps its own.
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                       QPageLayout::Millimeter);
}

void PlacePage(QPainter& painter, const QPagedPaintDevice& device, const PagePlacement& placed) {
    const double dotsPerMmX = device.logicalDpiX() / 25.4;
    const double dotsPerMmY = device.logicalDpiY() / 25.4;
    painter.translate(placed.originMm.x() * dotsPerMmX, placed.originMm.y() * dotsPerMmY);
    painter.scale(placed.scale, placed.scale);
}

} // namespace

std::vector<int> AllPages(const ReportPages& pages) {
    std::vector<int> indices;
    for (int i = 0; i < pages.pageCount(); ++i)
        indices.push_back(i);
    return indices;
}

PagePlacement PlaceA4Page(const QPageLayout& layout) {
    using namespace page;
    const QRectF paper = layout.fullRect(QPageLayout::Millimeter);
    const QPointF sheetCentre(kPaperWidth / 2, kPaperHeight / 2);
    // In full-page mode the painter starts at the paper's corner, else at the margins.
    const QPointF painterOrigin =
        layout.mode() == QPageLayout::FullPageMode
            ? paper.topLeft()
            : paper.marginsRemoved(layout.margins(QPageLayout::Millimeter)).topLeft();
    constexpr double kTolerance = 0.5; // paper sizes are rounded to whole points
    if (paper.width() >= kPaperWidth - kTolerance && paper.height() >= kPaperHeight - kTolerance)
        return {paper.center() - sheetCentre - painterOrigin, 1.0};
    // What is printed reaches from the page's margins to the page number's right edge.
    const double halfWidth =
        std::max(sheetCentre.x() - kMargin, kPageNumberRight - sheetCentre.x());
    const double halfHeight = sheetCentre.y() - kMargin;
    const QRectF printable = paper.marginsRemoved(layout.margins(QPageLayout::Millimeter));
    const double scale =
        std::min(printable.width() / 2 / halfWidth, printable.height() / 2 / halfHeight);
    return {printable.center() - sheetCentre * scale - painterOrigin, scale};
}

void PaintReportPages(QPagedPaintDevice& device, const ReportPages& pages,
                      const std::vector<int>& pageIndices, const QString& failureMessage,
                      const PageProgress& progress) {
    const auto fail = [&] { throw ReportOutputError(failureMessage.toStdString()); };
    QPainter painter;
    if (!painter.begin(&device))
        fail();
    const PagePlacement placed = PlaceA4Page(device.pageLayout());
    const int total = static_cast<int>(pageIndices.size());
    for (int done = 0; done < total; ++done) {
        if (done > 0 && !device.newPage()) {
            painter.end();
            fail();
        }
        painter.save();
        PlacePage(painter, device, placed);
        pages.paintPage(painter, pageIndices[static_cast<std::size_t>(done)]);
        painter.restore();
        if (progress)
            progress(done + 1, total);
    }
    if (!painter.end())
        fail();
}

QByteArray ReportPdf(const ReportPages& pages, const QPageLayout& layout,
                     const std::vector<int>& pageIndices) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setTitle(QStringLiteral("Mietspiegel-Auswertung"));
        writer.setCreator(QStringLiteral("Mietspiegelrechner Varlstadt"));
        writer.setResolution(1200);
        writer.setPageLayout(layout);
        PaintReportPages(writer, pages, pageIndices,
                         QStringLiteral("Der Bericht kann nicht als PDF ausgegeben werden"));
    }
    return bytes;
}

void WriteReportPdf(const ReportPages& pages, const QString& fileName, const QPageLayout& layout,
                    const std::vector<int>& pageIndices) {
    // The whole PDF is made first: a file is touched only with everything to put in it.
    SaveFileAtomically(fileName, ReportPdf(pages, layout, pageIndices));
}

void WriteReportPdf(const ReportPages& pages, const QString& fileName) {
    WriteReportPdf(pages, fileName, A4Portrait(), AllPages(pages));
}

void WriteReportPdf(const msr::ReportDocument& document, const QString& fileName) {
    const ReportPages pages(document);
    WriteReportPdf(pages, fileName);
}

} // namespace msr::report
