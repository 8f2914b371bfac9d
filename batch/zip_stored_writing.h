#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace msr::batch {

// The CRC-32 of zip archives (polynomial 0xEDB88320), continued from crc over bytes.
std::uint32_t Crc32(std::uint32_t crc, std::string_view bytes);

// A zip archive of stored (uncompressed) entries, written entry by entry to a seekable
// stream: an entry's bytes go out as they come, and once it ends its local header is
// patched with the CRC and the sizes, so memory stays flat over any size of entry. Every
// entry carries the same fixed time, so that the same content gives the same archive.
// Entries and archive stay below 4 GiB (no Zip64): beyond, writing fails.
class StoredZipWriter {
public:
    explicit StoredZipWriter(std::ostream& out) : out_(out) {}

    // Begins an entry of this name (UTF-8); the one before it must have ended.
    bool beginEntry(std::string_view name);
    bool write(std::string_view bytes);
    bool endEntry();
    // The whole entry at once.
    bool addEntry(std::string_view name, std::string_view bytes);
    // The central directory and its end; the archive is complete when it returns true.
    bool finish();

    bool good() const { return good_ && out_.good(); }

private:
    struct Entry {
        std::string name;
        std::uint32_t crc = 0;
        std::uint64_t size = 0;
        std::uint64_t offset = 0; // of its local header
    };
    bool fail();
    // Writes bytes of the archive as they are.
    bool put(std::string_view bytes);

    std::ostream& out_;
    std::vector<Entry> entries_;
    std::uint64_t position_ = 0; // bytes written from the archive's start
    std::uint64_t start_ = 0;    // the stream's position at the archive's start
    bool started_ = false;
    bool inEntry_ = false;
    bool good_ = true;
};

} // namespace msr::batch
