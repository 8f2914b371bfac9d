// The command-line evaluator's run, built for Node: the same options, outputs, refusals
// and exit codes as the native program. JavaScript hands in the arguments and what it
// knows of the process (the locale's decimal separator, the standard streams); the run
// reads and writes the standard streams itself, a piece at a time, as the native one does.
#include "cli/edition_files.h"
#include "cli/run.h"
#include "evaluation/answers/visible_text.h"
#include "evaluation/entry.h"
#include "evaluation/rent_index/admission.h"

#include <emscripten/emscripten.h>

#include <array>
#include <cstdint>
#include <exception>
#include <istream>
#include <optional>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

// clang-format off (it would split JavaScript's operators)

// Reads up to size bytes of a file descriptor into buffer: the count, 0 at its end, -1 on
// a read error. A stream that is not ready yet (a terminal, a pipe) is waited for.
EM_JS(int, ReadDescriptor, (int descriptor, char* buffer, int size), {
    const fs = require('fs');
    for (;;) {
        try {
            return fs.readSync(descriptor, HEAPU8, buffer, size, null);
        } catch (error) {
            if (error.code == 'EAGAIN') {
                Atomics.wait(new Int32Array(new SharedArrayBuffer(4)), 0, 0, 5);
                continue;
            }
            if (error.code == 'EOF')
                return 0;
            return -1;
        }
    }
});

// Writes size bytes to a file descriptor: 0 when all is written, -1 on a write error. A
// reader that has gone away ends the process at once and quietly, with the status of a
// native program that the broken pipe's signal ended.
EM_JS(int, WriteDescriptor, (int descriptor, const char* data, int size), {
    const fs = require('fs');
    for (let at = 0; at < size;) {
        try {
            at += fs.writeSync(descriptor, HEAPU8, data + at, size - at);
        } catch (error) {
            if (error.code == 'EAGAIN') {
                Atomics.wait(new Int32Array(new SharedArrayBuffer(4)), 0, 0, 5);
                continue;
            }
            if (error.code == 'EPIPE')
                process.exit(128 + 13);
            return -1;
        }
    }
    return 0;
});

// clang-format on

namespace {

constexpr int kStandardInput = 0;
constexpr int kStandardOutput = 1;
constexpr int kStandardError = 2;

// A standard stream that was closed when the process started: Node puts /dev/null in its
// place, where the native program meets a closed descriptor. Its reads and writes fail.
bool WasClosed(int closedStreams, int descriptor) {
    return (closedStreams >> descriptor & 1) != 0;
}

class InputDescriptorBuffer : public std::streambuf {
public:
    InputDescriptorBuffer(int descriptor, bool closed) : descriptor_(descriptor), closed_(closed) {}

protected:
    int_type underflow() override {
        const int read =
            closed_ ? -1
                    : ReadDescriptor(descriptor_, buffer_.data(), static_cast<int>(buffer_.size()));
        if (read < 0)
            throw std::ios_base::failure("Die Eingabe kann nicht gelesen werden");
        if (read == 0)
            return traits_type::eof();
        setg(buffer_.data(), buffer_.data(), buffer_.data() + read);
        return traits_type::to_int_type(buffer_[0]);
    }

private:
    int descriptor_;
    bool closed_;
    std::array<char, 1 << 16> buffer_{};
};

class OutputDescriptorBuffer : public std::streambuf {
public:
    OutputDescriptorBuffer(int descriptor, bool closed) : descriptor_(descriptor), closed_(closed) {
        setp(buffer_.data(), buffer_.data() + buffer_.size());
    }

protected:
    int_type overflow(int_type c) override {
        if (sync() != 0)
            return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof()))
            sputc(traits_type::to_char_type(c));
        return traits_type::not_eof(c);
    }

    int sync() override {
        const int size = static_cast<int>(pptr() - pbase());
        if (size == 0)
            return 0;
        setp(buffer_.data(), buffer_.data() + buffer_.size());
        return closed_ || WriteDescriptor(descriptor_, buffer_.data(), size) != 0 ? -1 : 0;
    }

private:
    int descriptor_;
    bool closed_;
    std::array<char, 1 << 16> buffer_{};
};

} // namespace

extern "C" {

// Runs the evaluator on the arguments after the program name and returns the exit status.
// closedStreams: bit n set when descriptor n was closed at the start; progressOnError: the
// standard error is a terminal and the standard output is not; standardInputBytes: the
// size of the standard input when it is a regular file, else 0; xdgDataDirs: the process's
// XDG_DATA_DIRS, where installed editions are looked for; fileCreationMask: the process's
// umask.
EMSCRIPTEN_KEEPALIVE int msr_run(int argc, const char* const* argv, const char* decimalSeparator,
                                 int closedStreams, int progressOnError, double standardInputBytes,
                                 const char* xdgDataDirs, int fileCreationMask) {
    InputDescriptorBuffer inBuffer(kStandardInput, WasClosed(closedStreams, kStandardInput));
    OutputDescriptorBuffer outBuffer(kStandardOutput, WasClosed(closedStreams, kStandardOutput));
    OutputDescriptorBuffer errBuffer(kStandardError, WasClosed(closedStreams, kStandardError));
    std::istream in(&inBuffer);
    std::ostream out(&outBuffer);
    std::ostream err(&errBuffer);
    err << std::unitbuf;

    msr::cli::Surroundings surroundings;
    surroundings.decimalSeparator = decimalSeparator;
    surroundings.inflate = msr::batch::InflatePortably; // streamed, in plain C++
    surroundings.installedEditionFolders = msr::cli::InstalledEditionFolders(xdgDataDirs);
    surroundings.fileCreationMask = static_cast<unsigned>(fileCreationMask);
    if (progressOnError)
        surroundings.progress = {&err, static_cast<std::uint64_t>(standardInputBytes)};
    int status = msr::cli::kUsageOrInputFailed;
    try {
        status = msr::cli::RunEvaluator(std::vector<std::string>(argv, argv + argc), in, out, err,
                                        surroundings);
    } catch (...) {
        err << msr::WithFullStop(
                   msr::WithVisibleControls(msr::FailureMessage(std::current_exception())))
            << '\n';
    }
    out.flush();
    return status;
}

} // extern "C"
