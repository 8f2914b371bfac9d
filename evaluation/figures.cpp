#include "evaluation/figures.h"

#include <algorithm>
#include <string>

#include "evaluation/extended_decimal.h"

namespace msr {
namespace {

float AddInExtended(float figure, double amount) {
    return static_cast<float>(Extended(figure) + Extended(amount));
}

// Rounds half away from zero so that no digit below 10^-decimals remains, returning
// the kept digits as a whole number of units of 10^-decimals, as a digit string.
std::string RoundedUnits(const EighteenDigits& decimal, int decimals) {
    // Position of the last kept digit within decimal.digits.
    const int kept = decimal.exponent + 1 + decimals;
    if (kept <= 0) {
        // Every digit is dropped; only a first dropped digit of 5 or more rounds up.
        const bool up = kept == 0 && decimal.digits[0] >= '5';
        return up ? "1" : "0";
    }
    std::string units(decimal.digits, static_cast<std::size_t>(std::min(kept, 18)));
    while (static_cast<int>(units.size()) < kept)
        units.push_back('0');
    if (kept < 18 && decimal.digits[kept] >= '5') {
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
std::string ExponentForm(const EighteenDigits& decimal, const std::string& separator) {
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
    if (value.isNotANumber())
        return "NAN";
    if (value.isInfinite())
        return value.isNegative() ? "-INF" : "INF";
    if (value.isZero())
        return "0" + decimalSeparator + "00";
    const EighteenDigits decimal = ToEighteenDigits(value);
    const int integerDigits = decimal.exponent + 1;
    if (integerDigits > 7)
        return ExponentForm(decimal, decimalSeparator);

    // Two decimals, but no more than seven significant digits in all.
    const int decimals = integerDigits <= 5 ? 2 : 7 - integerDigits;
    std::string units = RoundedUnits(decimal, decimals);
    if (AllZero(units))
        return "0" + decimalSeparator + "00";
    // Rounding up may carry into an eighth digit before the separator (9999999,5).
    if (static_cast<int>(units.size()) - decimals > 7)
        return ExponentForm(decimal, decimalSeparator);
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
