#pragma once

#include <string>

#include "evaluation/number/extended.h"

namespace msr {

// The three running figures in Euro per square metre and month, 32 bits each.
struct SpanFigures {
    float low = 0;
    float high = 0;
    float mean = 0;
};

// Moves all three figures by the signed amount: each sum is formed in extended
// precision and then rounded to 32 bits.
void AdjustSpan(SpanFigures& figures, double amount);

// The report's number format: fixed point with two decimals, rounded half away from
// zero to at most seven significant digits, no sign on zero, no thousands separators.
// A value that rounds to eight or more digits before the separator is written in
// exponent form with seven significant digits ("1,234568E+7").
std::string FormatFigure(Extended value, const std::string& decimalSeparator);

} // namespace msr
