#include "batch/deflating.h"

#include "batch/deflate_format.h"

#include <algorithm>
#include <functional>
#include <queue>
#include <utility>

namespace msr::batch {
namespace {

using namespace deflate_format;

constexpr std::size_t kHashBits = 15;
constexpr std::size_t kHeldBytes = 2 * kWindow + kLongestMatch + kShortestMatch;
// A match reaches no further back than this, so that a chain never runs into a position
// whose place in the chains a later one has taken.
constexpr std::size_t kFarthest = kWindow - kLongestMatch - kShortestMatch - 1;
// Enough to find the long matches of repeated rows without searching every chain to its
// end: the search stops at a match this long, or after this many earlier positions.
constexpr std::size_t kGoodEnough = 128;
constexpr int kLongestChain = 64;
constexpr std::size_t kBlockSymbols = std::size_t{1} << 14;

constexpr unsigned kRepeatPrevious = 16; // 3 to 6 times, 2 extra bits
constexpr unsigned kRepeatZero = 17;     // 3 to 10 times, 3 extra bits
constexpr unsigned kRepeatZeroLong = 18; // 11 to 138 times, 7 extra bits

struct HuffmanCode {
    std::vector<std::uint8_t> lengths;
    std::vector<std::uint16_t> codes; // bit-reversed, as the stream takes them
};

std::size_t LengthSymbolOf(std::size_t length) {
    const auto at = std::upper_bound(kLengthBase.begin(), kLengthBase.end(), length);
    return static_cast<std::size_t>(at - kLengthBase.begin()) - 1;
}

std::size_t DistanceSymbolOf(std::size_t distance) {
    const auto at = std::upper_bound(kDistanceBase.begin(), kDistanceBase.end(), distance);
    return static_cast<std::size_t>(at - kDistanceBase.begin()) - 1;
}

// The depth of each leaf of a Huffman tree over these frequencies (0 for a frequency of 0).
std::vector<std::uint8_t> TreeDepths(const std::vector<std::uint32_t>& frequencies) {
    const std::size_t leaves = frequencies.size();
    std::vector<std::size_t> parent(2 * leaves, 0);
    using Node = std::pair<std::uint64_t, std::size_t>; // weight, then the node for ties
    std::priority_queue<Node, std::vector<Node>, std::greater<>> nodes;
    for (std::size_t symbol = 0; symbol < leaves; ++symbol)
        if (frequencies[symbol] > 0)
            nodes.push({frequencies[symbol], symbol});
    std::size_t next = leaves;
    while (nodes.size() > 1) {
        const Node first = nodes.top();
        nodes.pop();
        const Node second = nodes.top();
        nodes.pop();
        parent[first.second] = next;
        parent[second.second] = next;
        nodes.push({first.first + second.first, next++});
    }
    const std::size_t root = next - 1;
    std::vector<std::uint8_t> depths(leaves, 0);
    for (std::size_t symbol = 0; symbol < leaves; ++symbol) {
        if (frequencies[symbol] == 0)
            continue;
        std::uint8_t depth = 0;
        for (std::size_t node = symbol; node != root; node = parent[node])
            ++depth;
        depths[symbol] = depth;
    }
    return depths;
}

// A complete canonical code over the symbols that occur, none longer than longest. Fewer
// than two symbols get a second one, so that every code is complete, as every inflater
// takes it; codes too long are shortened by evening out the frequencies.
HuffmanCode CodeFor(std::vector<std::uint32_t> frequencies, int longest) {
    const std::size_t occurring =
        frequencies.size() -
        static_cast<std::size_t>(std::count(frequencies.begin(), frequencies.end(), 0u));
    if (occurring < 2) {
        frequencies[0] = std::max(frequencies[0], 1u);
        frequencies[1] = std::max(frequencies[1], 1u);
    }
    HuffmanCode code;
    for (;;) {
        code.lengths = TreeDepths(frequencies);
        if (*std::max_element(code.lengths.begin(), code.lengths.end()) <= longest)
            break;
        for (std::uint32_t& frequency : frequencies)
            if (frequency > 0)
                frequency = std::max(frequency / 2, 1u);
    }
    std::vector<std::uint16_t> nextCode(static_cast<std::size_t>(longest) + 2, 0);
    std::vector<std::uint16_t> perLength(static_cast<std::size_t>(longest) + 1, 0);
    for (const std::uint8_t length : code.lengths)
        ++perLength[length];
    perLength[0] = 0;
    for (int length = 1; length <= longest; ++length)
        nextCode[length + 1] =
            static_cast<std::uint16_t>((nextCode[length] + perLength[length]) << 1);
    code.codes.assign(code.lengths.size(), 0);
    for (std::size_t symbol = 0; symbol < code.lengths.size(); ++symbol) {
        const int length = code.lengths[symbol];
        if (length == 0)
            continue;
        const unsigned canonical = nextCode[length]++;
        unsigned reversed = 0;
        for (int bit = 0; bit < length; ++bit)
            reversed |= ((canonical >> bit) & 1u) << (length - 1 - bit);
        code.codes[symbol] = static_cast<std::uint16_t>(reversed);
    }
    return code;
}

// The code lengths of both codes in one run, shortened by the repeat symbols: a symbol
// and, for a repeat, the count its extra bits give.
std::vector<std::pair<unsigned, unsigned>> RunsOf(const std::vector<std::uint8_t>& lengths) {
    std::vector<std::pair<unsigned, unsigned>> runs;
    for (std::size_t at = 0; at < lengths.size();) {
        const unsigned length = lengths[at];
        std::size_t same = 1;
        while (at + same < lengths.size() && lengths[at + same] == length)
            ++same;
        std::size_t left = same;
        if (length == 0) {
            while (left >= 11) {
                const std::size_t run = std::min<std::size_t>(left, 138);
                runs.push_back({kRepeatZeroLong, static_cast<unsigned>(run - 11)});
                left -= run;
            }
            if (left >= 3) {
                runs.push_back({kRepeatZero, static_cast<unsigned>(left - 3)});
                left = 0;
            }
        } else {
            runs.push_back({length, 0});
            --left;
            while (left >= 3) {
                const std::size_t run = std::min<std::size_t>(left, 6);
                runs.push_back({kRepeatPrevious, static_cast<unsigned>(run - 3)});
                left -= run;
            }
        }
        for (; left > 0; --left)
            runs.push_back({length, 0});
        at += same;
    }
    return runs;
}

} // namespace

Deflater::Deflater() : head_(std::size_t{1} << kHashBits, 0), previous_(kWindow, 0) {
    held_.reserve(kHeldBytes);
    block_.reserve(kBlockSymbols);
}

void Deflater::write(std::string_view bytes, std::string& compressed) {
    while (!bytes.empty()) {
        if (held_.size() == kHeldBytes)
            slideWindow();
        const std::size_t taken = std::min(bytes.size(), kHeldBytes - held_.size());
        held_.insert(held_.end(), bytes.begin(),
                     bytes.begin() + static_cast<std::ptrdiff_t>(taken));
        bytes.remove_prefix(taken);
        deflateHeld(false, compressed);
    }
}

void Deflater::finish(std::string& compressed) {
    if (finished_)
        return;
    deflateHeld(true, compressed);
    writeBlock(true, compressed);
    if (bitCount_ > 0)
        compressed += static_cast<char>(bits_ & 0xFF);
    bits_ = 0;
    bitCount_ = 0;
    finished_ = true;
}

void Deflater::slideWindow() {
    const std::size_t dropped = position_ - kWindow;
    held_.erase(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(dropped));
    position_ -= dropped;
    heldFrom_ += dropped;
}

std::uint32_t Deflater::hashAt(std::size_t at) const {
    const std::uint32_t three = static_cast<std::uint32_t>(held_[at]) |
                                static_cast<std::uint32_t>(held_[at + 1]) << 8 |
                                static_cast<std::uint32_t>(held_[at + 2]) << 16;
    return (three * 2654435761u) >> (32 - kHashBits);
}

void Deflater::insert(std::size_t at) {
    const std::uint64_t position = heldFrom_ + at;
    std::uint64_t& head = head_[hashAt(at)];
    previous_[position & (kWindow - 1)] = head;
    head = position + 1;
}

std::pair<std::size_t, std::size_t> Deflater::longestMatch(std::size_t at,
                                                           std::size_t longest) const {
    const std::uint64_t position = heldFrom_ + at;
    std::size_t bestLength = 0;
    std::size_t bestDistance = 0;
    std::uint64_t candidate = head_[hashAt(at)];
    for (int chain = kLongestChain; candidate != 0 && chain > 0; --chain) {
        const std::uint64_t earlier = candidate - 1;
        const std::size_t distance = static_cast<std::size_t>(position - earlier);
        if (distance > kFarthest)
            break;
        const unsigned char* from = held_.data() + (earlier - heldFrom_);
        const unsigned char* here = held_.data() + at;
        if (from[bestLength] == here[bestLength] && from[0] == here[0]) {
            std::size_t length = 0;
            while (length < longest && from[length] == here[length])
                ++length;
            if (length > bestLength) {
                bestLength = length;
                bestDistance = distance;
                if (length >= std::min(longest, kGoodEnough))
                    break;
            }
        }
        candidate = previous_[earlier & (kWindow - 1)];
    }
    return {bestLength, bestDistance};
}

void Deflater::deflateHeld(bool finishing, std::string& compressed) {
    for (;;) {
        const std::size_t available = held_.size() - position_;
        if (available == 0 || (!finishing && available < kLongestMatch + kShortestMatch))
            return;
        const std::size_t longest = std::min(available, kLongestMatch);
        const auto [length, distance] = available >= kShortestMatch
                                            ? longestMatch(position_, longest)
                                            : std::pair<std::size_t, std::size_t>{0, 0};
        if (length >= kShortestMatch) {
            emit({static_cast<std::uint16_t>(length), static_cast<std::uint16_t>(distance),
                  static_cast<std::uint8_t>(LengthSymbolOf(length)),
                  static_cast<std::uint8_t>(DistanceSymbolOf(distance))},
                 compressed);
            for (std::size_t step = 0; step < length; ++step)
                if (position_ + step + kShortestMatch <= held_.size())
                    insert(position_ + step);
            position_ += length;
        } else {
            if (available >= kShortestMatch)
                insert(position_);
            emit({held_[position_], 0, 0, 0}, compressed);
            ++position_;
        }
    }
}

void Deflater::emit(Symbol symbol, std::string& compressed) {
    block_.push_back(symbol);
    if (block_.size() == kBlockSymbols)
        writeBlock(false, compressed);
}

void Deflater::writeBlock(bool final, std::string& compressed) {
    const auto put = [&](std::uint64_t value, int count) {
        bits_ |= value << bitCount_;
        bitCount_ += count;
        while (bitCount_ >= 8) {
            compressed += static_cast<char>(bits_ & 0xFF);
            bits_ >>= 8;
            bitCount_ -= 8;
        }
    };
    const auto putCode = [&](const HuffmanCode& code, std::size_t symbol) {
        put(code.codes[symbol], code.lengths[symbol]);
    };

    std::vector<std::uint32_t> literalFrequencies(kFirstLengthSymbol + kLengthBase.size(), 0);
    std::vector<std::uint32_t> distanceFrequencies(kDistanceBase.size(), 0);
    for (const Symbol& symbol : block_) {
        if (symbol.distance == 0) {
            ++literalFrequencies[symbol.literalOrLength];
            continue;
        }
        ++literalFrequencies[kFirstLengthSymbol + symbol.lengthSymbol];
        ++distanceFrequencies[symbol.distanceSymbol];
    }
    literalFrequencies[kEndOfBlock] = 1;
    const HuffmanCode literals = CodeFor(literalFrequencies, kLongestCode);
    const HuffmanCode distances = CodeFor(distanceFrequencies, kLongestCode);

    const auto usedCount = [](const std::vector<std::uint8_t>& lengths, std::size_t least) {
        std::size_t count = lengths.size();
        while (count > least && lengths[count - 1] == 0)
            --count;
        return count;
    };
    const std::size_t literalCount = usedCount(literals.lengths, kFirstLengthSymbol);
    const std::size_t distanceCount = usedCount(distances.lengths, 1);
    std::vector<std::uint8_t> lengths(literals.lengths.begin(),
                                      literals.lengths.begin() +
                                          static_cast<std::ptrdiff_t>(literalCount));
    lengths.insert(lengths.end(), distances.lengths.begin(),
                   distances.lengths.begin() + static_cast<std::ptrdiff_t>(distanceCount));
    const auto runs = RunsOf(lengths);
    std::vector<std::uint32_t> runFrequencies(kCodeLengthOrder.size(), 0);
    for (const auto& run : runs)
        ++runFrequencies[run.first];
    const HuffmanCode runCode = CodeFor(runFrequencies, kLongestCodeLengthCode);
    std::size_t orderCount = kCodeLengthOrder.size();
    while (orderCount > 4 && runCode.lengths[kCodeLengthOrder[orderCount - 1]] == 0)
        --orderCount;

    put(final ? 1 : 0, 1);
    put(2, 2); // dynamic Huffman codes
    put(literalCount - kFirstLengthSymbol, 5);
    put(distanceCount - 1, 5);
    put(orderCount - 4, 4);
    for (std::size_t at = 0; at < orderCount; ++at)
        put(runCode.lengths[kCodeLengthOrder[at]], 3);
    for (const auto& [symbol, extra] : runs) {
        putCode(runCode, symbol);
        if (symbol == kRepeatPrevious)
            put(extra, 2);
        else if (symbol == kRepeatZero)
            put(extra, 3);
        else if (symbol == kRepeatZeroLong)
            put(extra, 7);
    }
    for (const Symbol& symbol : block_) {
        if (symbol.distance == 0) {
            putCode(literals, symbol.literalOrLength);
            continue;
        }
        const std::size_t lengthSymbol = symbol.lengthSymbol;
        putCode(literals, kFirstLengthSymbol + lengthSymbol);
        put(symbol.literalOrLength - kLengthBase[lengthSymbol], kLengthExtra[lengthSymbol]);
        const std::size_t distanceSymbol = symbol.distanceSymbol;
        putCode(distances, distanceSymbol);
        put(symbol.distance - kDistanceBase[distanceSymbol], kDistanceExtra[distanceSymbol]);
    }
    putCode(literals, kEndOfBlock);
    block_.clear();
}

std::string Deflate(std::string_view bytes) {
    Deflater deflater;
    std::string compressed;
    deflater.write(bytes, compressed);
    deflater.finish(compressed);
    return compressed;
}

} // namespace msr::batch
