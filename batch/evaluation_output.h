#pragma once

#include "evaluation/document/report_document.h"
#include "evaluation/entry.h"

#include <cstdint>
#include <string>

namespace msr::batch {

// One evaluation, or its refusal, as one JSON object without a line feed: the report with
// its figures, or {"error":"<message>"}; "Aktenzeichen" first when the answers gave one.
void AppendAnswersEvaluation(const AnswersEvaluation& evaluation, const ReportDocument& document,
                             const std::string& decimalSeparator, std::string& out);

// The same as one row of the table (figures_csv.h), numbered.
void AppendCsvEvaluation(std::uint64_t number, const AnswersEvaluation& evaluation,
                         const std::string& decimalSeparator, std::string& out);

} // namespace msr::batch
