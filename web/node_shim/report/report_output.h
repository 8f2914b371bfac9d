#pragma once
// Stands in for the page painter when the command-line evaluator is built for Node:
// there the report's pages are the browser's to print, and --pdf is refused before any
// evaluation (see node_evaluator.cpp), so this is never reached.

#include "evaluation/report_document.h"

#include <stdexcept>
#include <string>

class QString {
public:
    static QString fromStdString(const std::string&) { return {}; }
};

namespace msr::report {

inline void WriteReportPdf(const ReportDocument&, const QString&) {
    throw std::logic_error("Seiten als PDF schreibt nur der native Auswerter");
}

} // namespace msr::report
