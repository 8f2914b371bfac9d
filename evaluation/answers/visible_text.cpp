#include "evaluation/answers/visible_text.h"

namespace msr {
namespace {

bool IsControl(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F;
}

// U+0080 to U+009F are C2 80 to C2 9F in UTF-8.
bool IsUtf8Control(std::string_view text, std::size_t i) {
    return static_cast<unsigned char>(text[i]) == 0xC2 && i + 1 < text.size() &&
           static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
           static_cast<unsigned char>(text[i + 1]) <= 0x9F;
}

void AppendEscaped(unsigned code, std::string& out) {
    constexpr char kHex[] = "0123456789abcdef";
    out += "\\u00";
    out += kHex[code >> 4];
    out += kHex[code & 0xF];
}

} // namespace

std::string WithVisibleControls(std::string_view text) {
    std::string visible;
    visible.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (IsControl(byte)) {
            AppendEscaped(byte, visible);
        } else if (IsUtf8Control(text, i)) {
            AppendEscaped(static_cast<unsigned char>(text[++i]), visible);
        } else {
            visible += text[i];
        }
    }
    return visible;
}

} // namespace msr
