#pragma once

#include "evaluation/answers.h"

#include <string>
#include <string_view>

namespace msr::cli {

// What became of one JSON text of answers.
struct AnswersReading {
    enum class Status {
        Read,    // answers holds every key of the text
        NotJson, // not JSON, or not a JSON object
        Refused, // an unknown key, a wrong type, a number out of range, a side without class 4
    };
    Status status = Status::Read;
    Answers answers;
    std::string message; // why it was not read, in German, without a closing full stop
};

// Reads the answers keyed by the input names; absent keys keep the start-up values.
AnswersReading ReadAnswers(std::string_view json);

} // namespace msr::cli
