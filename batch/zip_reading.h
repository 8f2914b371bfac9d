#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace msr::batch {

// One file in a zip archive, as its central directory lists it.
struct ArchiveEntry {
    std::string name;
    std::uint16_t method = 0; // 0 stored, 8 deflated
    bool encrypted = false;
    std::uint32_t crc = 0;
    std::uint64_t compressedSize = 0;
    std::uint64_t size = 0;
    std::uint64_t localHeader = 0; // where its local header begins
};

// Inflates a deflated entry's bytes (raw deflate, no header) to exactly size bytes;
// nullopt when they are no deflate stream of that size. Each front end has its own: zlib
// natively, Node's zlib, or the browser's DecompressionStream ahead of the run.
using Inflater = std::function<std::optional<std::string>(const ArchiveEntry& entry,
                                                          std::string_view compressed)>;

// The largest part of a workbook that is unpacked: a sheet of a million rows of answers
// fits, an archive made to fill the memory does not.
constexpr std::uint64_t kLargestArchivePart = std::uint64_t{512} << 20;

// A zip archive held whole in memory (a workbook: .xlsx, .ods), read from its central
// directory. Archives over 4 GiB (ZIP64) and spanned ones are none of a spreadsheet's.
class ZipArchive {
public:
    // The archive's entries; nullopt and why (German, without full stop) when bytes hold no
    // archive that can be read.
    static std::optional<ZipArchive> Open(std::string_view bytes, std::string& why);

    const std::vector<ArchiveEntry>& entries() const { return entries_; }
    const ArchiveEntry* find(std::string_view name) const;

    // The entry's bytes, unpacked and checked against its checksum; nullopt and why when
    // they cannot be.
    std::optional<std::string> read(const ArchiveEntry& entry, const Inflater& inflate,
                                    std::string& why) const;
    // The entry's bytes as they stand in the archive; empty when it points outside.
    std::string_view stored(const ArchiveEntry& entry) const;

private:
    std::string_view bytes_;
    std::vector<ArchiveEntry> entries_;
};

// Whether bytes begin as a zip archive does.
bool StartsAsZipArchive(std::string_view bytes);

} // namespace msr::batch
