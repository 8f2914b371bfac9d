#include "batch/sheet_input.h"

#include "evaluation/answers/answer_fields.h"

#include <string_view>

namespace msr::batch {
namespace {

constexpr std::size_t kBlock = std::size_t{1} << 16;

// The characters of 0x80..0x9F in Windows-1252; the five it leaves free stay C1 controls,
// as Windows itself converts them.
constexpr char32_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr char32_t kReplacement = 0xFFFD;

// Whether the bytes are UTF-8 as far as they go; a sequence cut short at their end is
// left in carry for the next bytes.
bool Utf8SoFar(std::string& carry, std::string_view bytes) {
    carry.append(bytes);
    std::size_t i = 0;
    while (i < carry.size()) {
        const std::size_t length = Utf8SequenceLength(carry, i);
        if (length == 0) {
            if (carry.size() - i >= 4)
                return false;
            break; // perhaps cut short: decided with the next bytes
        }
        i += length;
    }
    carry.erase(0, i);
    return true;
}

} // namespace

SheetInput::SheetInput(std::istream& source) : source_(source), raw_(kBlock) {}

const char* EncodingNote(SheetEncoding encoding) {
    switch (encoding) {
    case SheetEncoding::Windows1252:
        return "als Windows-1252 gelesen";
    case SheetEncoding::Utf16LittleEndian:
    case SheetEncoding::Utf16BigEndian:
        return "als UTF-16 gelesen";
    case SheetEncoding::Utf8:
        break;
    }
    return "";
}

bool SheetInput::readBlock() {
    if (!source_)
        return false;
    source_.read(raw_.data(), static_cast<std::streamsize>(raw_.size()));
    rawSize_ = static_cast<std::size_t>(source_.gcount());
    return rawSize_ > 0;
}

bool SheetInput::wholeIsUtf8() {
    const std::istream::pos_type start = source_.tellg();
    if (start == std::istream::pos_type(-1)) {
        source_.clear(source_.rdstate() & ~std::ios::failbit);
        return true; // a pipe: its first block decided
    }
    std::string carry;
    std::vector<char> bytes(kBlock);
    bool utf8 = true;
    while (utf8 && source_.read(bytes.data(), static_cast<std::streamsize>(bytes.size())),
           source_.gcount() > 0)
        utf8 = Utf8SoFar(
            carry, std::string_view(bytes.data(), static_cast<std::size_t>(source_.gcount())));
    utf8 = utf8 && carry.empty();
    if (source_.bad())
        return true; // reading it again fails the same way
    source_.clear();
    source_.seekg(start);
    return utf8;
}

void SheetInput::decide() {
    decided_ = true;
    if (!readBlock())
        return;
    const std::string_view first(raw_.data(), rawSize_);
    std::size_t mark = 0;
    if (first.substr(0, 3) == "\xEF\xBB\xBF") {
        mark = 3;
    } else if (first.substr(0, 2) == "\xFF\xFE") {
        encoding_ = SheetEncoding::Utf16LittleEndian;
        mark = 2;
    } else if (first.substr(0, 2) == "\xFE\xFF") {
        encoding_ = SheetEncoding::Utf16BigEndian;
        mark = 2;
    } else {
        std::string carry;
        bool utf8 = Utf8SoFar(carry, first);
        if (utf8 && rawSize_ == raw_.size())
            utf8 = wholeIsUtf8();
        else
            utf8 = utf8 && carry.empty();
        if (!utf8)
            encoding_ = SheetEncoding::Windows1252;
    }
    decode(raw_.data() + mark, rawSize_ - mark);
    carriageReturns_ =
        text_.find('\r') != std::string::npos && text_.find('\n') == std::string::npos;
    endLines();
}

void SheetInput::endLines() {
    if (!carriageReturns_)
        return;
    for (char& c : text_)
        if (c == '\r')
            c = '\n';
}

void SheetInput::decode(const char* bytes, std::size_t size) {
    text_.clear();
    switch (encoding_) {
    case SheetEncoding::Utf8:
        text_.assign(bytes, size);
        return;
    case SheetEncoding::Windows1252:
        for (std::size_t i = 0; i < size; ++i) {
            const auto byte = static_cast<unsigned char>(bytes[i]);
            if (byte < 0x80)
                text_ += static_cast<char>(byte);
            else
                AppendUtf8(byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte, text_);
        }
        return;
    case SheetEncoding::Utf16LittleEndian:
    case SheetEncoding::Utf16BigEndian:
        break;
    }
    const bool little = encoding_ == SheetEncoding::Utf16LittleEndian;
    carry_.append(bytes, size);
    const auto unit = [&](std::size_t at) {
        const auto a = static_cast<unsigned char>(carry_[at]);
        const auto b = static_cast<unsigned char>(carry_[at + 1]);
        return static_cast<char32_t>(little ? a | b << 8 : b | a << 8);
    };
    std::size_t i = 0;
    while (i + 2 <= carry_.size()) {
        const char32_t c = unit(i);
        if (c >= 0xD800 && c < 0xDC00) { // a high surrogate wants its low one
            if (i + 4 > carry_.size())
                break;
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                AppendUtf8(0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00), text_);
                i += 4;
                continue;
            }
            AppendUtf8(kReplacement, text_);
        } else {
            AppendUtf8(c >= 0xDC00 && c < 0xE000 ? kReplacement : c, text_);
        }
        i += 2;
    }
    carry_.erase(0, i);
}

SheetInput::int_type SheetInput::underflow() {
    if (gptr() < egptr())
        return traits_type::to_int_type(*gptr());
    text_.clear();
    if (!decided_)
        decide();
    while (text_.empty()) {
        if (!readBlock()) {
            if (!carry_.empty()) { // a unit or pair cut short by the end
                carry_.clear();
                AppendUtf8(kReplacement, text_);
                break;
            }
            return traits_type::eof();
        }
        decode(raw_.data(), rawSize_);
        endLines();
    }
    setg(text_.data(), text_.data(), text_.data() + text_.size());
    return traits_type::to_int_type(*gptr());
}

} // namespace msr::batch
