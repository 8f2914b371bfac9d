#include "batch/line_reader.h"

#include <algorithm>
#include <cstring>

namespace msr::batch {

LineReader::LineReader(std::istream& in, std::size_t longest)
    : in_(in), longest_(longest), block_(std::size_t{1} << 16) {}

bool LineReader::next(std::string_view& line, std::uint64_t& consumed) {
    pieces_.clear();
    consumed = 0;
    for (;;) {
        if (begin_ == end_ && !fill()) {
            line = pieces_;
            return consumed > 0; // the last line may lack its line feed
        }
        const char* start = block_.data() + begin_;
        const std::size_t available = end_ - begin_;
        const auto* lineFeed = static_cast<const char*>(std::memchr(start, '\n', available));
        const std::size_t length =
            lineFeed ? static_cast<std::size_t>(lineFeed - start) : available;
        const std::size_t taken = lineFeed ? length + 1 : length;
        begin_ += taken;
        const bool whole = consumed == 0 && lineFeed;
        consumed += taken;
        if (whole) { // the usual case: the line lies in the block, and is not copied
            line = std::string_view(start, std::min(length, longest_));
            return true;
        }
        if (pieces_.size() < longest_)
            pieces_.append(start, std::min(length, longest_ - pieces_.size()));
        if (lineFeed) {
            line = pieces_;
            return true;
        }
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

} // namespace msr::batch
