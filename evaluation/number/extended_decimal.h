#pragma once

#include <optional>
#include <string_view>

#include "evaluation/number/extended.h"

namespace msr {

// A value's exact decimal expansion rounded to 18 significant digits (to nearest, ties to
// even): the digits d0 d1 … d17 and the power of ten of d0.
struct EighteenDigits {
    bool negative = false;
    char digits[18] = {};
    int exponent = 0;
};

// For a finite nonzero value; exact integer arithmetic, no floating point.
EighteenDigits ToEighteenDigits(const Extended& value);

// ±digits × 10^exponent (digits '0' to '9') rounded to the 64-bit significand, nearest,
// ties to even, as the runtime's text-to-number conversion does. Empty when the number
// lies beyond the extended range (overflow, or nonzero below 2^-16382).
std::optional<Extended> ExtendedFromDecimal(bool negative, std::string_view digits,
                                            long long exponent);

// The float and the double nearest to ±digits × 10^exponent (ties to even), as a C++
// literal of that text gives them, whatever the C library and its locale: the rent index's
// figures and amounts as an edition file writes them. Empty beyond the normal range of the
// type, and for more than 40 digits or a power of ten beyond ±40, which no figure of a rent
// index needs.
std::optional<float> FloatFromDecimal(bool negative, std::string_view digits, int exponent);
std::optional<double> DoubleFromDecimal(bool negative, std::string_view digits, int exponent);

} // namespace msr
