#pragma once

#include "evaluation/answers/answer_fields.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// JSON's own grammar (RFC 8259), read once for every JSON text the core reads: a set of
// answers and a rent index's edition. Whatever the grammar does not allow is broken JSON,
// named by byte and reason as the evaluator has always named them (its users' scripts and
// the tests hold them). The reader builds nothing: it tells a handler what it reads, and
// the handler keeps what it needs.
//
// A handler has these members; at is the byte where the value, key or bracket starts:
//   void beginObject(std::size_t at);  void endObject();
//   void beginArray(std::size_t at);   void endArray();
//   void key(std::string_view key, std::size_t at);
//   void scalar(JsonScalar kind, std::string_view text, std::size_t at);
// A string's text is unescaped (UTF-8) and lives until the next call; a number's is its
// digits as written; a literal's is empty.
namespace msr {

enum class JsonScalar { Null, True, False, String, Number };

enum class JsonFault {
    UnterminatedObject,
    MissingNameSeparator,
    UnterminatedArray,
    MissingValueSeparator,
    IllegalValue,
    TerminationByNumber,
    IllegalNumber,
    IllegalEscapeSequence,
    ControlCharacter,
    IllegalUtf8,
    UnterminatedString,
    MissingValue,
    DeepNesting,
    GarbageAtEnd,
};

// The reason as a message names it: "Objekt nicht mit } abgeschlossen".
const char* JsonFaultReason(JsonFault fault);

// The line (from 1) that the byte at `at` stands on.
std::size_t JsonLineOf(std::string_view text, std::size_t at);

// Far deeper than any answers or edition go, and a bound on the stack one text costs.
inline constexpr int kDeepestJsonNesting = 1024;

// Reads one JSON text whose top is an object or an array. Where it goes wrong, faultyByte()
// is the byte just past the faulty character (counted from 1, that character's position),
// except that a character after the end and a byte that is no UTF-8 stand at their index.
template <typename Handler> class JsonReader {
public:
    JsonReader(std::string_view text, Handler& handler) : text_(text), handler_(handler) {}

    // The whole text, a UTF-8 byte order mark before it allowed.
    bool readDocument() {
        if (text_.size() > 3 && text_.substr(0, 3) == "\xEF\xBB\xBF")
            at_ = 3;
        const char token = nextToken();
        if (token == '[') {
            if (!readArray(at_ - 1))
                return false;
        } else if (token == '{') {
            isObject_ = true;
            if (!readObject(at_ - 1))
                return false;
        } else {
            return fail(JsonFault::IllegalValue);
        }
        if (eatBlanks())
            return fail(JsonFault::GarbageAtEnd);
        return true;
    }

    bool isObject() const { return isObject_; }
    JsonFault fault() const { return fault_; }

    // The 1-based byte that the message names.
    std::size_t faultyByte() const {
        const bool atIndex = fault_ == JsonFault::GarbageAtEnd || fault_ == JsonFault::IllegalUtf8;
        const std::size_t position = at_ + (atIndex ? 1 : 0);
        return position < 1 ? 1 : position;
    }

private:
    bool fail(JsonFault fault) {
        fault_ = fault;
        return false;
    }

    bool atEnd() const { return at_ >= text_.size(); }

    // Skips blanks; false at the end of the text.
    bool eatBlanks() {
        while (!atEnd() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' ||
                            text_[at_] == '\r'))
            ++at_;
        return !atEnd();
    }

    // The next structural character after blanks, taken; 0 for any other (taken too) and
    // at the end (nothing taken).
    char nextToken() {
        if (!eatBlanks())
            return 0;
        const char token = text_[at_++];
        switch (token) {
        case '[':
        case ']':
        case '{':
        case '}':
        case ':':
        case ',':
        case '"':
            return token;
        default:
            return 0;
        }
    }

    // After the opening brace at `start`.
    bool readObject(std::size_t start) {
        if (++nesting_ > kDeepestJsonNesting)
            return fail(JsonFault::DeepNesting);
        handler_.beginObject(start);
        char token = nextToken();
        while (token == '"') {
            if (!readMember())
                return false;
            token = nextToken();
            if (token != ',')
                break;
            token = nextToken();
            if (token == '}')
                return fail(JsonFault::MissingValue);
        }
        if (token != '}')
            return fail(JsonFault::UnterminatedObject);
        --nesting_;
        handler_.endObject();
        return true;
    }

    // After the opening quote of the key.
    bool readMember() {
        const std::size_t start = at_ - 1;
        std::string_view key;
        if (!readString(key))
            return false;
        handler_.key(key, start);
        if (nextToken() != ':')
            return fail(JsonFault::MissingNameSeparator);
        if (!eatBlanks())
            return fail(JsonFault::UnterminatedObject);
        return readValue();
    }

    // After the opening bracket at `start`.
    bool readArray(std::size_t start) {
        if (++nesting_ > kDeepestJsonNesting)
            return fail(JsonFault::DeepNesting);
        handler_.beginArray(start);
        if (!eatBlanks())
            return fail(JsonFault::UnterminatedArray);
        if (text_[at_] == ']') {
            ++at_;
        } else {
            for (;;) {
                if (!eatBlanks())
                    return fail(JsonFault::UnterminatedArray);
                if (!readValue())
                    return false;
                const char token = nextToken();
                if (token == ']')
                    break;
                if (token != ',')
                    return fail(eatBlanks() ? JsonFault::MissingValueSeparator
                                            : JsonFault::UnterminatedArray);
            }
        }
        --nesting_;
        handler_.endArray();
        return true;
    }

    // At a character that is no blank.
    bool readValue() {
        const std::size_t start = at_;
        switch (text_[at_++]) {
        case 'n':
            return readLiteralRest("ull", JsonScalar::Null, start);
        case 't':
            return readLiteralRest("rue", JsonScalar::True, start);
        case 'f':
            return readLiteralRest("alse", JsonScalar::False, start);
        case '"': {
            std::string_view text;
            if (!readString(text))
                return false;
            handler_.scalar(JsonScalar::String, text, start);
            return true;
        }
        case '[':
            return readArray(start);
        case '{':
            return readObject(start);
        case ',':
            return fail(JsonFault::IllegalValue);
        case ']':
        case '}':
            return fail(JsonFault::MissingValue);
        default:
            --at_;
            return readNumber();
        }
    }

    // The rest of null, true or false, which must leave a character after it.
    bool readLiteralRest(std::string_view rest, JsonScalar kind, std::size_t start) {
        if (text_.size() - at_ < rest.size() + 1)
            return fail(JsonFault::IllegalValue);
        for (const char expected : rest)
            if (text_[at_++] != expected)
                return fail(JsonFault::IllegalValue);
        handler_.scalar(kind, {}, start);
        return true;
    }

    void skipDigits() {
        while (!atEnd() && text_[at_] >= '0' && text_[at_] <= '9')
            ++at_;
    }

    bool isDigit() const { return !atEnd() && text_[at_] >= '0' && text_[at_] <= '9'; }

    // Where JSON asks for a digit and none follows.
    bool failWithoutDigit() {
        return fail(atEnd() ? JsonFault::TerminationByNumber : JsonFault::IllegalNumber);
    }

    // JSON's number: digits before the point and after it and in the exponent ("1.",
    // ".5" and "1.e5" are none). A leading zero ends the number, so that "01" fails on the
    // "1".
    bool readNumber() {
        const std::size_t start = at_;
        if (!atEnd() && text_[at_] == '-')
            ++at_;
        if (!isDigit())
            return failWithoutDigit();
        if (text_[at_] == '0')
            ++at_;
        else
            skipDigits();
        if (!atEnd() && text_[at_] == '.') {
            ++at_;
            if (!isDigit())
                return failWithoutDigit();
            skipDigits();
        }
        if (!atEnd() && (text_[at_] == 'e' || text_[at_] == 'E')) {
            ++at_;
            if (!atEnd() && (text_[at_] == '+' || text_[at_] == '-'))
                ++at_;
            if (!isDigit())
                return failWithoutDigit();
            skipDigits();
        }
        if (atEnd())
            return fail(JsonFault::TerminationByNumber);
        handler_.scalar(JsonScalar::Number, text_.substr(start, at_ - start), start);
        return true;
    }

    static int hexDigit(char c) {
        return c >= '0' && c <= '9'   ? c - '0'
               : c >= 'a' && c <= 'f' ? c - 'a' + 10
               : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                      : -1;
    }

    // At the backslash; the UTF-16 unit it stands for. Only JSON's escapes are read; at
    // any other, the escaped byte is named.
    bool readEscape(std::uint32_t& unit) {
        ++at_;
        if (atEnd())
            return false;
        const auto escaped = static_cast<unsigned char>(text_[at_++]);
        const char* simple = "\"\\/bfnrt";
        const char* meaning = "\"\\/\b\f\n\r\t";
        if (const char* found = escaped != 0 ? std::strchr(simple, escaped) : nullptr) {
            unit = static_cast<unsigned char>(meaning[found - simple]);
            return true;
        }
        if (escaped != 'u')
            return false;
        if (at_ + 4 > text_.size())
            return false;
        unit = 0;
        for (int k = 0; k < 4; ++k, ++at_) {
            const int digit = hexDigit(text_[at_]);
            if (digit < 0)
                return false;
            unit = unit * 16 + static_cast<std::uint32_t>(digit);
        }
        return true;
    }

    // Skips the plain run of a string: everything up to a quote, a backslash, a control
    // character or a byte of a non-ASCII character, which the slower loop reads.
    void skipPlainRun() {
        static constexpr std::array<bool, 256> kPlain = [] {
            std::array<bool, 256> plain{};
            for (int byte = 0x20; byte < 0x80; ++byte)
                plain[static_cast<std::size_t>(byte)] = byte != '"' && byte != '\\';
            return plain;
        }();
        const char* at = text_.data() + at_;
        const char* const end = text_.data() + text_.size();
        while (at != end && kPlain[static_cast<unsigned char>(*at)])
            ++at;
        at_ = static_cast<std::size_t>(at - text_.data());
    }

    // The length of the unescaped character at at_ inside a string; 0 where there is none,
    // with the fault: JSON wants a control character escaped.
    std::size_t characterLength() {
        if (static_cast<unsigned char>(text_[at_]) < 0x20) {
            ++at_;
            fail(JsonFault::ControlCharacter);
            return 0;
        }
        const std::size_t length = Utf8SequenceLength(text_, at_);
        if (length == 0)
            fail(JsonFault::IllegalUtf8);
        return length;
    }

    // After the opening quote. A text without escapes is taken as it stands, as a part of
    // the text read; one with escapes is read again, escape by escape, into a text of the
    // reader's own that out shows until the next string.
    bool readString(std::string_view& out) {
        const std::size_t start = at_;
        bool escapes = false;
        skipPlainRun();
        while (!atEnd() && text_[at_] != '"') {
            const auto byte = static_cast<unsigned char>(text_[at_]);
            if (byte >= 0x20 && byte < 0x80 && byte != '\\') {
                ++at_; // the usual character: printable ASCII
                continue;
            }
            if (byte == '\\') {
                escapes = true;
                break;
            }
            const std::size_t length = characterLength();
            if (length == 0)
                return false;
            at_ += length;
        }
        ++at_;
        if (atEnd())
            return fail(JsonFault::UnterminatedString);
        if (!escapes) {
            out = text_.substr(start, at_ - 1 - start);
            return true;
        }
        at_ = start;
        unescaped_.clear();
        if (!readEscapedString(unescaped_))
            return false;
        out = unescaped_;
        return true;
    }

    bool readEscapedString(std::string& out) {
        // A high surrogate waits for its low half; a lone half of a pair is no
        // character and reads as a question mark.
        std::uint32_t high = 0;
        const auto flushHigh = [&] {
            if (high != 0)
                out.push_back('?');
            high = 0;
        };
        while (!atEnd() && text_[at_] != '"') {
            if (text_[at_] != '\\') {
                const std::size_t length = characterLength();
                if (length == 0)
                    return false;
                flushHigh();
                out.append(text_.substr(at_, length));
                at_ += length;
                continue;
            }
            std::uint32_t unit = 0;
            if (!readEscape(unit))
                return fail(JsonFault::IllegalEscapeSequence);
            if (unit >= 0xD800 && unit < 0xDC00) {
                flushHigh();
                high = unit;
            } else if (unit >= 0xDC00 && unit < 0xE000) {
                if (high != 0)
                    AppendUtf8(
                        static_cast<char32_t>(0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00)),
                        out);
                else
                    out.push_back('?');
                high = 0;
            } else {
                flushHigh();
                AppendUtf8(static_cast<char32_t>(unit), out);
            }
        }
        flushHigh();
        ++at_;
        if (atEnd())
            return fail(JsonFault::UnterminatedString);
        return true;
    }

    std::string_view text_;
    Handler& handler_;
    std::size_t at_ = 0;
    int nesting_ = 0;
    JsonFault fault_ = JsonFault::IllegalValue;
    bool isObject_ = false;
    std::string unescaped_;
};

// A handler that keeps nothing: for a text of which only the grammar counts.
struct JsonGrammarOnly {
    void beginObject(std::size_t) {}
    void endObject() {}
    void beginArray(std::size_t) {}
    void endArray() {}
    void key(std::string_view, std::size_t) {}
    void scalar(JsonScalar, std::string_view, std::size_t) {}
};

} // namespace msr
