// The command-line evaluator's reading of answers, with the standard library alone, so
// that it builds for WebAssembly: the same keys, values and messages as the desktop's
// Qt-based reader.
#include "cli/answers_json.h"

#include "evaluation/admission.h"
#include "evaluation/inputs.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <variant>

namespace msr::cli {
namespace {

// A JSON value as far as the answers need it: arrays and objects inside a member are
// only named by their kind.
struct JsonValue {
    enum class Type { Null, Bool, Number, String, Array, Object };
    Type type = Type::Null;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::map<std::string, JsonValue> members; // the top-level object only
};

struct ParseFailure {
    std::size_t byte; // 1-based
    const char* reason;
};

// Deeper than any answers go; the same bound as the desktop's reader.
constexpr int kDeepestNesting = 1024;

class JsonParser {
public:
    explicit JsonParser(std::string_view text) : text_(text) {}

    // The whole text as one value, or where and why it went wrong.
    std::variant<JsonValue, ParseFailure> parse() {
        JsonValue value;
        skipBlanks();
        if (!parseValue(value, 0))
            return *failure_;
        skipBlanks();
        if (at_ != text_.size())
            return ParseFailure{at_ + 1, "weitere Zeichen nach dem Ende des Objekts"};
        return value;
    }

private:
    bool fail(std::size_t index, const char* reason) {
        failure_ = ParseFailure{index + 1, reason};
        return false;
    }

    void skipBlanks() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                      text_[at_] == '\n' || text_[at_] == '\r'))
            ++at_;
    }

    bool literal(std::string_view word) {
        if (text_.substr(at_, word.size()) != word)
            return fail(at_, "ungültiger Wert");
        at_ += word.size();
        return true;
    }

    bool parseValue(JsonValue& value, int depth) {
        if (depth > kDeepestNesting)
            return fail(at_, "zu tief verschachtelt");
        if (at_ >= text_.size())
            return fail(at_, "Wert erwartet");
        const char c = text_[at_];
        if (c == '{')
            return parseObject(value, depth);
        if (c == '[')
            return parseArray(value, depth);
        if (c == '"') {
            value.type = JsonValue::Type::String;
            return parseString(value.text);
        }
        if (c == 't' || c == 'f') {
            value.type = JsonValue::Type::Bool;
            value.boolean = c == 't';
            return literal(value.boolean ? "true" : "false");
        }
        if (c == 'n') {
            value.type = JsonValue::Type::Null;
            return literal("null");
        }
        if (c == '-' || (c >= '0' && c <= '9')) {
            value.type = JsonValue::Type::Number;
            return parseNumber(value.number);
        }
        return fail(at_, "ungültiger Wert");
    }

    std::size_t digitsFrom(std::size_t i) const {
        std::size_t n = 0;
        while (i + n < text_.size() && text_[i + n] >= '0' && text_[i + n] <= '9')
            ++n;
        return n;
    }

    bool parseNumber(double& number) {
        const std::size_t start = at_;
        std::size_t i = at_;
        if (text_[i] == '-')
            ++i;
        std::size_t n = digitsFrom(i);
        if (n == 0)
            return fail(i < text_.size() ? i : start, "ungültige Zahl");
        // A leading zero stands alone, as JSON has it.
        if (n > 1 && text_[i] == '0')
            return fail(i, "ungültige Zahl");
        i += n;
        // The desktop's reader takes "1." and "1.e5": the digits after the point may be
        // missing.
        if (i < text_.size() && text_[i] == '.')
            i += digitsFrom(i + 1) + 1;
        if (i < text_.size() && (text_[i] == 'e' || text_[i] == 'E')) {
            ++i;
            if (i < text_.size() && (text_[i] == '+' || text_[i] == '-'))
                ++i;
            n = digitsFrom(i);
            if (n == 0)
                return fail(i, i < text_.size() ? "ungültige Zahl"
                                                : "Eingabe endet mitten in einer Zahl");
            i += n;
        }
        const std::string digits(text_.substr(start, i - start));
        number = std::strtod(digits.c_str(), nullptr);
        if (std::isinf(number))
            return fail(start, "ungültige Zahl");
        at_ = i;
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

    bool hexQuad(std::size_t i, std::uint32_t& code) const {
        if (i + 4 > text_.size())
            return false;
        code = 0;
        for (std::size_t k = i; k < i + 4; ++k) {
            const char c = text_[k];
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (digit < 0)
                return false;
            code = code * 16 + static_cast<std::uint32_t>(digit);
        }
        return true;
    }

    // After the backslash of an escape; appends what it stands for.
    bool parseEscape(std::string& out) {
        const char c = text_[at_];
        const char* simple = "\"\\/bfnrt";
        const char* meaning = "\"\\/\b\f\n\r\t";
        if (const char* found = c ? std::strchr(simple, c) : nullptr) {
            out.push_back(meaning[found - simple]);
            ++at_;
            return true;
        }
        std::uint32_t code = 0;
        if (c != 'u') {
            // The desktop's reader takes any other escaped character as itself.
            return appendCharacter(out);
        }
        if (!hexQuad(at_ + 1, code))
            return fail(at_, "ungültige Escape-Sequenz");
        at_ += 5;
        std::uint32_t low = 0;
        if (code >= 0xD800 && code < 0xDC00 && text_.substr(at_, 2) == "\\u" &&
            hexQuad(at_ + 2, low) && low >= 0xDC00 && low < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            at_ += 6;
        } else if (code >= 0xD800 && code < 0xE000) {
            code = '?'; // a lone half of a pair, as the desktop's reader turns it into text
        }
        appendUtf8(code, out);
        return true;
    }

    // The length of the UTF-8 sequence at i, or 0 when it is none.
    std::size_t utf8Length(std::size_t i) const {
        const auto lead = static_cast<unsigned char>(text_[i]);
        std::size_t length = lead >= 0xF0 && lead <= 0xF4   ? 4
                             : lead >= 0xE0                 ? 3
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

    // Copies the character at the current position, one byte or a UTF-8 sequence.
    bool appendCharacter(std::string& out) {
        if (static_cast<unsigned char>(text_[at_]) < 0x80) {
            out.push_back(text_[at_++]);
            return true;
        }
        const std::size_t length = utf8Length(at_);
        if (length == 0)
            return fail(at_, "ungültiges UTF-8");
        out.append(text_.substr(at_, length));
        at_ += length;
        return true;
    }

    bool parseString(std::string& out) {
        ++at_; // the opening quote
        for (;;) {
            if (at_ >= text_.size())
                return fail(at_, "Zeichenkette nicht abgeschlossen");
            const auto c = static_cast<unsigned char>(text_[at_]);
            if (c == '"') {
                ++at_;
                return true;
            }
            if (c == '\\') {
                ++at_;
                if (at_ >= text_.size())
                    return fail(at_, "Zeichenkette nicht abgeschlossen");
                if (!parseEscape(out))
                    return false;
            } else if (!appendCharacter(out)) {
                // Control characters pass too, as the desktop's reader lets them.
                return false;
            }
        }
    }

    bool parseArray(JsonValue& value, int depth) {
        value.type = JsonValue::Type::Array;
        ++at_;
        skipBlanks();
        if (at_ < text_.size() && text_[at_] == ']') {
            ++at_;
            return true;
        }
        for (;;) {
            JsonValue element;
            skipBlanks();
            if (!parseValue(element, depth + 1))
                return false;
            skipBlanks();
            if (at_ >= text_.size())
                return fail(at_, "Liste nicht mit ] abgeschlossen");
            if (text_[at_] == ']') {
                ++at_;
                return true;
            }
            if (text_[at_] != ',')
                return fail(at_, "Komma zwischen zwei Einträgen fehlt");
            ++at_;
        }
    }

    bool parseObject(JsonValue& value, int depth) {
        value.type = JsonValue::Type::Object;
        ++at_;
        skipBlanks();
        if (at_ < text_.size() && text_[at_] == '}') {
            ++at_;
            return true;
        }
        for (;;) {
            skipBlanks();
            if (at_ >= text_.size())
                return fail(at_, "Objekt nicht mit } abgeschlossen");
            if (text_[at_] != '"')
                return fail(at_, "ungültiger Wert");
            std::string key;
            if (!parseString(key))
                return false;
            skipBlanks();
            if (at_ >= text_.size() || text_[at_] != ':')
                return fail(at_, "Doppelpunkt nach dem Schlüssel fehlt");
            ++at_;
            skipBlanks();
            JsonValue member;
            if (!parseValue(member, depth + 1))
                return false;
            if (depth == 0)
                value.members[key] = std::move(member); // the last of equal keys counts
            skipBlanks();
            if (at_ >= text_.size())
                return fail(at_, "Objekt nicht mit } abgeschlossen");
            if (text_[at_] == '}') {
                ++at_;
                return true;
            }
            if (text_[at_] != ',')
                return fail(at_, "Komma zwischen zwei Einträgen fehlt");
            ++at_;
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
    std::optional<ParseFailure> failure_;
};

// The shortest text that reads back as the same number, as printf's %g writes it.
std::string ShortestNumber(double number) {
    if (number == 0)
        return "0"; // negative zero too
    char buffer[40];
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(buffer, sizeof buffer, "%.*g", precision, number);
        if (std::strtod(buffer, nullptr) == number)
            break;
    }
    return buffer;
}

// How a wrong value shows in a message: numbers and texts as written, the rest by kind.
std::string Describe(const JsonValue& value) {
    switch (value.type) {
    case JsonValue::Type::Null:
        return "null";
    case JsonValue::Type::Bool:
        return value.boolean ? "true" : "false";
    case JsonValue::Type::Number:
        return ShortestNumber(value.number);
    case JsonValue::Type::String:
        return '"' + value.text + '"';
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
    if (!isNumber || value.number != std::floor(value.number) || value.number < 1 ||
        value.number > input.choiceCount)
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

// The keys are looked at in sorted order, as the desktop's reader keeps them.
std::optional<std::string> FirstUnknownKey(const std::map<std::string, JsonValue>& members) {
    for (const auto& [key, value] : members)
        if (!FindInput(key))
            return "Unbekannter Schlüssel \"" + key + "\"; die erlaubten Schlüssel nennt --help";
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
    auto parsed = JsonParser(json).parse();
    if (auto failure = std::get_if<ParseFailure>(&parsed))
        return Refusal(AnswersReading::Status::NotJson, "Ungültiges JSON bei Byte " +
                                                            std::to_string(failure->byte) + ": " +
                                                            failure->reason);
    const JsonValue& document = std::get<JsonValue>(parsed);
    if (document.type != JsonValue::Type::Object)
        return Refusal(AnswersReading::Status::NotJson,
                       "Die Antworten müssen ein JSON-Objekt sein");
    if (auto unknown = FirstUnknownKey(document.members))
        return Refusal(AnswersReading::Status::Refused, *unknown);

    AnswersReading reading;
    for (const InputRow& input : Inputs()) {
        const auto found = document.members.find(input.name);
        if (found == document.members.end())
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

} // namespace msr::cli
