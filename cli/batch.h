#pragma once

#include "cli/command_line.h"
#include "cli/progress.h"

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>

namespace msr::cli {

// Every input line is one JSON object of answers and gives exactly one answer, in order.
// JSON Lines: the evaluation as {"paragraphs":[...],"figures":{...}}, or {"error":"<message>"}
// for a refused, unreadable or blank line. CSV: a header, then per line its number and the
// seven figures, or its number and the message. Text is no batch format. The progress, if
// given, hears of every line. Stops at the first line that cannot be read or written.
struct BatchOutcome {
    enum class Failure { None, Input, Output };
    Failure failure = Failure::None;
    std::uint64_t lines = 0;   // answered, refused ones included
    std::uint64_t refused = 0; // answered with a message instead of figures
    bool finished() const { return failure == Failure::None; }
};
BatchOutcome RunBatch(std::istream& in, std::ostream& out, const std::string& decimalSeparator,
                      OutputFormat format = OutputFormat::Json, BatchProgress* progress = nullptr);

} // namespace msr::cli
