#pragma once

#include "cli/progress.h"

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace msr::cli {

enum ExitStatus : int {
    kEvaluated = 0,
    kRefused = 1, // the answers were refused; the message is on the error stream
    kUsageOrInputFailed = 2,
};

// The whole evaluator behind main(): the arguments after the program name, the standard
// streams, the decimal separator of the user's locale, and where a batch run may show its
// progress. Returns the exit status.
int RunEvaluator(const std::vector<std::string>& arguments, std::istream& standardInput,
                 std::ostream& out, std::ostream& err, const std::string& decimalSeparator,
                 const ProgressTerminal& progress = {});

} // namespace msr::cli
