#pragma once

#include "evaluation/document/report_document.h"

#include <QPointF>
#include <QString>

#include <functional>
#include <stdexcept>
#include <vector>

class QPageLayout;
class QPagedPaintDevice;

namespace msr::report {

class ReportPages;

// Raised when a printer or a file cannot take the report; the message is German, says
// why where the system tells, and goes to the standard error report (or, from the
// command line, to stderr).
class ReportOutputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Told after each page: how many are done, of how many.
using PageProgress = std::function<void(int done, int total)>;

// Every page in order, from 0.
std::vector<int> AllPages(const ReportPages& pages);

// Where the A4 page lands on the paper of a page layout: its top-left corner in mm from
// the painter's origin, and its scale. On paper that holds a whole A4 sheet (A4
// portrait, A3) the page keeps its natural size, in the middle of the paper. On smaller
// or wider-than-high paper (landscape, Letter, A5) the page shrinks until everything
// printed on it fits within the layout's margins, and sits in the middle of them. So
// nothing is ever cut off, and A4 portrait prints exactly as laid out.
struct PagePlacement {
    QPointF originMm;
    double scale = 1.0;
};
PagePlacement PlaceA4Page(const QPageLayout& layout);

// Paints the listed pages (indices from 0, a page may repeat) one per sheet, each
// placed on the device's paper as PlaceA4Page says. Raises ReportOutputError with
// failureMessage when the device refuses to start, to take a further sheet or to finish.
void PaintReportPages(QPagedPaintDevice& device, const ReportPages& pages,
                      const std::vector<int>& pageIndices, const QString& failureMessage,
                      const PageProgress& progress = {});

// The listed pages on the layout's paper as a PDF with real text, as bytes.
QByteArray ReportPdf(const ReportPages& pages, const QPageLayout& layout,
                     const std::vector<int>& pageIndices);

// Writes the listed pages, exactly as they print on the layout's paper, to a PDF file.
// The file is replaced in one step: on any failure the old file is kept and no partial
// file is left; the failure is raised as ReportOutputError, with its reason.
void WriteReportPdf(const ReportPages& pages, const QString& fileName, const QPageLayout& layout,
                    const std::vector<int>& pageIndices);
// All pages on A4 portrait.
void WriteReportPdf(const ReportPages& pages, const QString& fileName);
void WriteReportPdf(const msr::ReportDocument& document, const QString& fileName);

} // namespace msr::report
