#include "cli/line_reader.h"

#include <algorithm>
#include <cstring>

namespace msr::cli {

LineReader::LineReader(std::istream& in, std::size_t longest)
    : in_(in), longest_(longest), block_(std::size_t{1} << 16) {}

bool LineReader::next(std::string& line, std::uint64_t& consumed) {
    line.clear();
    consumed = 0;
    for (;;) {
        if (begin_ == end_ && !fill())
            return consumed > 0; // the last line may lack its line feed
        const char* start = block_.data() + begin_;
        const std::size_t available = end_ - begin_;
        const auto* lineFeed = static_cast<const char*>(std::memchr(start, '\n', available));
        const std::size_t length =
            lineFeed ? static_cast<std::size_t>(lineFeed - start) : available;
        if (line.size() < longest_)
            line.append(start, std::min(length, longest_ - line.size()));
        const std::size_t taken = lineFeed ? length + 1 : length;
        begin_ += taken;
        consumed += taken;
        if (lineFeed)
            return true;
    }
}

// Waits for at least one byte, then takes whatever else the stream has ready.
bool LineReader::fill() {
    if (in_.peek() == std::istream::traits_type::eof())
        return false;
    const std::streamsize read =
        in_.readsome(block_.data(), static_cast<std::streamsize>(block_.size()));
    begin_ = 0;
    end_ = static_cast<std::size_t>(std::max<std::streamsize>(read, 0));
    return end_ > 0;
}

} // namespace msr::cli
