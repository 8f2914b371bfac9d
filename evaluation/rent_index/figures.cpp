#include "evaluation/rent_index/figures.h"

#include <algorithm>
#include <string>

#include "evaluation/number/extended_decimal.h"

namespace msr {
namespace {

float AddInExtended(float figure, const Extended& amount) {
    return static_cast<float>(Extended(figure) + amount);
}

// A whole number of units of 10^-decimals as digits: never more than eight in a figure
// (seven significant digits and a carry), so they stay on the stack.
struct Units {
    char digits[24];
    int size = 0;

    bool allZero() const {
        for (int i = 0; i < size; ++i)
            if (digits[i] != '0')
                return false;
        return true;
    }
};

// Rounds half away from zero so that no digit below 10^-decimals remains, returning
// the kept digits as a whole number of units of 10^-decimals.
Units RoundedUnits(const EighteenDigits& decimal, int decimals) {
    Units units;
    // Position of the last kept digit within decimal.digits.
    const int kept = std::min(decimal.exponent + 1 + decimals, 22);
    if (kept <= 0) {
        // Every digit is dropped; only a first dropped digit of 5 or more rounds up.
        const bool up = kept == 0 && decimal.digits[0] >= '5';
        units.digits[units.size++] = up ? '1' : '0';
        return units;
    }
    for (; units.size < kept; ++units.size)
        units.digits[units.size] = units.size < 18 ? decimal.digits[units.size] : '0';
    if (kept < 18 && decimal.digits[kept] >= '5') {
        int i = units.size - 1;
        while (i >= 0 && units.digits[i] == '9')
            units.digits[i--] = '0';
        if (i >= 0) {
            ++units.digits[i];
        } else {
            std::copy_backward(units.digits, units.digits + units.size,
                               units.digits + units.size + 1);
            units.digits[0] = '1';
            ++units.size;
        }
    }
    return units;
}

// Beyond seven digits before the separator the format cannot keep cents; such values
// are written in exponent form with seven significant digits.
std::string ExponentForm(const EighteenDigits& decimal, const std::string& separator) {
    Units units = RoundedUnits(decimal, 6 - decimal.exponent);
    int exponent = decimal.exponent;
    if (units.size > 7) {
        --units.size;
        ++exponent;
    }
    while (units.size > 1 && units.digits[units.size - 1] == '0')
        --units.size;
    std::string text = decimal.negative ? "-" : "";
    text += units.digits[0];
    if (units.size > 1) {
        text += separator;
        text.append(units.digits + 1, static_cast<std::size_t>(units.size - 1));
    }
    return text + "E+" + std::to_string(exponent);
}

} // namespace

void AdjustSpan(SpanFigures& figures, double amount) {
    const Extended widened(amount); // exact, so once for all three
    figures.low = AddInExtended(figures.low, widened);
    figures.high = AddInExtended(figures.high, widened);
    figures.mean = AddInExtended(figures.mean, widened);
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
    Units units = RoundedUnits(decimal, decimals);
    if (units.allZero())
        return "0" + decimalSeparator + "00";
    // Rounding up may carry into an eighth digit before the separator (9999999,5).
    if (units.size - decimals > 7)
        return ExponentForm(decimal, decimalSeparator);
    for (int i = decimals; i < 2; ++i)
        units.digits[units.size++] = '0';
    const int whole = std::max(units.size - 2, 1); // at least the 0 of 0,05
    std::string text;
    text.reserve(static_cast<std::size_t>(whole + 4) + decimalSeparator.size());
    if (decimal.negative)
        text += '-';
    if (units.size < 3)
        text += '0';
    else
        text.append(units.digits, static_cast<std::size_t>(units.size - 2));
    text += decimalSeparator;
    if (units.size < 2)
        text += '0';
    text.append(units.digits + std::max(units.size - 2, 0), std::min<std::size_t>(2, units.size));
    return text;
}

} // namespace msr
