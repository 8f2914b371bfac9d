#pragma once

#include <limits>
#include <string>

namespace msr {

// The evaluation's intermediate precision: the x87 80-bit extended type.
using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits == 64,
              "sums and totals must be formed with a 64-bit significand");

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
std::string FormatFigure(Extended value, const std::string& decimalSeparator);

} // namespace msr
