// The reading of answers from a JSON text, with the standard library alone, so that the
// native and the WebAssembly command-line evaluator read them alike. JSON's own grammar
// is the contract (json_reading.h). A number beyond the range of double is still a number:
// its value is refused.
#include "evaluation/answers/answers_json.h"

#include "evaluation/answers/answer_fields.h"
#include "evaluation/answers/json_reading.h"

#include <array>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace msr {
namespace {

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

// Files the members of the top object among the answers' fields as the reader tells
// them; of a value inside a member only its kind is kept.
class AnswersHandler {
public:
    explicit AnswersHandler(AnswerFields& fields) : fields_(fields) {}

    void beginObject(std::size_t) { enter(AnswerValue::Type::Object); }
    void beginArray(std::size_t) { enter(AnswerValue::Type::Array); }
    void endObject() { --depth_; }
    void endArray() { --depth_; }

    void key(std::string_view key, std::size_t) {
        if (depth_ != 1)
            return;
        std::optional<AnswerValue>* slot = fields_.slot(key);
        value_ = slot != nullptr ? &slot->emplace() : nullptr;
    }

    void scalar(JsonScalar kind, std::string_view text, std::size_t) {
        if (depth_ != 1 || value_ == nullptr)
            return;
        AnswerValue& value = *value_;
        value_ = nullptr;
        switch (kind) {
        case JsonScalar::Null:
            value.type = AnswerValue::Type::Null;
            break;
        case JsonScalar::True:
        case JsonScalar::False:
            value.type = AnswerValue::Type::Bool;
            value.boolean = kind == JsonScalar::True;
            break;
        case JsonScalar::String:
            value.type = AnswerValue::Type::String;
            value.text.assign(text);
            break;
        case JsonScalar::Number:
            value.type = AnswerValue::Type::Number;
            // A number beyond the range of double keeps its text for the message.
            if (!ToDouble(text, value.number)) {
                value.beyondDouble = true;
                value.text.assign(text);
            }
            break;
        }
    }

private:
    void enter(AnswerValue::Type type) {
        if (depth_ == 1 && value_ != nullptr)
            value_->type = type;
        value_ = nullptr;
        ++depth_;
    }

    AnswerFields& fields_;
    int depth_ = 0;
    AnswerValue* value_ = nullptr; // where the value of the member just keyed goes
};

// Counts the values of the top array.
struct TopValueCounter : JsonGrammarOnly {
    void beginObject(std::size_t) {
        count();
        ++depth;
    }
    void beginArray(std::size_t) {
        count();
        ++depth;
    }
    void endObject() { --depth; }
    void endArray() { --depth; }
    void scalar(JsonScalar, std::string_view, std::size_t) { count(); }
    void count() { values += depth == 1 ? 1 : 0; }
    int depth = 0;
    std::size_t values = 0;
};

// A lone number, string or literal is JSON all the same, just not an object: it reads as
// the one value of an array around it.
bool IsSingleValue(std::string_view json) {
    const std::string array = "[" + std::string(json) + "]";
    TopValueCounter counter;
    JsonReader<TopValueCounter> reader(array, counter);
    return reader.readDocument() && counter.values == 1;
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
    AnswerFields fields;
    AnswersHandler handler(fields);
    JsonReader<AnswersHandler> reader(json, handler);
    if (!reader.readDocument()) {
        if (IsSingleValue(json))
            return NotRead(AnswersReading::Status::NotJson,
                           "Die Antworten müssen ein JSON-Objekt sein");
        return NotRead(AnswersReading::Status::NotJson, "Ungültiges JSON bei Byte " +
                                                            std::to_string(reader.faultyByte()) +
                                                            ": " + JsonFaultReason(reader.fault()));
    }
    if (!reader.isObject())
        return NotRead(AnswersReading::Status::NotJson,
                       "Die Antworten müssen ein JSON-Objekt sein");
    return ReadFields(fields, AnswersSource::Json);
}

} // namespace msr
