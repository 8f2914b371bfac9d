#include "batch/inflating.h"

#include "batch/deflate_format.h"

#include <array>
#include <cstdint>
#include <vector>

namespace msr::batch {
namespace {

using namespace deflate_format;

constexpr int kFastBits = 9; // codes this short are found by one look-up
constexpr std::size_t kInputBlock = std::size_t{1} << 16;

// A canonical Huffman code: its count of codes per length and its symbols in code order,
// and for the short codes a table indexed by the next kFastBits bits of the stream.
struct Huffman {
    std::array<std::uint16_t, kLongestCode + 1> count{};
    std::array<std::uint16_t, 288> symbol{};
    // length << 9 | symbol; 0 where the code is longer than kFastBits
    std::array<std::uint16_t, std::size_t{1} << kFastBits> fast{};

    // False for lengths that give more codes than there are (an over-subscribed code).
    bool build(const std::uint8_t* lengths, std::size_t symbols) {
        count.fill(0);
        fast.fill(0);
        for (std::size_t s = 0; s < symbols; ++s)
            ++count[lengths[s]];
        count[0] = 0;
        int left = 1;
        for (int length = 1; length <= kLongestCode; ++length) {
            left = (left << 1) - count[static_cast<std::size_t>(length)];
            if (left < 0)
                return false;
        }
        std::array<std::uint16_t, kLongestCode + 2> offset{};
        for (int length = 1; length <= kLongestCode; ++length)
            offset[static_cast<std::size_t>(length + 1)] = static_cast<std::uint16_t>(
                offset[static_cast<std::size_t>(length)] + count[static_cast<std::size_t>(length)]);
        std::array<std::uint16_t, kLongestCode + 1> nextCode{};
        unsigned code = 0;
        for (int length = 1; length <= kLongestCode; ++length) {
            code = (code + count[static_cast<std::size_t>(length - 1)]) << 1;
            nextCode[static_cast<std::size_t>(length)] = static_cast<std::uint16_t>(code);
        }
        for (std::size_t s = 0; s < symbols; ++s) {
            const std::uint8_t length = lengths[s];
            if (length == 0)
                continue;
            symbol[offset[length]++] = static_cast<std::uint16_t>(s);
            const unsigned canonical = nextCode[length]++;
            if (length > kFastBits)
                continue;
            unsigned reversed = 0; // the stream gives a code's bits first to last
            for (int bit = 0; bit < length; ++bit)
                reversed |= (canonical >> bit & 1u) << (length - 1 - bit);
            for (unsigned index = reversed; index < fast.size(); index += 1u << length)
                fast[index] = static_cast<std::uint16_t>(length << 9 | s);
        }
        return true;
    }
};

class PortableInflate : public ByteStream {
public:
    explicit PortableInflate(ByteStream& compressed)
        : compressed_(compressed), input_(kInputBlock), window_(kWindow) {}

    std::size_t read(char* buffer, std::size_t capacity) override {
        out_ = buffer;
        produced_ = 0;
        capacity_ = capacity;
        while (produced_ < capacity_ && state_ != State::Done && state_ != State::Failed)
            step();
        return produced_;
    }

    bool failed() const override { return state_ == State::Failed; }

private:
    enum class State { Header, Stored, Codes, Done, Failed };

    void step() {
        switch (state_) {
        case State::Header:
            header();
            break;
        case State::Stored:
            stored();
            break;
        case State::Codes:
            codes();
            break;
        case State::Done:
        case State::Failed:
            break;
        }
    }

    void fail() { state_ = State::Failed; }

    // ---- bits, least significant first ----

    bool refill() {
        if (inputAt_ < inputEnd_)
            return true;
        inputAt_ = 0;
        inputEnd_ = compressed_.read(input_.data(), input_.size());
        return inputEnd_ > 0;
    }

    // At least n (at most 32) bits in hand; false where the stream ends first.
    bool need(int n) {
        while (bitCount_ < n) {
            if (!refill())
                return false;
            bits_ |= std::uint64_t{static_cast<unsigned char>(input_[inputAt_++])} << bitCount_;
            bitCount_ += 8;
        }
        return true;
    }

    // Takes as many bits as there are, up to n, without failing at the end.
    void gather(int n) {
        while (bitCount_ < n && refill()) {
            bits_ |= std::uint64_t{static_cast<unsigned char>(input_[inputAt_++])} << bitCount_;
            bitCount_ += 8;
        }
    }

    unsigned take(int n) {
        const auto value = static_cast<unsigned>(bits_ & ((std::uint64_t{1} << n) - 1));
        bits_ >>= n;
        bitCount_ -= n;
        return value;
    }

    // Bits to a value, or -1 where the stream ends first.
    int bitsOf(int n) { return need(n) ? static_cast<int>(take(n)) : -1; }

    // The next symbol of the code, or -1 for none (the stream ends, no code of it).
    int decode(const Huffman& code) {
        gather(kLongestCode);
        const std::uint16_t entry = code.fast[bits_ & ((1u << kFastBits) - 1)];
        if (entry != 0 && (entry >> 9) <= bitCount_) {
            take(entry >> 9);
            return entry & 0x1FF;
        }
        int first = 0;
        int index = 0;
        int canonical = 0;
        for (int length = 1; length <= kLongestCode; ++length) {
            if (!need(1))
                return -1;
            canonical |= static_cast<int>(take(1));
            const int count = code.count[static_cast<std::size_t>(length)];
            if (canonical - count < first)
                return code.symbol[static_cast<std::size_t>(index + (canonical - first))];
            index += count;
            first = (first + count) << 1;
            canonical <<= 1;
        }
        return -1;
    }

    // ---- output, kept in the window for the copies that refer back to it ----

    void emit(unsigned char byte) {
        out_[produced_++] = static_cast<char>(byte);
        window_[static_cast<std::size_t>(total_++) & (kWindow - 1)] = byte;
    }

    // ---- blocks ----

    void header() {
        if (last_) {
            state_ = State::Done;
            return;
        }
        const int bits = bitsOf(3);
        if (bits < 0)
            return fail();
        last_ = (bits & 1) != 0;
        switch (bits >> 1) {
        case 0:
            take(bitCount_ % 8); // to the byte
            if (!need(32))
                return fail();
            storedLeft_ = take(16);
            if ((take(16) ^ 0xFFFFu) != storedLeft_)
                return fail();
            state_ = State::Stored;
            return;
        case 1:
            fixedCodes();
            state_ = State::Codes;
            return;
        case 2:
            if (!dynamicCodes())
                return fail();
            state_ = State::Codes;
            return;
        default:
            return fail();
        }
    }

    void stored() {
        while (storedLeft_ > 0 && produced_ < capacity_) {
            if (bitCount_ >= 8) { // whole bytes still in hand
                emit(static_cast<unsigned char>(take(8)));
            } else {
                if (!refill())
                    return fail();
                emit(static_cast<unsigned char>(input_[inputAt_++]));
            }
            --storedLeft_;
        }
        if (storedLeft_ == 0)
            state_ = State::Header;
    }

    void fixedCodes() {
        std::array<std::uint8_t, 288 + 30> lengths{};
        for (std::size_t s = 0; s < 288; ++s)
            lengths[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
        for (std::size_t s = 288; s < lengths.size(); ++s)
            lengths[s] = 5;
        literals_.build(lengths.data(), 288);
        distances_.build(lengths.data() + 288, 30);
    }

    bool dynamicCodes() {
        const int literals = bitsOf(5);
        const int distances = bitsOf(5);
        const int codeLengths = bitsOf(4);
        if (literals < 0 || distances < 0 || codeLengths < 0 || literals + 257 > 286 ||
            distances + 1 > 30)
            return false;
        std::array<std::uint8_t, 19> lengthsOfLengths{};
        for (int i = 0; i < codeLengths + 4; ++i) {
            const int length = bitsOf(3);
            if (length < 0)
                return false;
            lengthsOfLengths[kCodeLengthOrder[static_cast<std::size_t>(i)]] =
                static_cast<std::uint8_t>(length);
        }
        Huffman lengthCode;
        if (!lengthCode.build(lengthsOfLengths.data(), lengthsOfLengths.size()))
            return false;
        const std::size_t total = static_cast<std::size_t>(literals + 257 + distances + 1);
        std::array<std::uint8_t, 286 + 30> lengths{};
        for (std::size_t at = 0; at < total;) {
            const int symbol = decode(lengthCode);
            if (symbol < 0)
                return false;
            if (symbol < 16) {
                lengths[at++] = static_cast<std::uint8_t>(symbol);
                continue;
            }
            if (symbol == 16 && at == 0)
                return false; // nothing to repeat
            const std::uint8_t repeated = symbol == 16 ? lengths[at - 1] : 0;
            const int extra = bitsOf(symbol == 16 ? 2 : symbol == 17 ? 3 : 7);
            const int times = extra + (symbol == 18 ? 11 : 3);
            if (extra < 0 || at + static_cast<std::size_t>(times) > total)
                return false;
            for (int i = 0; i < times; ++i)
                lengths[at++] = repeated;
        }
        const auto literalCount = static_cast<std::size_t>(literals + 257);
        return lengths[256] != 0 && // a block must be able to end
               literals_.build(lengths.data(), literalCount) &&
               distances_.build(lengths.data() + literalCount,
                                static_cast<std::size_t>(distances + 1));
    }

    void codes() {
        while (produced_ < capacity_) {
            if (copyLeft_ > 0) {
                do {
                    emit(window_[static_cast<std::size_t>(total_ - copyDistance_) & (kWindow - 1)]);
                } while (--copyLeft_ > 0 && produced_ < capacity_);
                continue;
            }
            const int symbol = decode(literals_);
            if (symbol < 0)
                return fail();
            if (symbol < 256) {
                emit(static_cast<unsigned char>(symbol));
                continue;
            }
            if (symbol == 256) {
                state_ = State::Header;
                return;
            }
            const auto lengthSymbol = static_cast<std::size_t>(symbol - 257);
            if (lengthSymbol >= kLengthBase.size())
                return fail();
            const int lengthExtra = bitsOf(kLengthExtra[lengthSymbol]);
            const int distanceSymbol = decode(distances_);
            if (lengthExtra < 0 || distanceSymbol < 0 ||
                static_cast<std::size_t>(distanceSymbol) >= kDistanceBase.size())
                return fail();
            const auto at = static_cast<std::size_t>(distanceSymbol);
            const int distanceExtra = bitsOf(kDistanceExtra[at]);
            if (distanceExtra < 0)
                return fail();
            copyLeft_ = kLengthBase[lengthSymbol] + static_cast<unsigned>(lengthExtra);
            copyDistance_ = kDistanceBase[at] + static_cast<unsigned>(distanceExtra);
            if (copyDistance_ > total_)
                return fail(); // before the first byte
        }
    }

    ByteStream& compressed_;
    std::vector<char> input_;
    std::size_t inputAt_ = 0;
    std::size_t inputEnd_ = 0;
    std::uint64_t bits_ = 0;
    int bitCount_ = 0;

    std::vector<unsigned char> window_;
    std::uint64_t total_ = 0; // bytes inflated so far
    char* out_ = nullptr;
    std::size_t produced_ = 0;
    std::size_t capacity_ = 0;

    State state_ = State::Header;
    bool last_ = false;
    unsigned storedLeft_ = 0;
    unsigned copyLeft_ = 0;
    std::uint64_t copyDistance_ = 0;
    Huffman literals_;
    Huffman distances_;
};

} // namespace

std::unique_ptr<ByteStream> InflatePortably(ByteStream& compressed) {
    return std::make_unique<PortableInflate>(compressed);
}

} // namespace msr::batch
