#pragma once

#include "evaluation/number/extended.h"
#include "evaluation/rent_index/figures.h"

namespace msr {

// What an evaluation computed, besides the paragraphs it appended.
struct EvaluationResult {
    float livingArea = 0;
    SpanFigures figures; // as they leave section 8
    Extended totalLow = 0;
    Extended totalHigh = 0;
    Extended totalMean = 0;
};

} // namespace msr
