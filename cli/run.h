#pragma once

#include "batch/figures_table.h"
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

// Begins a workbook of the table of figures that finish() writes to file; nullptr when it
// cannot be begun.
// With the edition's column where several editions are loaded.
using WorkbookOpener = std::function<std::unique_ptr<batch::FiguresTable>(const std::string& file,
                                                                          bool editionColumn)>;

// What the evaluator takes from the program around it.
struct Surroundings {
    std::string decimalSeparator = "."; // the user's locale's
    ProgressTerminal progress;          // where a batch run may show its progress
    PdfWriter writePdf;                 // empty where this build writes no PDF
    WorkbookOpener openWorkbook;        // empty where this build writes no workbook
    batch::Inflater inflate;            // unpacks a workbook handed in as a sheet
    // The day whose edition counts without --date; none: today on the computer's clock.
    std::optional<CalendarDate> today;
    // Where the installed editions of the rent index live (each folder's *.json).
    std::vector<std::string> installedEditionFolders;
};

// The whole evaluator behind main(): the arguments after the program name, the standard
// streams and the surroundings. Returns the exit status.
int RunEvaluator(const std::vector<std::string>& arguments, std::istream& standardInput,
                 std::ostream& out, std::ostream& err, const Surroundings& surroundings);

} // namespace msr::cli
