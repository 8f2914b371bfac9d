#pragma once

#include "cli/evaluator.h"
#include "evaluation/document/report_document.h"

#include <cstdint>
#include <string>

namespace msr::cli {

// One evaluation, or its refusal, as one JSON object without a line feed: the report with
// its figures, or {"error":"<message>"}; "Aktenzeichen" first when the answers gave one.
void AppendJsonEvaluation(const JsonEvaluation& evaluation, const ReportDocument& document,
                          const std::string& decimalSeparator, std::string& out);

// The same as one row of the table (figures_csv.h), numbered.
void AppendCsvEvaluation(std::uint64_t number, const JsonEvaluation& evaluation,
                         const std::string& decimalSeparator, std::string& out);

} // namespace msr::cli
