#include "report/report_output.h"

#include "report/report_pages.h"

#include <QFile>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace msr::report {

std::vector<int> AllPages(const ReportPages& pages) {
    std::vector<int> indices;
    for (int i = 0; i < pages.pageCount(); ++i)
        indices.push_back(i);
    return indices;
}

void PaintReportPages(QPagedPaintDevice& device, const ReportPages& pages,
                      const std::vector<int>& pageIndices, const PageProgress& progress) {
    QPainter painter;
    if (!painter.begin(&device))
        throw ReportOutputError("Der Bericht kann nicht ausgegeben werden");
    const int total = static_cast<int>(pageIndices.size());
    for (int done = 0; done < total; ++done) {
        if (done > 0)
            device.newPage();
        pages.paintPage(painter, pageIndices[static_cast<std::size_t>(done)]);
        if (progress)
            progress(done + 1, total);
    }
    painter.end();
}

void WriteReportPdf(const ReportPages& pages, const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw ReportOutputError(QStringLiteral("Die Datei \"%1\" kann nicht erstellt werden")
                                    .arg(fileName)
                                    .toStdString());
    QPdfWriter writer(&file);
    writer.setTitle(QStringLiteral("Mietspiegel-Auswertung"));
    writer.setCreator(QStringLiteral("Mietspiegelrechner Varlstadt"));
    writer.setResolution(1200);
    // No margins: the painter's origin is the paper's corner, the page keeps its own.
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    PaintReportPages(writer, pages, AllPages(pages));
    // A full disk shows only when the bytes reach it; the PDF must not go missing unsaid.
    if (!file.flush() || file.error() != QFileDevice::NoError)
        throw ReportOutputError(QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden")
                                    .arg(fileName)
                                    .toStdString());
}

void WriteReportPdf(const msr::ReportDocument& document, const QString& fileName) {
    const ReportPages pages(document);
    WriteReportPdf(pages, fileName);
}

} // namespace msr::report
