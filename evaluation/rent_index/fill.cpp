#include "evaluation/rent_index/fill.h"

namespace msr {

std::string Fill(std::string_view sentence, std::initializer_list<std::string_view> values) {
    constexpr std::string_view kHole = "{}";
    std::size_t length = sentence.size();
    for (std::string_view value : values)
        length += value.size();
    std::string filled;
    filled.reserve(length);
    const std::string_view* value = values.begin();
    std::size_t from = 0;
    for (std::size_t hole = sentence.find(kHole);
         hole != std::string_view::npos && value != values.end();
         hole = sentence.find(kHole, from)) {
        filled.append(sentence, from, hole - from);
        filled.append(*value++);
        from = hole + kHole.size();
    }
    filled.append(sentence, from, std::string_view::npos);
    return filled;
}

} // namespace msr
