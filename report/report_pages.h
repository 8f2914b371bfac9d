#pragma once

#include "evaluation/document/report_document.h"

#include <QImage>

#include <memory>
#include <vector>

class QPainter;
class QTextDocument;

namespace msr::report {

// The report's prepared pages: the document laid out once in the text column and cut
// into pages between lines, never through one. Preview, printer and PDF all paint
// from it, so what the user previews is what prints. It holds its own copy of the
// text: a later change to the report document does not touch pages already prepared.
class ReportPages {
public:
    // A page's share of the text, as a vertical range of the laid-out text column in
    // layout units: from the top of its first line to the top of the next page's.
    struct Slice {
        double top = 0;
        double bottom = 0;
    };

    explicit ReportPages(const msr::ReportDocument& document);
    ~ReportPages();
    ReportPages(const ReportPages&) = delete;
    ReportPages& operator=(const ReportPages&) = delete;

    // At least 1: a report without text still prints its one page.
    int pageCount() const { return static_cast<int>(slices_.size()); }
    const std::vector<Slice>& slices() const { return slices_; }
    const QTextDocument& text() const { return *text_; }

    // Paints page pageIndex (from 0). The painter's origin must be the paper's
    // top-left corner; the scale follows the resolution of its device.
    void paintPage(QPainter& painter, int pageIndex) const;

private:
    void paintText(QPainter& painter, const Slice& slice) const;

    // The text is laid out for this device: a fixed resolution, whatever prints it.
    QImage layoutDevice_;
    std::unique_ptr<QTextDocument> text_;
    std::vector<Slice> slices_;
};

} // namespace msr::report
