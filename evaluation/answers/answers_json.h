#pragma once

#include "evaluation/answers/answers_reading.h"

#include <string_view>

namespace msr {

// Reads the answers keyed by the input names, and the case number; absent keys keep the
// start-up values.
AnswersReading ReadAnswers(std::string_view json);

} // namespace msr
