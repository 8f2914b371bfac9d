#pragma once

#include <string>
#include <vector>

namespace msr::cli {

enum class OutputFormat { Text, Json, Csv };

struct Options {
    OutputFormat format = OutputFormat::Text;
    bool formatGiven = false;
    bool batch = false;
    bool help = false;
    std::string inputFile; // empty or "-": standard input
    std::string pdfFile;   // --pdf: the report's pages go here too, as they print
};

struct CommandLine {
    Options options;
    std::string error; // in German, without a closing full stop; empty when the line is good
    bool ok() const { return error.empty(); }
};

// Reads the arguments that follow the program name. Options may come in any order, each
// value either as the next argument or after "="; "--" ends the options.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The one-line synopsis that follows a usage error.
std::string UsageText();
// The whole --help text.
std::string HelpText();

} // namespace msr::cli
