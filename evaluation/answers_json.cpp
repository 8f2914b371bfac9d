// The reading of answers from a JSON text, with the standard library alone, so that the
// native and the WebAssembly command-line evaluator read them alike. JSON's own grammar
// (RFC 8259) is the contract: whatever it does not allow is broken JSON, named by byte and
// reason as the evaluator has always named them (its users' scripts and the tests hold
// them). A number beyond the range of double is still a number: its value is refused.
#include "evaluation/answers_json.h"

#include "evaluation/admission.h"
#include "evaluation/inputs.h"
#include "evaluation/visible_text.h"

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>

namespace msr {
namespace {

// A JSON value as far as the answers need it: arrays and objects inside a member are
// only named by their kind.
struct JsonValue {
    enum class Type { Null, Bool, Number, String, Array, Object };
    Type type = Type::Null;
    bool boolean = false;
    double number = 0;
    bool beyondDouble = false; // a number too large or too small for double, kept in text
    std::string text;
};

using JsonMembers = std::map<std::string, JsonValue>;

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
    return digits.size() > first && digits.size() - first <= 15 &&
           digits.find_first_not_of("0123456789", first) == std::string_view::npos;
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

    // The whole text: an object, whose members are kept, or an array, whose length is kept.
    bool readDocument() {
        if (text_.size() > 3 && text_.substr(0, 3) == "\xEF\xBB\xBF")
            at_ = 3; // a UTF-8 byte order mark
        const char token = nextToken();
        if (token == '[') {
            if (!readArray(&arrayLength_))
                return false;
        } else if (token == '{') {
            isObject_ = true;
            if (!readObject(&members_))
                return false;
        } else {
            return fail(JsonFault::IllegalValue);
        }
        if (eatBlanks())
            return fail(JsonFault::GarbageAtEnd);
        return true;
    }

    bool isObject() const { return isObject_; }
    const JsonMembers& members() const { return members_; }
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
        return token != '\0' && std::strchr("[]{}:,\"", token) != nullptr ? token : 0;
    }

    bool readObject(JsonMembers* members) {
        if (++nesting_ > kDeepestNesting)
            return fail(JsonFault::DeepNesting);
        char token = nextToken();
        while (token == '"') {
            if (!readMember(members))
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

    // After the opening quote of the key.
    bool readMember(JsonMembers* members) {
        std::string key;
        if (!readString(key))
            return false;
        if (nextToken() != ':')
            return fail(JsonFault::MissingNameSeparator);
        if (!eatBlanks())
            return fail(JsonFault::UnterminatedObject);
        JsonValue value;
        if (!readValue(members != nullptr ? &value : nullptr))
            return false;
        if (members != nullptr)
            (*members)[std::move(key)] = std::move(value); // the last of equal keys counts
        return true;
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
        JsonValue ignored;
        JsonValue& target = value != nullptr ? *value : ignored;
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
        case '"':
            target.type = JsonValue::Type::String;
            return readString(target.text);
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

    static void appendUtf8(std::uint32_t code, std::string& out) {
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (code >> 18)));
            out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }

    // The length of the UTF-8 sequence at i, or 0 when it is none (overlong, a surrogate,
    // beyond U+10FFFF, cut short).
    std::size_t utf8Length(std::size_t i) const {
        const auto lead = static_cast<unsigned char>(text_[i]);
        if (lead < 0x80)
            return 1;
        std::size_t length = lead >= 0xF0 && lead <= 0xF4   ? 4
                             : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xC2 && lead <= 0xDF ? 2
                                                            : 0;
        if (length == 0 || i + length > text_.size())
            return 0;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text_[i + k]) & 0xC0) != 0x80)
                return 0;
        const auto second = static_cast<unsigned char>(text_[i + 1]);
        if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
            (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F))
            return 0;
        return length;
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

    // After the opening quote. A text without escapes is taken as it stands; one with
    // escapes is read again, escape by escape.
    bool readString(std::string& out) {
        const std::size_t start = at_;
        bool escapes = false;
        while (!atEnd() && text_[at_] != '"') {
            if (text_[at_] == '\\') {
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
            out.assign(text_.substr(start, at_ - 1 - start));
            return true;
        }
        at_ = start;
        return readEscapedString(out);
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
                    appendUtf8(0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00), out);
                else
                    out.push_back('?');
                high = 0;
            } else {
                flushHigh();
                appendUtf8(unit, out);
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
    JsonMembers members_;
    std::size_t arrayLength_ = 0;
};

// A lone number, string or literal is JSON all the same, just not an object: it reads as
// the one value of an array around it.
bool IsSingleValue(std::string_view json) {
    const std::string array = "[" + std::string(json) + "]";
    JsonReader reader(array);
    return reader.readDocument() && !reader.isObject() && reader.arrayLength() == 1;
}

// The shortest digits that read back as the same number, and the power of ten just above
// the first of them (0.digits × 10^power).
void ShortestDigits(double number, std::string& digits, int& power) {
    char buffer[48];
    for (int precision = 0; precision <= 16; ++precision) {
        std::snprintf(buffer, sizeof buffer, "%.*e", precision, std::fabs(number));
        const char* exponent = std::strchr(buffer, 'e');
        digits.clear();
        for (const char* c = buffer; c != exponent; ++c)
            if (*c >= '0' && *c <= '9')
                digits.push_back(*c);
        power = std::atoi(exponent + 1) + 1;
        const std::string text =
            digits.substr(0, 1) + "." + digits.substr(1) + "e" + std::to_string(power - 1);
        double back = 0;
        if (ToDouble(text, back) && back == std::fabs(number))
            break;
    }
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
}

// A number as written in a message: the shortest digits, in the shorter of the plain and
// the exponent form (the plain one where both are as long), the exponent with at least two
// digits: 100, 1e+05, 0.000123, 1e-05.
std::string ShortestNumber(double number) {
    if (number == 0)
        return "0"; // negative zero too
    std::string digits;
    int power = 0;
    ShortestDigits(number, digits, power);
    const int count = static_cast<int>(digits.size());
    std::string plain;
    if (power <= 0)
        plain = "0." + std::string(static_cast<std::size_t>(-power), '0') + digits;
    else if (power < count)
        plain = digits.substr(0, static_cast<std::size_t>(power)) + "." +
                digits.substr(static_cast<std::size_t>(power));
    else
        plain = digits + std::string(static_cast<std::size_t>(power - count), '0');
    const int exponent = power - 1;
    std::string exponentDigits = std::to_string(exponent < 0 ? -exponent : exponent);
    if (exponentDigits.size() < 2)
        exponentDigits.insert(0, "0");
    const std::string scientific = digits.substr(0, 1) +
                                   (count > 1 ? "." + digits.substr(1) : std::string()) + "e" +
                                   (exponent < 0 ? "-" : "+") + exponentDigits;
    const std::string sign = number < 0 ? "-" : "";
    return sign + (scientific.size() < plain.size() ? scientific : plain);
}

// How a wrong value shows in a message: numbers and texts as written, the rest by kind.
std::string Describe(const JsonValue& value) {
    switch (value.type) {
    case JsonValue::Type::Null:
        return "null";
    case JsonValue::Type::Bool:
        return value.boolean ? "true" : "false";
    case JsonValue::Type::Number:
        return value.beyondDouble ? value.text : ShortestNumber(value.number);
    case JsonValue::Type::String:
        return '"' + WithVisibleControls(value.text) + '"';
    case JsonValue::Type::Array:
        return "[...]";
    case JsonValue::Type::Object:
        return "{...}";
    }
    return "?";
}

std::string WrongValue(const char* key, const JsonValue& value, const std::string& allowed) {
    return "Ungültiger Wert " + Describe(value) + " für \"" + key + "\": " + allowed;
}

// Each reader stores the value and returns "" or returns the message for a wrong one.
std::string ReadChoice(const InputRow& input, const JsonValue& value, Choice& target) {
    if (value.type == JsonValue::Type::Null) {
        target = kNone;
        return {};
    }
    const bool isNumber = value.type == JsonValue::Type::Number;
    if (!isNumber || value.beyondDouble || value.number != std::floor(value.number) ||
        value.number < 1 || value.number > input.choiceCount)
        return WrongValue(input.name, value,
                          "erlaubt sind die ganzen Zahlen 1 bis " +
                              std::to_string(input.choiceCount) + " und null für keine Auswahl");
    target = static_cast<Choice>(value.number);
    return {};
}

std::string ReadYesNo(const InputRow& input, const JsonValue& value, bool& target) {
    if (value.type != JsonValue::Type::Bool)
        return WrongValue(input.name, value, "erlaubt sind true und false");
    target = value.boolean;
    return {};
}

std::string ReadText(const InputRow& input, const JsonValue& value, std::string& target) {
    if (value.type != JsonValue::Type::String)
        return WrongValue(input.name, value,
                          "erwartet wird der Text, wie er eingegeben wurde, als Zeichenkette");
    target = value.text;
    return {};
}

std::string ReadInput(const InputRow& input, const JsonValue& value, Answers& answers) {
    switch (input.kind) {
    case InputKind::Choice:
        return ReadChoice(input, value, answers.*input.choice);
    case InputKind::YesNo:
        return ReadYesNo(input, value, answers.*input.yesNo);
    case InputKind::Text:
        break;
    }
    return ReadText(input, value, answers.*input.text);
}

// The keys are looked at in sorted order, so that the unknown key named is the same
// whatever order the text has.
std::optional<std::string> FirstUnknownKey(const std::map<std::string, JsonValue>& members) {
    for (const auto& [key, value] : members)
        if (!FindInput(key))
            return "Unbekannter Schlüssel \"" + WithVisibleControls(key) +
                   "\"; die erlaubten Schlüssel nennt --help";
    return std::nullopt;
}

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

bool StartsWithUtf16ByteOrderMark(std::string_view json) {
    return json.rfind("\xFF\xFE", 0) == 0 || json.rfind("\xFE\xFF", 0) == 0;
}

AnswersReading Refusal(AnswersReading::Status status, std::string message) {
    AnswersReading reading;
    reading.status = status;
    reading.message = std::move(message);
    return reading;
}

} // namespace

AnswersReading ReadAnswers(std::string_view json) {
    if (IsBlank(json))
        return Refusal(AnswersReading::Status::NotJson,
                       "Die Eingabe ist leer, erwartet wird ein JSON-Objekt mit Antworten");
    if (json.size() > kLargestAnswersText)
        return Refusal(AnswersReading::Status::NotJson,
                       "Die Eingabe ist zu groß: ein JSON-Objekt mit Antworten darf höchstens " +
                           std::to_string(kLargestAnswersText) + " Bytes lang sein");
    if (StartsWithUtf16ByteOrderMark(json))
        return Refusal(AnswersReading::Status::NotJson,
                       "Die Eingabe ist in UTF-16 kodiert, erwartet wird UTF-8");
    JsonReader reader(json);
    if (!reader.readDocument()) {
        if (IsSingleValue(json))
            return Refusal(AnswersReading::Status::NotJson,
                           "Die Antworten müssen ein JSON-Objekt sein");
        return Refusal(AnswersReading::Status::NotJson, "Ungültiges JSON bei Byte " +
                                                            std::to_string(reader.faultyByte()) +
                                                            ": " + Reason(reader.fault()));
    }
    if (!reader.isObject())
        return Refusal(AnswersReading::Status::NotJson,
                       "Die Antworten müssen ein JSON-Objekt sein");
    const JsonMembers& members = reader.members();
    if (auto unknown = FirstUnknownKey(members))
        return Refusal(AnswersReading::Status::Refused, *unknown);
    AnswersReading reading;
    for (const InputRow& input : Inputs()) {
        const auto found = members.find(input.name);
        if (found == members.end())
            continue;
        std::string fault = ReadInput(input, found->second, reading.answers);
        if (!fault.empty())
            return Refusal(AnswersReading::Status::Refused, std::move(fault));
    }
    // The construction-year dialog never lets a side stand without its class.
    if (reading.answers.Built1980Side != kNone && !NeedsBuilt1980Side(reading.answers.YearClass))
        return Refusal(AnswersReading::Status::Refused,
                       "\"Built1980Side\" ist nur zusammen mit \"YearClass\" 4 (1978 bis 1994) "
                       "erlaubt");
    return reading;
}

} // namespace msr
