#pragma once

#include "evaluation/answers.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace msr {

// The longest JSON text of answers that is read: far more than any answers take (the size
// dialog's field holds at most 32767 characters), and a bound on the memory one text costs.
inline constexpr std::size_t kLargestAnswersText = std::size_t{1} << 20;

// What became of one JSON text of answers.
struct AnswersReading {
    enum class Status {
        Read,    // answers holds every key of the text
        NotJson, // not JSON, not a JSON object, not UTF-8, or longer than kLargestAnswersText
        Refused, // an unknown key, a wrong type, a number out of range, a side without class 4
    };
    Status status = Status::Read;
    Answers answers;
    std::string message; // why it was not read, in German, without a closing full stop
};

// Reads the answers keyed by the input names; absent keys keep the start-up values.
AnswersReading ReadAnswers(std::string_view json);

} // namespace msr
