#include "cli/temporary_file.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace msr::cli {
namespace {

// The paths a signal removes: fixed buffers, since a signal handler may only call what is
// safe there (unlink, raise).
constexpr int kSlots = 4;
constexpr std::size_t kLongestPath = 4096;
char gPaths[kSlots][kLongestPath];
volatile std::sig_atomic_t gUsed[kSlots];

extern "C" void RemoveAndEnd(int signal) {
    for (int i = 0; i < kSlots; ++i)
        if (gUsed[i])
            unlink(gPaths[i]);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void ListenOnce() {
    static const bool listening = [] {
        std::signal(SIGINT, RemoveAndEnd);
        std::signal(SIGTERM, RemoveAndEnd);
        return true;
    }();
    (void)listening;
}

} // namespace

TemporaryFile::TemporaryFile(std::filesystem::path path) : path_(std::move(path)) {
    const std::string name = path_.string();
    if (name.size() >= kLongestPath)
        return;
    for (int i = 0; i < kSlots && slot_ < 0; ++i)
        if (!gUsed[i])
            slot_ = i;
    if (slot_ < 0)
        return;
    const int file = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (file < 0) {
        slot_ = -1;
        return;
    }
    close(file);
    std::memcpy(gPaths[slot_], name.c_str(), name.size() + 1);
    gUsed[slot_] = 1;
    ListenOnce();
}

TemporaryFile::~TemporaryFile() {
    if (slot_ < 0)
        return;
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
    gUsed[slot_] = 0;
}

void TemporaryFile::release() {
    if (slot_ >= 0)
        gUsed[slot_] = 0;
    slot_ = -1;
}

} // namespace msr::cli
