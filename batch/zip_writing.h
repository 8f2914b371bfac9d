#pragma once

#include "batch/deflating.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace msr::batch {

// The CRC-32 of zip archives (polynomial 0xEDB88320), continued from crc over bytes.
std::uint32_t Crc32(std::uint32_t crc, std::string_view bytes);

// A zip archive, written entry by entry to a seekable stream: an entry's bytes go out
// deflated (or stored) as they come, and once it ends its local header is patched with the
// CRC and the sizes, so memory stays flat over any size of entry. Every entry carries the
// same fixed time, so that the same content gives the same archive. Entries and archive
// stay below 4 GiB (no Zip64): beyond, writing fails.
class ZipWriter {
public:
    enum class Method : std::uint16_t { Stored = 0, Deflated = 8 };
    explicit ZipWriter(std::ostream& out, Method method = Method::Deflated)
        : out_(out), method_(method) {}

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
        std::uint64_t compressedSize = 0;
        std::uint64_t offset = 0; // of its local header
    };
    bool fail();
    // Writes bytes of the archive as they are.
    bool put(std::string_view bytes);

    // Writes an entry's bytes as its method makes them.
    bool putCompressed(std::string& bytes);

    std::ostream& out_;
    Method method_;
    std::optional<Deflater> deflater_;
    std::string compressed_; // the deflater's bytes, on their way out
    std::vector<Entry> entries_;
    std::uint64_t position_ = 0; // bytes written from the archive's start
    std::uint64_t start_ = 0;    // the stream's position at the archive's start
    bool started_ = false;
    bool inEntry_ = false;
    bool good_ = true;
};

} // namespace msr::batch
