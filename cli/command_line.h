#pragma once

#include "batch/batch_formats.h"
#include "evaluation/answers/calendar_date.h"
#include "evaluation/answers/inputs.h"

#include <optional>

#include <string>
#include <vector>

namespace msr::cli {

using batch::InputFormat;
using batch::IsSheetFile;
using batch::OutputFormat;

struct Options {
    OutputFormat format = OutputFormat::Text;
    bool formatGiven = false;
    bool batch = false; // also true for a sheet, which is always read row by row
    InputFormat input = InputFormat::JsonLines;
    bool help = false;
    bool version = false;
    std::string inputFile;        // empty or "-": standard input
    std::string pdfFile;          // --pdf: the report's pages go here too, as they print
    std::string outputFile;       // --output: instead of the standard output; empty: that
    std::string decimalSeparator; // "," or "."; empty: the locale's
    // --rent-index: edition files and folders besides the built-in and installed ones.
    std::vector<std::string> rentIndexFiles;
    std::optional<CalendarDate> date; // --date: the day whose edition counts; none: today
    std::string checkRentIndex;       // --check-rent-index: the file or folder to check
};

struct CommandLine {
    Options options;
    std::string error; // in German, without a closing full stop; empty when the line is good
    bool ok() const { return error.empty(); }
};

// Reads the arguments that follow the program name, by the one table of options. Options
// may come in any order, each value either as the next argument or after "=", short ones
// compacted ("-h"); "--" ends the options; of a repeated option the last value counts, but
// every --rent-index does.
// Every message is our own German one, the same in every build.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The one-line synopsis that follows a usage error.
std::string UsageText();
// The whole --help text; the keys of the answers come from the table of inputs.
std::string HelpText();
// What --help says of an input's key and of "Aktenzeichen", in one line (the template's
// explanations say the same).
std::string KeyHelp(const InputRow& input);
std::string CaseNumberHelp();
// "mietspiegel-auswertung <version>" and a newline.
std::string VersionText();

} // namespace msr::cli
