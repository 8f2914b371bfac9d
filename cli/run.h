#pragma once

#include "batch/zip_reading.h"
#include "cli/progress.h"
#include "evaluation/answers/calendar_date.h"
#include "evaluation/document/report_document.h"

#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace msr::cli {

enum ExitStatus : int {
    kEvaluated = 0,
    kRefused = 1, // the answers were refused; the message is on the error stream
    kUsageOrInputFailed = 2,
};

// Writes the report's pages, exactly as they print, to a PDF file; raises an exception with
// a German message, and keeps any old file, when the file cannot be written.
using PdfWriter = std::function<void(const ReportDocument& document, const std::string& file)>;

// What the evaluator takes from the program around it.
struct Surroundings {
    std::string decimalSeparator = "."; // the user's locale's
    ProgressTerminal progress;          // where a batch run may show its progress
    PdfWriter writePdf;                 // empty where this build writes no PDF
    batch::Inflater inflate;            // unpacks a workbook handed in as a sheet
    // The day whose edition counts without --date; none: today on the computer's clock.
    std::optional<CalendarDate> today;
    // The bits a new file's permissions leave out; none: the process's own umask (under Node
    // the C library's umask is not the process's, so Node hands it in).
    std::optional<unsigned> fileCreationMask;
    // Where the installed editions of the rent index live (each folder's *.json).
    std::vector<std::string> installedEditionFolders;
};

// The whole evaluator behind main(): the arguments after the program name, the standard
// streams and the surroundings. Returns the exit status.
int RunEvaluator(const std::vector<std::string>& arguments, std::istream& standardInput,
                 std::ostream& out, std::ostream& err, const Surroundings& surroundings);

} // namespace msr::cli
