// The reading of answers from a JSON text, with the standard library alone, so that the
// native and the WebAssembly command-line evaluator read them alike. JSON's own grammar
// (RFC 8259) is the contract: whatever it does not allow is broken JSON, named by byte and
// reason as the evaluator has always named them (its users' scripts and the tests hold
// them). A number beyond the range of double is still a number: its value is refused.
#include "evaluation/answers/answers_json.h"

#include "evaluation/answers/answer_fields.h"

#include <array>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace msr {
namespace {

using JsonValue = AnswerValue;

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

const char* Reason(JsonFault fault) {
    switch (fault) {
    case JsonFault::UnterminatedObject:
        return "Objekt nicht mit } abgeschlossen";
    case JsonFault::MissingNameSeparator:
        return "Doppelpunkt nach dem Schlüssel fehlt";
    case JsonFault::UnterminatedArray:
        return "Liste nicht mit ] abgeschlossen";
    case JsonFault::MissingValueSeparator:
        return "Komma zwischen zwei Einträgen fehlt";
    case JsonFault::IllegalValue:
        return "ungültiger Wert";
    case JsonFault::TerminationByNumber:
        return "Eingabe endet mitten in einer Zahl";
    case JsonFault::IllegalNumber:
        return "ungültige Zahl";
    case JsonFault::IllegalEscapeSequence:
        return "ungültige Escape-Sequenz";
    case JsonFault::ControlCharacter:
        return "Steuerzeichen in einer Zeichenkette";
    case JsonFault::IllegalUtf8:
        return "ungültiges UTF-8";
    case JsonFault::UnterminatedString:
        return "Zeichenkette nicht abgeschlossen";
    case JsonFault::MissingValue:
        return "Wert erwartet";
    case JsonFault::DeepNesting:
        return "zu tief verschachtelt";
    case JsonFault::GarbageAtEnd:
        return "weitere Zeichen nach dem Ende des Objekts";
    }
    return "unbekannter Fehler";
}

// Far deeper than any answers go, and a bound on the stack one text costs.
constexpr int kDeepestNesting = 1024;

// The C library reads and writes numbers with the decimal point of the C locale, which the
// native program sets from the environment ("," in German); JSON's is ".".
std::string LocaleDecimalPoint() {
    const char* point = std::localeconv()->decimal_point;
    return point != nullptr && *point != '\0' ? point : ".";
}

// Up to 15 digits, optionally after a minus: exact in a double at every step.
bool IsShortWholeNumber(std::string_view digits) {
    const std::size_t first = !digits.empty() && digits.front() == '-' ? 1 : 0;
    if (digits.size() <= first || digits.size() - first > 15)
        return false;
    for (std::size_t i = first; i < digits.size(); ++i)
        if (digits[i] < '0' || digits[i] > '9')
            return false;
    return true;
}

// A JSON number's text as a double; false for one beyond double and for one that is not
// zero but would read as zero.
bool ToDouble(std::string_view digits, double& number) {
    if (IsShortWholeNumber(digits)) { // most answers: read at once, exactly
        const bool negative = digits.front() == '-';
        double whole = 0;
        for (const char c : digits.substr(negative ? 1 : 0))
            whole = whole * 10 + (c - '0');
        number = negative ? -whole : whole;
        return true;
    }
    std::string text(digits);
    const std::size_t point = text.find('.');
    if (point != std::string::npos)
        text.replace(point, 1, LocaleDecimalPoint());
    char* end = nullptr;
    number = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || std::isinf(number))
        return false;
    if (number == 0)
        for (const char c : digits.substr(0, digits.find_first_of("eE")))
            if (c >= '1' && c <= '9')
                return false;
    return true;
}

// Reads one JSON text. Where it goes wrong, offset() is the byte just past the faulty
// character (counted from 1, that character's position), except that a character after
// the end and a byte that is no UTF-8 stand at their index.
class JsonReader {
public:
    explicit JsonReader(std::string_view text) : text_(text) {}

    // The whole text: an object, whose members are filed in fields, or an array, whose
    // length is kept.
    bool readDocument(AnswerFields* fields) {
        if (text_.size() > 3 && text_.substr(0, 3) == "\xEF\xBB\xBF")
            at_ = 3; // a UTF-8 byte order mark
        const char token = nextToken();
        if (token == '[') {
            if (!readArray(&arrayLength_))
                return false;
        } else if (token == '{') {
            isObject_ = true;
            if (!readObject(fields))
                return false;
        } else {
            return fail(JsonFault::IllegalValue);
        }
        if (eatBlanks())
            return fail(JsonFault::GarbageAtEnd);
        return true;
    }

    bool isObject() const { return isObject_; }
    std::size_t arrayLength() const { return arrayLength_; }
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

    bool readObject(AnswerFields* fields) {
        if (++nesting_ > kDeepestNesting)
            return fail(JsonFault::DeepNesting);
        char token = nextToken();
        while (token == '"') {
            if (!readMember(fields))
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
        return true;
    }

    // After the opening quote of the key. The value goes straight to its place among the
    // fields, where the last of equal keys counts.
    bool readMember(AnswerFields* fields) {
        std::string_view key;
        if (!readString(key))
            return false;
        if (nextToken() != ':')
            return fail(JsonFault::MissingNameSeparator);
        if (!eatBlanks())
            return fail(JsonFault::UnterminatedObject);
        std::optional<JsonValue>* slot = fields != nullptr ? fields->slot(key) : nullptr;
        if (slot == nullptr)
            return readValue(nullptr);
        slot->emplace();
        return readValue(&**slot);
    }

    bool readArray(std::size_t* length) {
        if (++nesting_ > kDeepestNesting)
            return fail(JsonFault::DeepNesting);
        if (!eatBlanks())
            return fail(JsonFault::UnterminatedArray);
        if (text_[at_] == ']') {
            ++at_;
        } else {
            for (;;) {
                if (!eatBlanks())
                    return fail(JsonFault::UnterminatedArray);
                if (!readValue(nullptr))
                    return false;
                if (length != nullptr)
                    ++*length;
                const char token = nextToken();
                if (token == ']')
                    break;
                if (token != ',')
                    return fail(eatBlanks() ? JsonFault::MissingValueSeparator
                                            : JsonFault::UnterminatedArray);
            }
        }
        --nesting_;
        return true;
    }

    // At a character that is no blank; value is nullptr where only the syntax counts.
    bool readValue(JsonValue* value) {
        JsonValue& target = value != nullptr ? *value : ignored_;
        switch (text_[at_++]) {
        case 'n':
            target.type = JsonValue::Type::Null;
            return readLiteralRest("ull");
        case 't':
            target.type = JsonValue::Type::Bool;
            target.boolean = true;
            return readLiteralRest("rue");
        case 'f':
            target.type = JsonValue::Type::Bool;
            return readLiteralRest("alse");
        case '"': {
            target.type = JsonValue::Type::String;
            std::string_view text;
            if (!readString(text))
                return false;
            target.text.assign(text);
            return true;
        }
        case '[':
            target.type = JsonValue::Type::Array;
            return readArray(nullptr);
        case '{':
            target.type = JsonValue::Type::Object;
            return readObject(nullptr);
        case ',':
            return fail(JsonFault::IllegalValue);
        case ']':
        case '}':
            return fail(JsonFault::MissingValue);
        default:
            --at_;
            target.type = JsonValue::Type::Number;
            return readNumber(target);
        }
    }

    // The rest of null, true or false, which must leave a character after it.
    bool readLiteralRest(std::string_view rest) {
        if (text_.size() - at_ < rest.size() + 1)
            return fail(JsonFault::IllegalValue);
        for (const char expected : rest)
            if (text_[at_++] != expected)
                return fail(JsonFault::IllegalValue);
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
    // "1". A number beyond the range of double keeps its text for the message.
    bool readNumber(JsonValue& value) {
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
        const std::string_view written = text_.substr(start, at_ - start);
        if (!ToDouble(written, value.number)) {
            value.beyondDouble = true;
            value.text.assign(written);
        }
        return true;
    }

    std::size_t utf8Length(std::size_t i) const { return Utf8SequenceLength(text_, i); }

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
        const std::size_t length = utf8Length(at_);
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
    std::size_t at_ = 0;
    int nesting_ = 0;
    JsonFault fault_ = JsonFault::IllegalValue;
    bool isObject_ = false;
    std::string unescaped_;
    JsonValue ignored_; // where values go that only the syntax counts of
    std::size_t arrayLength_ = 0;
};

// A lone number, string or literal is JSON all the same, just not an object: it reads as
// the one value of an array around it.
bool IsSingleValue(std::string_view json) {
    const std::string array = "[" + std::string(json) + "]";
    JsonReader reader(array);
    return reader.readDocument(nullptr) && !reader.isObject() && reader.arrayLength() == 1;
}

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

bool StartsWithUtf16ByteOrderMark(std::string_view json) {
    return json.rfind("\xFF\xFE", 0) == 0 || json.rfind("\xFE\xFF", 0) == 0;
}

} // namespace

AnswersReading ReadAnswers(std::string_view json) {
    if (IsBlank(json))
        return NotRead(AnswersReading::Status::NotJson,
                       "Die Eingabe ist leer, erwartet wird ein JSON-Objekt mit Antworten");
    if (json.size() > kLargestAnswersText)
        return NotRead(AnswersReading::Status::NotJson,
                       "Die Eingabe ist zu groß: ein JSON-Objekt mit Antworten darf höchstens " +
                           std::to_string(kLargestAnswersText) + " Bytes lang sein");
    if (StartsWithUtf16ByteOrderMark(json))
        return NotRead(AnswersReading::Status::NotJson,
                       "Die Eingabe ist in UTF-16 kodiert, erwartet wird UTF-8");
    JsonReader reader(json);
    AnswerFields fields;
    if (!reader.readDocument(&fields)) {
        if (IsSingleValue(json))
            return NotRead(AnswersReading::Status::NotJson,
                           "Die Antworten müssen ein JSON-Objekt sein");
        return NotRead(AnswersReading::Status::NotJson, "Ungültiges JSON bei Byte " +
                                                            std::to_string(reader.faultyByte()) +
                                                            ": " + Reason(reader.fault()));
    }
    if (!reader.isObject())
        return NotRead(AnswersReading::Status::NotJson,
                       "Die Antworten müssen ein JSON-Objekt sein");
    return ReadFields(fields, AnswersSource::Json);
}

} // namespace msr
