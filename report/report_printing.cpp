#include "report/report_printing.h"

#include "report/report_output.h"
#include "report/report_pages.h"

#include <QPrinter>

#include <algorithm>

namespace msr::report {
namespace {

bool PrintsIntoFile(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
}

void PrintOnPrinter(QPrinter& printer, const ReportPages& pages, const std::vector<int>& indices) {
    const QString failure = QStringLiteral("Der Drucker \"%1\" kann den Bericht nicht drucken")
                                .arg(printer.printerName());
    printer.setFullPage(true); // the pages are placed from the paper's corner
    PaintReportPages(printer, pages, indices, failure);
    // The job goes to the print system only when the painter ends; it may refuse it.
    if (printer.printerState() == QPrinter::Error)
        throw ReportOutputError(failure.toStdString());
}

} // namespace

std::vector<int> PrintedPages(const QPrinter& printer, int pageCount) {
    int first = 1;
    int last = pageCount;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(1, printer.fromPage());
        last = printer.toPage() > 0 ? std::min(pageCount, printer.toPage()) : pageCount;
    }
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    std::vector<int> indices;
    if (printer.collateCopies()) {
        for (int copy = 0; copy < copies; ++copy)
            for (int page = first; page <= last; ++page)
                indices.push_back(page - 1);
    } else {
        for (int page = first; page <= last; ++page)
            indices.insert(indices.end(), static_cast<std::size_t>(copies), page - 1);
    }
    return indices;
}

void PrintReport(QPrinter& printer, const ReportPages& pages) {
    const std::vector<int> indices = PrintedPages(printer, pages.pageCount());
    if (indices.empty())
        return; // a range beyond the last page prints nothing, not a blank sheet
    if (PrintsIntoFile(printer))
        WriteReportPdf(pages, printer.outputFileName(), printer.pageLayout(), indices);
    else
        PrintOnPrinter(printer, pages, indices);
}

} // namespace msr::report
