#pragma once

#include "batch/byte_stream.h"
#include "batch/inflating.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace msr::batch {

// One file in a zip archive, as its central directory lists it (ZIP64 sizes and places
// included).
struct ArchiveEntry {
    std::string name;
    std::uint16_t method = 0; // 0 stored, 8 deflated
    bool encrypted = false;
    std::uint32_t crc = 0;
    std::uint64_t compressedSize = 0;
    std::uint64_t size = 0;
    std::uint64_t localHeader = 0; // where its local header begins
};

// The largest part of a workbook that is unpacked: the sheet of a workbook of a spreadsheet's
// 1,048,576 rows fits, an archive made to keep a reader busy for hours does not. The part is
// read as a stream, so memory does not grow with it.
constexpr std::uint64_t kLargestArchivePart = std::uint64_t{8} << 30;

// A zip archive (a workbook: .xlsx, .xlsm, .ods) read from its central directory, its
// entries streamed from the bytes as they are read; ZIP64 archives and entries written
// with data descriptors are read too. The bytes outlive it.
class ZipArchive {
public:
    // The archive's entries; nullopt and why (German, without full stop) when bytes hold no
    // archive that can be read.
    static std::optional<ZipArchive> Open(RandomAccessBytes& bytes, std::string& why);

    const std::vector<ArchiveEntry>& entries() const { return entries_; }
    const ArchiveEntry* find(std::string_view name) const;

    // The entry's bytes as a stream, inflated where deflated; the stream fails where they
    // do not inflate to exactly the entry's size or do not match its checksum. nullptr and
    // why where it cannot be opened (a password, a method of its own, outside the archive).
    std::unique_ptr<ByteStream> open(const ArchiveEntry& entry, const Inflater& inflate,
                                     std::string& why) const;

private:
    RandomAccessBytes* bytes_ = nullptr;
    std::vector<ArchiveEntry> entries_;
};

// Whether bytes begin as a zip archive does.
bool StartsAsZipArchive(std::string_view bytes);

// Reads a whole (small) entry into text, up to limit bytes; false and why where it cannot be
// read or is longer.
bool ReadSmallEntry(const ZipArchive& archive, const ArchiveEntry& entry, const Inflater& inflate,
                    std::uint64_t limit, std::string& text, std::string& why);

} // namespace msr::batch
