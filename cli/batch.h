#pragma once

#include <istream>
#include <ostream>
#include <string>

namespace msr::cli {

// JSON Lines: every input line is one object of answers and gives exactly one output line,
// in order: the evaluation as {"paragraphs":[...]} or {"error":"<message>"} for a refused,
// unreadable or blank line. Returns false only when reading or writing the streams failed.
bool RunBatch(std::istream& in, std::ostream& out, const std::string& decimalSeparator);

} // namespace msr::cli
