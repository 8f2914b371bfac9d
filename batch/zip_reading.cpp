#include "batch/zip_reading.h"

#include "batch/zip_writing.h"

#include <algorithm>

namespace msr::batch {
namespace {

constexpr std::uint32_t kLocalHeaderSignature = 0x04034b50;
constexpr std::uint32_t kCentralHeaderSignature = 0x02014b50;
constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kZip64EndSignature = 0x06064b50;
constexpr std::uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kZip64LocatorSize = 20;
constexpr std::size_t kZip64EndSize = 56;
constexpr std::size_t kCentralHeaderSize = 46;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::size_t kLongestComment = 0xFFFF;
constexpr std::uint16_t kZip64Extra = 0x0001;
// A workbook lists a few dozen parts; a directory beyond these is none of a spreadsheet's.
constexpr std::uint64_t kLargestDirectory = std::uint64_t{16} << 20;
constexpr std::uint64_t kMostEntries = 100000;

constexpr const char* kDamaged = "Die Arbeitsmappe ist beschädigt";
constexpr const char* kTooLarge = "Die Arbeitsmappe ist zu groß";

std::uint64_t Little(std::string_view bytes, std::size_t at, int width) {
    std::uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

bool ReadRange(RandomAccessBytes& bytes, std::uint64_t at, std::size_t count, std::string& out) {
    out.resize(count);
    return bytes.readAt(at, out.data(), count);
}

// Where the end of the central directory record begins in tail; npos when there is none.
std::size_t FindEnd(std::string_view tail) {
    if (tail.size() < kEndSize)
        return std::string_view::npos;
    for (std::size_t at = tail.size() - kEndSize + 1; at-- > 0;)
        if (Little(tail, at, 4) == kEndSignature)
            return at;
    return std::string_view::npos;
}

// The directory's place, size and count; ZIP64's record where the end record points to it.
struct Directory {
    std::uint64_t at = 0;
    std::uint64_t size = 0;
    std::uint64_t count = 0;
};

std::optional<Directory> FindDirectory(RandomAccessBytes& bytes, std::string& why) {
    const std::uint64_t tailSize =
        std::min<std::uint64_t>(bytes.size(), kEndSize + kLongestComment + kZip64LocatorSize);
    std::string tail;
    if (!ReadRange(bytes, bytes.size() - tailSize, static_cast<std::size_t>(tailSize), tail)) {
        why = kDamaged;
        return std::nullopt;
    }
    const std::size_t end = FindEnd(tail);
    if (end == std::string_view::npos) {
        why = kDamaged;
        return std::nullopt;
    }
    Directory directory{Little(tail, end + 16, 4), Little(tail, end + 12, 4),
                        Little(tail, end + 10, 2)};
    const bool locator = end >= kZip64LocatorSize &&
                         Little(tail, end - kZip64LocatorSize, 4) == kZip64LocatorSignature;
    if (locator) {
        const std::uint64_t record = Little(tail, end - kZip64LocatorSize + 8, 8);
        std::string zip64;
        if (!ReadRange(bytes, record, kZip64EndSize, zip64) ||
            Little(zip64, 0, 4) != kZip64EndSignature) {
            why = kDamaged;
            return std::nullopt;
        }
        directory = {Little(zip64, 48, 8), Little(zip64, 40, 8), Little(zip64, 32, 8)};
    }
    if (directory.count > kMostEntries || directory.size > kLargestDirectory) {
        why = kTooLarge;
        return std::nullopt;
    }
    if (directory.at > bytes.size() || directory.size > bytes.size() - directory.at) {
        why = kDamaged;
        return std::nullopt;
    }
    return directory;
}

// An entry's sizes and place that its header gives as 0xFFFFFFFF stand in its ZIP64 extra
// field, in this order.
bool ApplyZip64Extra(std::string_view extra, ArchiveEntry& entry) {
    while (extra.size() >= 4) {
        const auto id = static_cast<std::uint16_t>(Little(extra, 0, 2));
        const auto size = static_cast<std::size_t>(Little(extra, 2, 2));
        if (size > extra.size() - 4)
            return false;
        if (id == kZip64Extra) {
            std::string_view field = extra.substr(4, size);
            for (std::uint64_t* value : {&entry.size, &entry.compressedSize, &entry.localHeader}) {
                if (*value != 0xFFFFFFFF)
                    continue;
                if (field.size() < 8)
                    return false;
                *value = Little(field, 0, 8);
                field.remove_prefix(8);
            }
            return true;
        }
        extra.remove_prefix(4 + size);
    }
    return true;
}

// An entry's stored bytes, read from its place in the archive.
class RangeStream : public ByteStream {
public:
    RangeStream(RandomAccessBytes& bytes, std::uint64_t at, std::uint64_t size)
        : bytes_(bytes), at_(at), left_(size) {}

    std::size_t read(char* buffer, std::size_t capacity) override {
        const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(capacity, left_));
        if (count == 0 || failed_)
            return 0;
        if (!bytes_.readAt(at_, buffer, count)) {
            failed_ = true;
            return 0;
        }
        at_ += count;
        left_ -= count;
        return count;
    }
    bool failed() const override { return failed_; }

private:
    RandomAccessBytes& bytes_;
    std::uint64_t at_;
    std::uint64_t left_;
    bool failed_ = false;
};

// An entry's bytes, held to its size and checksum: beyond its size it fails at once, so a
// part that inflates to more than it says is never inflated whole.
class CheckedEntry : public ByteStream {
public:
    CheckedEntry(std::unique_ptr<RangeStream> stored, const Inflater* inflate,
                 const ArchiveEntry& entry)
        : stored_(std::move(stored)), inflated_(inflate ? (*inflate)(*stored_) : nullptr),
          size_(entry.size), crc_(entry.crc) {}

    std::size_t read(char* buffer, std::size_t capacity) override {
        if (failed_ || done_ || capacity == 0)
            return 0;
        ByteStream& source = inflated_ ? *inflated_ : *stored_;
        // One byte beyond the size is asked for, to find a part longer than it says.
        const auto wanted =
            static_cast<std::size_t>(std::min<std::uint64_t>(capacity, size_ - read_ + 1));
        const std::size_t count = source.read(buffer, wanted);
        read_ += count;
        if (read_ > size_)
            return fail();
        runningCrc_ = Crc32(runningCrc_, std::string_view(buffer, count));
        if (count == 0) {
            done_ = true;
            if (source.failed() || stored_->failed() || read_ != size_ || !checksumHolds())
                return fail();
        }
        return count;
    }
    bool failed() const override { return failed_; }

private:
    std::size_t fail() {
        failed_ = true;
        return 0;
    }

    bool checksumHolds() const {
#if defined(FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION)
        return true;
#else
        return runningCrc_ == crc_;
#endif
    }

    std::unique_ptr<RangeStream> stored_;
    std::unique_ptr<ByteStream> inflated_;
    std::uint64_t size_;
    std::uint32_t crc_;
    std::uint64_t read_ = 0;
    std::uint32_t runningCrc_ = 0;
    bool failed_ = false;
    bool done_ = false;
};

} // namespace

bool StartsAsZipArchive(std::string_view bytes) {
    return bytes.size() >= 4 && Little(bytes, 0, 4) == kLocalHeaderSignature;
}

std::optional<ZipArchive> ZipArchive::Open(RandomAccessBytes& bytes, std::string& why) {
    const std::optional<Directory> directory = FindDirectory(bytes, why);
    if (!directory)
        return std::nullopt;
    std::string listing;
    if (!ReadRange(bytes, directory->at, static_cast<std::size_t>(directory->size), listing)) {
        why = kDamaged;
        return std::nullopt;
    }
    ZipArchive archive;
    archive.bytes_ = &bytes;
    std::size_t at = 0;
    for (std::uint64_t i = 0; i < directory->count; ++i) {
        if (at + kCentralHeaderSize > listing.size() ||
            Little(listing, at, 4) != kCentralHeaderSignature) {
            why = kDamaged;
            return std::nullopt;
        }
        ArchiveEntry entry;
        entry.encrypted = (Little(listing, at + 8, 2) & 1) != 0;
        entry.method = static_cast<std::uint16_t>(Little(listing, at + 10, 2));
        entry.crc = static_cast<std::uint32_t>(Little(listing, at + 16, 4));
        entry.compressedSize = Little(listing, at + 20, 4);
        entry.size = Little(listing, at + 24, 4);
        const auto nameSize = static_cast<std::size_t>(Little(listing, at + 28, 2));
        const auto extraSize = static_cast<std::size_t>(Little(listing, at + 30, 2));
        const auto commentSize = static_cast<std::size_t>(Little(listing, at + 32, 2));
        entry.localHeader = Little(listing, at + 42, 4);
        const std::size_t rest = nameSize + extraSize + commentSize;
        if (at + kCentralHeaderSize + rest > listing.size() ||
            !ApplyZip64Extra(
                std::string_view(listing).substr(at + kCentralHeaderSize + nameSize, extraSize),
                entry)) {
            why = kDamaged;
            return std::nullopt;
        }
        entry.name.assign(listing, at + kCentralHeaderSize, nameSize);
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

std::unique_ptr<ByteStream> ZipArchive::open(const ArchiveEntry& entry, const Inflater& inflate,
                                             std::string& why) const {
    if (entry.encrypted) {
        why = "Die Arbeitsmappe ist mit einem Kennwort geschützt";
        return nullptr;
    }
    if (entry.size > kLargestArchivePart) {
        why = kTooLarge;
        return nullptr;
    }
    std::string header;
    if (!ReadRange(*bytes_, entry.localHeader, kLocalHeaderSize, header) ||
        Little(header, 0, 4) != kLocalHeaderSignature) {
        why = kDamaged;
        return nullptr;
    }
    const std::uint64_t data =
        entry.localHeader + kLocalHeaderSize + Little(header, 26, 2) + Little(header, 28, 2);
    const bool stored = entry.method == 0 && entry.size == entry.compressedSize;
    if (data > bytes_->size() || entry.compressedSize > bytes_->size() - data ||
        !(stored || (entry.method == 8 && inflate))) {
        why = kDamaged;
        return nullptr;
    }
    return std::make_unique<CheckedEntry>(
        std::make_unique<RangeStream>(*bytes_, data, entry.compressedSize),
        stored ? nullptr : &inflate, entry);
}

bool ReadSmallEntry(const ZipArchive& archive, const ArchiveEntry& entry, const Inflater& inflate,
                    std::uint64_t limit, std::string& text, std::string& why) {
    text.clear();
    if (entry.size > limit) {
        why = kTooLarge;
        return false;
    }
    const std::unique_ptr<ByteStream> stream = archive.open(entry, inflate, why);
    if (!stream)
        return false;
    text.resize(static_cast<std::size_t>(entry.size) + 1);
    std::size_t filled = 0;
    for (std::size_t count; (count = stream->read(text.data() + filled, text.size() - filled)) > 0;)
        filled += count;
    text.resize(filled);
    if (stream->failed()) {
        why = kDamaged;
        return false;
    }
    return true;
}

} // namespace msr::batch
