#pragma once

#include <filesystem>

namespace msr::cli {

// A file of this run's own (the new output beside the old, a workbook being written): made
// readable by its owner alone, as it holds every case number, and removed when the run
// ends, also when Ctrl+C (SIGINT) or a kill (SIGTERM) ends it.
class TemporaryFile {
public:
    // Creates the file, empty; good() false where it cannot be created.
    explicit TemporaryFile(std::filesystem::path path);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::filesystem::path& path() const { return path_; }
    bool good() const { return slot_ >= 0; }
    // The file is kept (renamed into place): no longer removed.
    void release();

private:
    std::filesystem::path path_;
    int slot_ = -1;
};

} // namespace msr::cli
