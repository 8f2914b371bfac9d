#include "cli/progress.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>

namespace msr::cli {

BatchProgress::BatchProgress(std::ostream& terminal, std::uint64_t inputBytes, Clock clock)
    : terminal_(terminal), inputBytes_(inputBytes), clock_(std::move(clock)),
      nextShow_(clock_() + kQuietStart) {}

void BatchProgress::lineDone(std::uint64_t bytes) {
    ++lines_;
    bytes_ += bytes;
    const auto now = clock_();
    if (now < nextShow_)
        return;
    show();
    nextShow_ = now + kInterval;
}

void BatchProgress::finish() {
    if (!shown_)
        return;
    show();
    terminal_ << '\n' << std::flush;
}

void BatchProgress::show() {
    std::string line = "\r" + std::to_string(lines_) +
                       (lines_ == 1 ? " Zeile ausgewertet" : " Zeilen ausgewertet");
    if (inputBytes_ > 0) {
        // A file that grows while it is read must not show more than all of it.
        const std::uint64_t percent = std::min<std::uint64_t>(100, bytes_ * 100 / inputBytes_);
        line += " (" + std::to_string(percent) + " %)";
    }
    terminal_ << line << std::flush;
    shown_ = true;
}

ProgressTerminal StandardErrorTerminal(std::ostream& standardError) {
    ProgressTerminal progress;
    // Rows that scroll past on the same terminal would be torn apart by the progress line,
    // and show the progress themselves.
    if (!isatty(STDERR_FILENO) || isatty(STDOUT_FILENO))
        return progress;
    progress.terminal = &standardError;
    struct stat input {};
    if (fstat(STDIN_FILENO, &input) == 0 && S_ISREG(input.st_mode)) {
        // Input redirected from a file may start anywhere in it.
        const off_t at = lseek(STDIN_FILENO, 0, SEEK_CUR);
        if (at >= 0 && at <= input.st_size)
            progress.standardInputBytes = static_cast<std::uint64_t>(input.st_size - at);
    }
    return progress;
}

std::uint64_t RegularFileBytes(const std::string& file) {
    struct stat status {};
    if (stat(file.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return 0;
    return static_cast<std::uint64_t>(status.st_size);
}

} // namespace msr::cli
