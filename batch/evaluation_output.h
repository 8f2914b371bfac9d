#pragma once

#include "batch/figures_table.h"
#include "evaluation/document/report_document.h"
#include "evaluation/entry.h"

#include <cstdint>
#include <string>

namespace msr::batch {

// One evaluation, or its refusal, as one JSON object without a line feed: the report with
// its figures and edition (named fully where several are loaded), or {"error":"<message>"};
// "Aktenzeichen" first when the answers gave one.
void AppendAnswersEvaluation(const AnswersEvaluation& evaluation, const ReportDocument& document,
                             bool severalEditions, const std::string& decimalSeparator,
                             std::string& out);

// The same as one row of the table (figures_csv.h), numbered, with the edition's column
// where several are loaded.
void AppendCsvEvaluation(std::uint64_t number, const AnswersEvaluation& evaluation,
                         bool severalEditions, const std::string& decimalSeparator,
                         std::string& out);

// The row of the table for that evaluation; figures is where its figures are put, edition
// its edition's cell where the table has that column.
FiguresRow RowOf(std::uint64_t number, const AnswersEvaluation& evaluation, bool editionColumn,
                 const std::string& decimalSeparator, FinalFigureTexts& figures,
                 std::string& edition);

} // namespace msr::batch
