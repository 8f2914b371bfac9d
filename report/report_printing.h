#pragma once

#include <vector>

class QPrinter;

namespace msr::report {

class ReportPages;

// The page indices (from 0) one print puts on paper, in order: the printer's page range
// (all pages unless a range is chosen) and, where the printer cannot make copies
// itself, each copy in turn, collated or page by page as chosen.
std::vector<int> PrintedPages(const QPrinter& printer, int pageCount);

// Prints the prepared pages with the printer's current settings.
void PrintReport(QPrinter& printer, const ReportPages& pages);

} // namespace msr::report
