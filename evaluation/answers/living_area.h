#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace msr {

// A text that the runtime's number conversions refuse; what() is the message the
// standard error report shows (before its full stop is added).
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const std::string& message)
        : std::runtime_error(message), message_(message) {}
    // The whole message; what() ends at a NUL byte that the quoted text may hold.
    const std::string& message() const { return message_; }

private:
    std::string message_;
};

// The flat-size dialog's check: a 32-bit whole number, optionally signed, blanks around
// it allowed. Throws ConversionError "'%s' ist kein gültiger Integerwert".
int ToWholeNumber(const std::string& text);

// The same check without the throw, for front ends that check many answers: the number,
// or nothing (then WholeNumberMessage says why).
std::optional<int> WholeNumberOf(std::string_view text);
std::string WholeNumberMessage(const std::string& text);

// The evaluation's reading of the living area: the text as an extended-precision number
// in the user's notation (decimal separator given), rounded to 32 bits. Throws
// ConversionError "'%s' ist kein gültiger Gleitkommawert".
float ToLivingArea(const std::string& text, const std::string& decimalSeparator);

} // namespace msr
