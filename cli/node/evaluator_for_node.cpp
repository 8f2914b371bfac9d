// The command-line evaluator's run, built for Node: the same options, outputs, refusals
// and exit codes. JavaScript hands in the arguments and the locale's decimal separator
// and writes out what comes back.
#include "cli/command_line.h"
#include "cli/run.h"
#include "evaluation/admission.h"

#include <emscripten/emscripten.h>

#include <array>
#include <streambuf>

#include <exception>
#include <sstream>
#include <string>
#include <vector>

// Reads up to size bytes of the process's standard input into buffer; 0 at its end, -1
// on a read error. The module's own standard input reads nothing under Node.
// clang-format off (it would split JavaScript's operators)
EM_JS(int, ReadStandardInput, (char* buffer, int size), {
    const fs = require('fs');
    for (;;) {
        try {
            return fs.readSync(0, HEAPU8, buffer, size, null);
        } catch (error) {
            if (error.code == 'EAGAIN')
                continue; // a terminal or a pipe not ready yet
            if (error.code == 'EOF')
                return 0;
            return -1;
        }
    }
});
// clang-format on

namespace {

// The standard input as a stream, read only when the evaluator asks for it.
class StandardInputBuffer : public std::streambuf {
protected:
    int_type underflow() override {
        const int read = ReadStandardInput(buffer_.data(), static_cast<int>(buffer_.size()));
        if (read < 0)
            throw std::ios_base::failure("Die Eingabe kann nicht gelesen werden");
        if (read == 0)
            return traits_type::eof();
        setg(buffer_.data(), buffer_.data(), buffer_.data() + read);
        return traits_type::to_int_type(buffer_[0]);
    }

private:
    std::array<char, 1 << 16> buffer_{};
};

struct RunOutput {
    std::string out;
    std::string err;
};

RunOutput& Output() {
    static RunOutput output;
    return output;
}

bool AsksForPdf(const std::vector<std::string>& arguments) {
    const msr::cli::CommandLine commandLine = msr::cli::ParseCommandLine(arguments);
    return commandLine.ok() && !commandLine.options.pdfFile.empty();
}

int Run(const std::vector<std::string>& arguments, const std::string& decimalSeparator,
        std::ostream& out, std::ostream& err) {
    if (AsksForPdf(arguments)) {
        err << msr::WithFullStop("Die Option --pdf gibt es nur im nativen Auswerter "
                                 "mietspiegel-auswertung; im Browser druckt die Seite")
            << '\n'
            << msr::cli::UsageText();
        return msr::cli::kUsageOrInputFailed;
    }
    StandardInputBuffer buffer;
    std::istream standardInput(&buffer);
    return msr::cli::RunEvaluator(arguments, standardInput, out, err, decimalSeparator);
}

} // namespace

extern "C" {

// Runs the evaluator on the arguments after the program name; returns the exit status.
// What it wrote is then in msr_standard_output() and msr_standard_error().
EMSCRIPTEN_KEEPALIVE int msr_run(int argc, const char* const* argv, const char* decimalSeparator) {
    std::ostringstream out;
    std::ostringstream err;
    int status = msr::cli::kUsageOrInputFailed;
    try {
        status = Run(std::vector<std::string>(argv, argv + argc), decimalSeparator, out, err);
    } catch (const std::exception& error) {
        err << msr::WithFullStop(error.what()) << '\n';
    } catch (...) {
        err << "Unerwarteter Fehler.\n";
    }
    Output() = {out.str(), err.str()};
    return status;
}

EMSCRIPTEN_KEEPALIVE const char* msr_standard_output() {
    return Output().out.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* msr_standard_error() {
    return Output().err.c_str();
}

} // extern "C"
