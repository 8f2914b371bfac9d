#include "cli/zlib_inflating.h"

#include <zlib.h>

#include <limits>

namespace msr::cli {

std::optional<std::string> InflateWithZlib(const batch::ArchiveEntry& entry,
                                           std::string_view compressed) {
    constexpr auto kLargest = std::numeric_limits<uInt>::max();
    if (compressed.size() > kLargest || entry.size > kLargest)
        return std::nullopt;
    std::string part(static_cast<std::size_t>(entry.size), '\0');
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) // raw deflate, as zip archives hold it
        return std::nullopt;
    // zlib reads through a pointer to non-const, but does not write through it.
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    stream.avail_in = static_cast<uInt>(compressed.size());
    stream.next_out = reinterpret_cast<Bytef*>(part.data());
    stream.avail_out = static_cast<uInt>(part.size());
    const int status = inflate(&stream, Z_FINISH);
    const bool whole = status == Z_STREAM_END && stream.total_out == entry.size;
    inflateEnd(&stream);
    if (!whole)
        return std::nullopt;
    return part;
}

} // namespace msr::cli
