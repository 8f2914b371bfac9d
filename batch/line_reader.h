#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace msr::batch {

// Reads a stream line by line, in blocks as large as the stream has ready: a batch of
// many lines costs few reads, and a line typed at a terminal is answered at once.
class LineReader {
public:
    // longest: the bytes of a line that are kept; the rest of a longer line is skipped,
    // so memory stays bounded whatever the input.
    LineReader(std::istream& in, std::size_t longest);

    // The next line without its line feed, valid until the next call. False at the end of
    // the input or on a read error (then failed()). consumed counts the bytes read for it,
    // line feed included.
    bool next(std::string_view& line, std::uint64_t& consumed);
    bool failed() const { return in_.bad(); }

private:
    bool fill();

    std::istream& in_;
    std::size_t longest_;
    std::vector<char> block_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    std::string pieces_; // a line that spans blocks
};

} // namespace msr::batch
