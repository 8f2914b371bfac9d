#pragma once

#include "evaluation/report_document.h"

#include <QString>

#include <functional>
#include <stdexcept>
#include <vector>

class QPagedPaintDevice;

namespace msr::report {

class ReportPages;

// Raised when a printer or a file cannot take the report; the message is German and
// goes to the standard error report.
class ReportOutputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Told after each page: how many are done, of how many.
using PageProgress = std::function<void(int done, int total)>;

// Every page in order, from 0.
std::vector<int> AllPages(const ReportPages& pages);

// Paints the listed pages (indices from 0, a page may repeat) one per sheet onto a
// device whose painter origin is the paper's top-left corner.
void PaintReportPages(QPagedPaintDevice& device, const ReportPages& pages,
                      const std::vector<int>& pageIndices, const PageProgress& progress = {});

// Writes all pages, exactly as they print, to a PDF file with real text.
void WriteReportPdf(const ReportPages& pages, const QString& fileName);
void WriteReportPdf(const msr::ReportDocument& document, const QString& fileName);

} // namespace msr::report
