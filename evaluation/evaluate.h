#pragma once

#include "answers.h"
#include "figures.h"
#include "report_document.h"

#include <stdexcept>
#include <string>

namespace msr {

// What an evaluation computed, besides the paragraphs it appended.
struct EvaluationResult {
    float livingArea = 0;
    SpanFigures figures; // as they leave section 8
    Extended totalLow = 0;
    Extended totalHigh = 0;
    Extended totalMean = 0;
};

// Raised when the answers lack the construction-year class, which the program never
// lets happen; nothing has been appended then.
class MissingYearClass : public std::logic_error {
public:
    MissingYearClass() : std::logic_error("Es ist keine Baualtersklasse gewählt") {}
};

// The whole evaluation: reads the living area first (ConversionError before anything is
// appended), then appends introduction, year class, sections 1 to 8, final calculation
// and closing lines to the document. It only appends; the caller clears.
EvaluationResult Evaluate(const Answers& answers, ReportDocument& document,
                          const std::string& decimalSeparator);

// The same evaluation without its text: the figures alone, computed by the same steps
// (and failing the same way), with no paragraph built.
EvaluationResult EvaluateFigures(const Answers& answers, const std::string& decimalSeparator);

} // namespace msr
