#pragma once
// Stands in for the page painter when the command-line evaluator is built for Node:
// there the report's pages are the browser's to print, and --pdf is refused before any
// evaluation (see cli/node/evaluator_for_node.cpp), so this is never reached.

#include "evaluation/report_document.h"

#include <QString>

#include <stdexcept>

namespace msr::report {

inline void WriteReportPdf(const ReportDocument&, const QString&) {
    throw std::logic_error("Seiten als PDF schreibt nur der native Auswerter");
}

} // namespace msr::report
