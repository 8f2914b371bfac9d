#include "batch/zip_writing.h"

#include <array>
#include <limits>

namespace msr::batch {
namespace {

// Eight tables, so that the checksum takes eight bytes a step (a workbook's sheet runs to a
// gigabyte): table k gives the checksum of a byte followed by k zero bytes.
using CrcTables = std::array<std::array<std::uint32_t, 256>, 8>;

constexpr CrcTables MakeCrcTables() {
    CrcTables tables{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        tables[0][n] = c;
    }
    for (std::size_t k = 1; k < 8; ++k)
        for (std::uint32_t n = 0; n < 256; ++n)
            tables[k][n] = tables[0][tables[k - 1][n] & 0xFF] ^ (tables[k - 1][n] >> 8);
    return tables;
}

constexpr CrcTables kCrcTables = MakeCrcTables();
constexpr const std::array<std::uint32_t, 256>& kCrcTable = kCrcTables[0];

constexpr std::uint64_t kLargest = std::numeric_limits<std::uint32_t>::max();
constexpr std::uint16_t kVersion = 20;      // 2.0: deflated entries in folders
constexpr std::uint16_t kUtf8Names = 0x800; // general purpose flag 11
constexpr std::uint16_t kDosTime = 0;       // 00:00:00
constexpr std::uint16_t kDosDate = 0x21;    // 1 January 1980

void Put16(std::string& bytes, std::uint64_t value) {
    bytes += static_cast<char>(value & 0xFF);
    bytes += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& bytes, std::uint64_t value) {
    Put16(bytes, value & 0xFFFF);
    Put16(bytes, (value >> 16) & 0xFFFF);
}

// The fields from "version needed" to the sizes, which the local header and the central
// directory share.
void PutCommon(std::string& bytes, std::uint16_t method, std::uint32_t crc,
               std::uint64_t compressedSize, std::uint64_t size) {
    Put16(bytes, kVersion);
    Put16(bytes, kUtf8Names);
    Put16(bytes, method);
    Put16(bytes, kDosTime);
    Put16(bytes, kDosDate);
    Put32(bytes, crc);
    Put32(bytes, compressedSize);
    Put32(bytes, size);
}

} // namespace

std::uint32_t Crc32(std::uint32_t crc, std::string_view bytes) {
    crc = ~crc;
    const auto byte = [&](std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at]));
    };
    std::size_t at = 0;
    for (; at + 8 <= bytes.size(); at += 8) {
        const std::uint32_t low =
            crc ^ (byte(at) | byte(at + 1) << 8 | byte(at + 2) << 16 | byte(at + 3) << 24);
        const std::uint32_t high =
            byte(at + 4) | byte(at + 5) << 8 | byte(at + 6) << 16 | byte(at + 7) << 24;
        crc = kCrcTables[7][low & 0xFF] ^ kCrcTables[6][low >> 8 & 0xFF] ^
              kCrcTables[5][low >> 16 & 0xFF] ^ kCrcTables[4][low >> 24] ^
              kCrcTables[3][high & 0xFF] ^ kCrcTables[2][high >> 8 & 0xFF] ^
              kCrcTables[1][high >> 16 & 0xFF] ^ kCrcTables[0][high >> 24];
    }
    for (; at < bytes.size(); ++at)
        crc = kCrcTable[(crc ^ byte(at)) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

bool ZipWriter::fail() {
    good_ = false;
    return false;
}

bool ZipWriter::beginEntry(std::string_view name) {
    if (!good() || inEntry_ || name.size() > 0xFFFF)
        return fail();
    if (!started_) {
        const std::streamoff start = out_.tellp();
        if (start < 0)
            return fail(); // not seekable
        start_ = static_cast<std::uint64_t>(start);
        started_ = true;
    }
    Entry entry;
    entry.name = std::string(name);
    entry.offset = position_;
    std::string header;
    Put32(header, 0x04034B50);
    PutCommon(header, static_cast<std::uint16_t>(method_), 0, 0, 0); // patched by endEntry()
    Put16(header, name.size());
    Put16(header, 0); // no extra field
    header += name;
    entries_.push_back(std::move(entry));
    inEntry_ = true;
    if (method_ == Method::Deflated)
        deflater_.emplace();
    return put(header);
}

bool ZipWriter::write(std::string_view bytes) {
    if (!good() || !inEntry_)
        return fail();
    Entry& entry = entries_.back();
    entry.crc = Crc32(entry.crc, bytes);
    entry.size += bytes.size();
    if (method_ == Method::Stored) {
        entry.compressedSize += bytes.size();
        return put(bytes);
    }
    deflater_->write(bytes, compressed_);
    return putCompressed(compressed_);
}

bool ZipWriter::putCompressed(std::string& bytes) {
    entries_.back().compressedSize += bytes.size();
    const bool written = put(bytes);
    bytes.clear();
    return written;
}

bool ZipWriter::put(std::string_view bytes) {
    position_ += bytes.size();
    if (position_ > kLargest)
        return fail();
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return good();
}

bool ZipWriter::endEntry() {
    if (!good() || !inEntry_)
        return fail();
    inEntry_ = false;
    if (method_ == Method::Deflated) {
        deflater_->finish(compressed_);
        deflater_.reset();
        if (!putCompressed(compressed_))
            return false;
    }
    const Entry& entry = entries_.back();
    std::string sizes;
    Put32(sizes, entry.crc);
    Put32(sizes, entry.compressedSize);
    Put32(sizes, entry.size);
    constexpr std::uint64_t kCrcAt = 14; // signature, version, flags, method, time, date
    out_.seekp(static_cast<std::streamoff>(start_ + entry.offset + kCrcAt));
    out_.write(sizes.data(), static_cast<std::streamsize>(sizes.size()));
    out_.seekp(static_cast<std::streamoff>(start_ + position_));
    return good();
}

bool ZipWriter::addEntry(std::string_view name, std::string_view bytes) {
    return beginEntry(name) && write(bytes) && endEntry();
}

bool ZipWriter::finish() {
    if (!good() || inEntry_ || entries_.size() > 0xFFFF)
        return fail();
    std::string directory;
    for (const Entry& entry : entries_) {
        Put32(directory, 0x02014B50);
        Put16(directory, kVersion); // made by: MS-DOS attributes
        PutCommon(directory, static_cast<std::uint16_t>(method_), entry.crc, entry.compressedSize,
                  entry.size);
        Put16(directory, entry.name.size());
        Put16(directory, 0); // extra field
        Put16(directory, 0); // comment
        Put16(directory, 0); // disk
        Put16(directory, 0); // internal attributes
        Put32(directory, 0); // external attributes
        Put32(directory, entry.offset);
        directory += entry.name;
    }
    const std::uint64_t directoryAt = position_;
    std::string end;
    Put32(end, 0x06054B50);
    Put16(end, 0); // this disk
    Put16(end, 0); // the directory's disk
    Put16(end, entries_.size());
    Put16(end, entries_.size());
    Put32(end, directory.size());
    Put32(end, directoryAt);
    Put16(end, 0); // comment
    if (!put(directory) || !put(end))
        return false;
    out_.flush();
    return good();
}

} // namespace msr::batch
