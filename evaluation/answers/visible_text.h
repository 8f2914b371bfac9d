#pragma once

#include <string>
#include <string_view>

namespace msr {

// The text with every control character written as JSON writes it, \u0000 to \u001f, DEL
// as \u007f and the UTF-8 controls U+0080 to U+009F likewise, so that a key or a value
// quoted in a message can neither colour a terminal, nor break a line, nor cut a text at
// a NUL. Every message that repeats the user's input quotes it through here.
std::string WithVisibleControls(std::string_view text);

} // namespace msr
