#pragma once

#include <vector>

class QPrinter;

namespace msr::report {

class ReportPages;

// The page indices (from 0) one print puts on paper, in order: the printer's page range
// (all pages unless a range is chosen) and, where the printer cannot make copies
// itself, each copy in turn, collated or page by page as chosen.
std::vector<int> PrintedPages(const QPrinter& printer, int pageCount);

// Prints the prepared pages with the printer's current settings, each A4 page placed on
// the chosen paper so that nothing is cut off. Printing into a file replaces the file
// in one step, as saving a PDF does. Raises ReportOutputError in German when the
// printer or the file does not take the report.
void PrintReport(QPrinter& printer, const ReportPages& pages);

} // namespace msr::report
