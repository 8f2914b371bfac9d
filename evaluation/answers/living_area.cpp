#include "evaluation/answers/living_area.h"

#include "evaluation/answers/blanks.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>
#include <string_view>

#include "evaluation/answers/visible_text.h"
#include "evaluation/number/extended_decimal.h"

namespace msr {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t CountDigits(std::string_view text, std::size_t from) {
    std::size_t n = 0;
    while (from + n < text.size() && IsDigit(text[from + n]))
        ++n;
    return n;
}

ConversionError NotAWholeNumber(const std::string& text) {
    return ConversionError("'" + WithVisibleControls(text) + "' ist kein gültiger Integerwert");
}

ConversionError NotAFloatingPointNumber(const std::string& text) {
    return ConversionError("'" + WithVisibleControls(text) + "' ist kein gültiger Gleitkommawert");
}

// A number in the user's notation, "[sign] digits [separator digits] [e [sign] digits]",
// as ±digits × 10^exponent.
struct DecimalNumber {
    bool negative = false;
    std::string digits;
    long long exponent = 0;
};

// Reads the exponent's digits; beyond any reach of the extended range it saturates.
long long ExponentValue(std::string_view digits) {
    constexpr long long kSaturated = 1000000000000LL;
    long long value = 0;
    for (char c : digits)
        value = std::min(kSaturated, value * 10 + (c - '0'));
    return value;
}

std::optional<DecimalNumber> ReadDecimal(std::string_view text, std::string_view separator) {
    DecimalNumber number;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        number.negative = text[i++] == '-';
    const std::size_t whole = CountDigits(text, i);
    number.digits.append(text.substr(i, whole));
    i += whole;
    std::size_t fraction = 0;
    if (!separator.empty() && text.substr(i, separator.size()) == separator) {
        i += separator.size();
        fraction = CountDigits(text, i);
        number.digits.append(text.substr(i, fraction));
        i += fraction;
    }
    if (whole + fraction == 0)
        return std::nullopt;
    long long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            negativeExponent = text[i++] == '-';
        const std::size_t digits = CountDigits(text, i);
        if (digits == 0)
            return std::nullopt;
        exponent = ExponentValue(text.substr(i, digits));
        if (negativeExponent)
            exponent = -exponent;
        i += digits;
    }
    if (i != text.size())
        return std::nullopt;
    number.exponent = exponent - static_cast<long long>(fraction);
    return number;
}

} // namespace

std::optional<int> WholeNumberOf(std::string_view text) {
    std::string_view digits = TrimBlanks(text);
    bool negative = false;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty() || CountDigits(digits, 0) != digits.size())
        return std::nullopt;
    long long magnitude = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    (void)end;
    const long long value = negative ? -magnitude : magnitude;
    if (error != std::errc() || value < std::numeric_limits<int>::min() ||
        value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

std::string WholeNumberMessage(const std::string& text) {
    return NotAWholeNumber(text).message();
}

int ToWholeNumber(const std::string& text) {
    if (const std::optional<int> number = WholeNumberOf(text))
        return *number;
    throw NotAWholeNumber(text);
}

float ToLivingArea(const std::string& text, const std::string& decimalSeparator) {
    const std::optional<DecimalNumber> number = ReadDecimal(TrimBlanks(text), decimalSeparator);
    if (!number)
        throw NotAFloatingPointNumber(text);
    const std::optional<Extended> value =
        ExtendedFromDecimal(number->negative, number->digits, number->exponent);
    // A value beyond the 32-bit range has no place in the figures.
    const Extended largestFloat(std::numeric_limits<float>::max());
    if (!value || *value > largestFloat || *value < -largestFloat)
        throw NotAFloatingPointNumber(text);
    return static_cast<float>(*value);
}

} // namespace msr
