#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace msr::batch {

// A raw deflate stream (RFC 1951, as a zip entry holds it), made of bytes as they come:
// matches found over a 32 KiB window, each block of symbols coded by its own Huffman codes.
// Memory stays at the window and one block of symbols, whatever the stream's length; the
// compressed bytes are appended to the caller's string, which it may empty at any time.
// Written for the workbooks this program writes, whose XML repeats itself row after row.
class Deflater {
public:
    Deflater();

    void write(std::string_view bytes, std::string& compressed);
    // The rest, and the final block; the stream is complete after it.
    void finish(std::string& compressed);

private:
    // A byte, or a match with the symbols of its length and distance, found once.
    struct Symbol {
        std::uint16_t literalOrLength; // a byte, or the length of a match
        std::uint16_t distance;        // 0 for a byte
        std::uint8_t lengthSymbol = 0;
        std::uint8_t distanceSymbol = 0;
    };

    // Codes the bytes held from position_ on; with finishing, up to the last byte, else as
    // long as a longest match still fits in what is held.
    void deflateHeld(bool finishing, std::string& compressed);
    void slideWindow();
    std::uint32_t hashAt(std::size_t at) const;
    void insert(std::size_t at);
    // The longest earlier match of the bytes at at, at most longest long: length, distance.
    std::pair<std::size_t, std::size_t> longestMatch(std::size_t at, std::size_t longest) const;
    void emit(Symbol symbol, std::string& compressed);
    void writeBlock(bool final, std::string& compressed);

    std::vector<unsigned char> held_; // the window, then the bytes not yet coded
    std::size_t position_ = 0;        // of the next byte to code, in held_
    // Chains of earlier positions with the same hash, as positions in the whole stream
    // plus one (0: none).
    std::vector<std::uint64_t> head_;
    std::vector<std::uint64_t> previous_;
    std::uint64_t heldFrom_ = 0; // the whole stream's position of held_[0]
    std::vector<Symbol> block_;
    std::uint64_t bits_ = 0; // not yet whole bytes, the first in the lowest bits
    int bitCount_ = 0;
    bool finished_ = false;
};

// The whole of bytes deflated at once.
std::string Deflate(std::string_view bytes);

} // namespace msr::batch
