#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace msr {

// Fills the holes "{}" of a sentence, from left to right, with the values in their order,
// so that a sentence stands in the source whole, as it is printed. A hole without a value
// stays as written; values without a hole are left out.
std::string Fill(std::string_view sentence, std::initializer_list<std::string_view> values);

} // namespace msr
