#pragma once

#include <string_view>

namespace msr {

// The text without the spaces and tabs around it, as the number conversions of typed
// answers (a size, a rent, a cell of a sheet) allow them.
inline std::string_view TrimBlanks(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace msr
