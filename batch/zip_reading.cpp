#include "batch/zip_reading.h"

#include "batch/zip_stored_writing.h"

namespace msr::batch {
namespace {

constexpr std::uint32_t kLocalHeaderSignature = 0x04034b50;
constexpr std::uint32_t kCentralHeaderSignature = 0x02014b50;
constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kCentralHeaderSize = 46;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::size_t kLongestComment = 0xFFFF;

constexpr const char* kDamaged = "Die Arbeitsmappe ist beschädigt";

std::uint32_t Little(std::string_view bytes, std::size_t at, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

// Where the end of the central directory record begins; npos when there is none.
std::size_t FindEnd(std::string_view bytes) {
    if (bytes.size() < kEndSize)
        return std::string_view::npos;
    const std::size_t earliest =
        bytes.size() - kEndSize > kLongestComment ? bytes.size() - kEndSize - kLongestComment : 0;
    for (std::size_t at = bytes.size() - kEndSize + 1; at-- > earliest;)
        if (Little(bytes, at, 4) == kEndSignature)
            return at;
    return std::string_view::npos;
}

} // namespace

bool StartsAsZipArchive(std::string_view bytes) {
    return bytes.size() >= 4 && Little(bytes, 0, 4) == kLocalHeaderSignature;
}

std::optional<ZipArchive> ZipArchive::Open(std::string_view bytes, std::string& why) {
    const std::size_t end = FindEnd(bytes);
    if (end == std::string_view::npos) {
        why = kDamaged;
        return std::nullopt;
    }
    const std::uint32_t count = Little(bytes, end + 10, 2);
    const std::uint32_t directorySize = Little(bytes, end + 12, 4);
    const std::uint32_t directory = Little(bytes, end + 16, 4);
    if (count == 0xFFFF || directory == 0xFFFFFFFF) {
        why = "Die Arbeitsmappe ist zu groß";
        return std::nullopt;
    }
    if (std::uint64_t{directory} + directorySize > end) {
        why = kDamaged;
        return std::nullopt;
    }
    ZipArchive archive;
    archive.bytes_ = bytes;
    std::size_t at = directory;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (at + kCentralHeaderSize > end || Little(bytes, at, 4) != kCentralHeaderSignature) {
            why = kDamaged;
            return std::nullopt;
        }
        ArchiveEntry entry;
        entry.encrypted = (Little(bytes, at + 8, 2) & 1) != 0;
        entry.method = static_cast<std::uint16_t>(Little(bytes, at + 10, 2));
        entry.crc = Little(bytes, at + 16, 4);
        entry.compressedSize = Little(bytes, at + 20, 4);
        entry.size = Little(bytes, at + 24, 4);
        const std::size_t nameSize = Little(bytes, at + 28, 2);
        const std::size_t rest = nameSize + Little(bytes, at + 30, 2) + Little(bytes, at + 32, 2);
        entry.localHeader = Little(bytes, at + 42, 4);
        if (at + kCentralHeaderSize + rest > end) {
            why = kDamaged;
            return std::nullopt;
        }
        entry.name.assign(bytes.substr(at + kCentralHeaderSize, nameSize));
        archive.entries_.push_back(std::move(entry));
        at += kCentralHeaderSize + rest;
    }
    return archive;
}

const ArchiveEntry* ZipArchive::find(std::string_view name) const {
    for (const ArchiveEntry& entry : entries_)
        if (entry.name == name)
            return &entry;
    return nullptr;
}

std::string_view ZipArchive::stored(const ArchiveEntry& entry) const {
    const std::uint64_t header = entry.localHeader;
    if (header + kLocalHeaderSize > bytes_.size() ||
        Little(bytes_, header, 4) != kLocalHeaderSignature)
        return {};
    const std::uint64_t data =
        header + kLocalHeaderSize + Little(bytes_, header + 26, 2) + Little(bytes_, header + 28, 2);
    if (data + entry.compressedSize > bytes_.size())
        return {};
    return bytes_.substr(data, entry.compressedSize);
}

std::optional<std::string> ZipArchive::read(const ArchiveEntry& entry, const Inflater& inflate,
                                            std::string& why) const {
    if (entry.encrypted) {
        why = "Die Arbeitsmappe ist mit einem Kennwort geschützt";
        return std::nullopt;
    }
    if (entry.size > kLargestArchivePart) {
        why = "Die Arbeitsmappe ist zu groß";
        return std::nullopt;
    }
    const std::string_view bytes = stored(entry);
    std::optional<std::string> part;
    if (bytes.size() != entry.compressedSize)
        part = std::nullopt;
    else if (entry.method == 0 && entry.size == entry.compressedSize)
        part.emplace(bytes);
    else if (entry.method == 8 && inflate)
        part = inflate(entry, bytes);
    if (!part || part->size() != entry.size || Crc32(0, *part) != entry.crc) {
        why = kDamaged;
        return std::nullopt;
    }
    return part;
}

} // namespace msr::batch
