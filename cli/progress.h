#pragma once

#include "batch/batch_progress.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

namespace msr::cli {

// How far a long batch run has come, on one line of a terminal that it rewrites:
// "12345 Zeilen ausgewertet" and, when the size of the input is known, " (42 %)". It
// speaks only once the run has taken a second, and then a few times a second, so a
// short run stays silent. Only for a terminal: whoever reads the error stream from a
// file or a pipe gets no progress.
class BatchProgress : public batch::BatchProgress {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    static constexpr std::chrono::milliseconds kQuietStart{1000};
    static constexpr std::chrono::milliseconds kInterval{250};

    // inputBytes: the size of what is left to read, or 0 when it is not known.
    explicit BatchProgress(std::ostream& terminal, std::uint64_t inputBytes = 0,
                           Clock clock = std::chrono::steady_clock::now);

    // One more line answered; bytes counts it with its line feed.
    void lineDone(std::uint64_t bytes) override;
    // Shows the final count and ends the line, if anything was shown at all.
    void finish() override;

private:
    void show();

    std::ostream& terminal_;
    std::uint64_t inputBytes_;
    Clock clock_;
    std::chrono::steady_clock::time_point nextShow_;
    std::uint64_t lines_ = 0;
    std::uint64_t bytes_ = 0;
    bool shown_ = false;
};

// Where progress may go: the error stream when it is a terminal and the output is not
// (else nowhere), and the size of the standard input when it is a regular file (else 0).
struct ProgressTerminal {
    std::ostream* terminal = nullptr;
    std::uint64_t standardInputBytes = 0;
};

// The process's own standard error and standard input, as above.
ProgressTerminal StandardErrorTerminal(std::ostream& standardError);

// The size of a regular file, 0 for anything else (a pipe, a device, a missing file).
std::uint64_t RegularFileBytes(const std::string& file);

} // namespace msr::cli
