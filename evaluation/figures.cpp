#include "evaluation/figures.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace msr {
namespace {

float AddInExtended(float figure, double amount) {
    const Extended sum = static_cast<Extended>(figure) + static_cast<Extended>(amount);
    return static_cast<float>(sum);
}

// The value's decimal expansion to 18 significant digits: digits d0 d1 ... d17 and the
// power of ten of d0.
struct DecimalDigits {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

DecimalDigits EighteenDigits(Extended value) {
    char buffer[64];
    // Figures and totals fit a double exactly (at most 48 significant bits), and the
    // double conversion is many times faster than the extended one.
    const double narrow = static_cast<double>(value);
    const auto result = static_cast<Extended>(narrow) == value
                            ? std::to_chars(buffer, buffer + sizeof buffer - 1, narrow,
                                            std::chars_format::scientific, 17)
                            : std::to_chars(buffer, buffer + sizeof buffer - 1, value,
                                            std::chars_format::scientific, 17);
    *result.ptr = '\0';
    DecimalDigits decimal;
    const char* p = buffer;
    if (*p == '-') {
        decimal.negative = true;
        ++p;
    }
    for (; p != result.ptr && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            decimal.digits.push_back(*p);
    if (p != result.ptr)
        decimal.exponent = std::atoi(p + 1);
    return decimal;
}

// Rounds half away from zero so that no digit below 10^-decimals remains, returning
// the kept digits as a whole number of units of 10^-decimals, as a digit string.
std::string RoundedUnits(const DecimalDigits& decimal, int decimals) {
    // Position of the last kept digit within decimal.digits.
    const int kept = decimal.exponent + 1 + decimals;
    if (kept <= 0) {
        // Every digit is dropped; only a first dropped digit of 5 or more rounds up.
        const bool up = kept == 0 && decimal.digits[0] >= '5';
        return up ? "1" : "0";
    }
    std::string units = decimal.digits.substr(0, static_cast<std::size_t>(kept));
    while (static_cast<int>(units.size()) < kept)
        units.push_back('0');
    if (kept < static_cast<int>(decimal.digits.size()) && decimal.digits[kept] >= '5') {
        int i = static_cast<int>(units.size()) - 1;
        while (i >= 0 && units[i] == '9')
            units[i--] = '0';
        if (i >= 0)
            ++units[i];
        else
            units.insert(units.begin(), '1');
    }
    return units;
}

bool AllZero(const std::string& digits) {
    return digits.find_first_not_of('0') == std::string::npos;
}

// Beyond seven digits before the separator the format cannot keep cents; such values
// are written in exponent form with seven significant digits.
std::string ExponentForm(const DecimalDigits& decimal, const std::string& separator) {
    std::string units = RoundedUnits(decimal, 6 - decimal.exponent);
    int exponent = decimal.exponent;
    if (units.size() > 7) {
        units.pop_back();
        ++exponent;
    }
    while (units.size() > 1 && units.back() == '0')
        units.pop_back();
    std::string text = decimal.negative ? "-" : "";
    text += units[0];
    if (units.size() > 1)
        text += separator + units.substr(1);
    return text + "E+" + std::to_string(exponent);
}

} // namespace

void AdjustSpan(SpanFigures& figures, double amount) {
    figures.low = AddInExtended(figures.low, amount);
    figures.high = AddInExtended(figures.high, amount);
    figures.mean = AddInExtended(figures.mean, amount);
}

std::string FormatFigure(Extended value, const std::string& decimalSeparator) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0" + decimalSeparator + "00";
    const DecimalDigits decimal = EighteenDigits(value);
    const int integerDigits = decimal.exponent + 1;
    if (integerDigits > 7)
        return ExponentForm(decimal, decimalSeparator);

    // Two decimals, but no more than seven significant digits in all.
    const int decimals = integerDigits <= 5 ? 2 : 7 - integerDigits;
    std::string units = RoundedUnits(decimal, decimals);
    if (AllZero(units))
        return "0" + decimalSeparator + "00";
    units.append(static_cast<std::size_t>(2 - decimals), '0');
    while (units.size() < 3)
        units.insert(units.begin(), '0');

    std::string text = decimal.negative ? "-" : "";
    text.append(units, 0, units.size() - 2);
    text += decimalSeparator;
    text.append(units, units.size() - 2, 2);
    return text;
}

} // namespace msr
