#pragma once

#include "evaluation/answers/answers.h"
#include "evaluation/document/report_document.h"
#include "evaluation/evaluation_result.h"
#include "evaluation/rent_index/edition.h"

#include <stdexcept>
#include <string>

namespace msr {

// Raised when the answers lack the construction-year class, which the program never
// lets happen; nothing has been appended then.
class MissingYearClass : public std::logic_error {
public:
    MissingYearClass() : std::logic_error("Es ist keine Baualtersklasse gewählt") {}
};

// The whole evaluation under one edition of the rent index: reads the living area first
// (ConversionError before anything is appended), then appends introduction, year class,
// sections 1 to 8, final calculation and closing lines to the document. It only appends;
// the caller clears.
EvaluationResult Evaluate(const Answers& answers, const Edition& edition, ReportDocument& document,
                          const std::string& decimalSeparator);

// The same evaluation without its text: the figures alone, computed by the same steps
// (and failing the same way), with no paragraph built.
EvaluationResult EvaluateFigures(const Answers& answers, const Edition& edition,
                                 const std::string& decimalSeparator);

} // namespace msr
