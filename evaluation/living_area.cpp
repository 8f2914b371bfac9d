#include "evaluation/living_area.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

#include "evaluation/figures.h"

namespace msr {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::size_t CountDigits(std::string_view text, std::size_t from) {
    std::size_t n = 0;
    while (from + n < text.size() && IsDigit(text[from + n]))
        ++n;
    return n;
}

ConversionError NotAWholeNumber(const std::string& text) {
    return ConversionError("'" + text + "' ist kein gültiger Integerwert");
}

ConversionError NotAFloatingPointNumber(const std::string& text) {
    return ConversionError("'" + text + "' ist kein gültiger Gleitkommawert");
}

// Rewrites "[sign] digits [separator digits] [e [sign] digits]" in the user's notation
// into the C notation that std::from_chars reads; empty when the text is no number.
std::string ToCNotation(std::string_view text, std::string_view separator) {
    std::string c;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            c.push_back('-');
        ++i;
    }
    const std::size_t whole = CountDigits(text, i);
    c.append(text.substr(i, whole));
    i += whole;
    std::size_t fraction = 0;
    if (!separator.empty() && text.substr(i, separator.size()) == separator) {
        i += separator.size();
        fraction = CountDigits(text, i);
        c.push_back('.');
        c.append(text.substr(i, fraction));
        i += fraction;
    }
    if (whole + fraction == 0)
        return {};
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        c.push_back('e');
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            c.push_back(text[i++]);
        const std::size_t exponent = CountDigits(text, i);
        if (exponent == 0)
            return {};
        c.append(text.substr(i, exponent));
        i += exponent;
    }
    return i == text.size() ? c : std::string{};
}

} // namespace

int ToWholeNumber(const std::string& text) {
    std::string_view digits = TrimBlanks(text);
    bool negative = false;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty() || CountDigits(digits, 0) != digits.size())
        throw NotAWholeNumber(text);
    long long magnitude = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    (void)end;
    const long long value = negative ? -magnitude : magnitude;
    if (error != std::errc() || value < std::numeric_limits<int>::min() ||
        value > std::numeric_limits<int>::max())
        throw NotAWholeNumber(text);
    return static_cast<int>(value);
}

float ToLivingArea(const std::string& text, const std::string& decimalSeparator) {
    const std::string c = ToCNotation(TrimBlanks(text), decimalSeparator);
    if (c.empty())
        throw NotAFloatingPointNumber(text);
    Extended value = 0;
    const auto [end, error] = std::from_chars(c.data(), c.data() + c.size(), value);
    (void)end;
    // A value beyond the 32-bit range has no place in the figures.
    if (error != std::errc() || std::fabs(value) > std::numeric_limits<float>::max())
        throw NotAFloatingPointNumber(text);
    return static_cast<float>(value);
}

} // namespace msr
