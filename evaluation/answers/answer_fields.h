#pragma once

#include "evaluation/answers/answers_reading.h"
#include "evaluation/answers/inputs.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// What the readers of answers (JSON, a sheet) share: the values of one set of answers filed
// by key, and their checking against the inputs, with the same refusals and messages.
namespace msr {

// One value as the text of answers gives it, before it is checked against its input:
// arrays and objects inside a member are only named by their kind.
struct AnswerValue {
    enum class Type { Null, Bool, Number, String, Array, Object };
    Type type = Type::Null;
    bool boolean = false;
    double number = 0;
    bool beyondDouble = false; // a number too large or too small for double, kept in text
    std::string text;
};

// Where the values come from; the allowed values of a message are worded for it.
enum class AnswersSource { Json, Sheet };

// The values of one set of answers by key; of equal keys the last counts.
struct AnswerFields {
    std::array<std::optional<AnswerValue>, kInputCount> inputs; // in the order of Inputs()
    std::optional<AnswerValue> caseNumber;                      // "Aktenzeichen"
    std::optional<AnswerValue> referenceDay;                    // "Stichtag"
    std::optional<std::string> unknownKey; // the first unknown key in sorted order

    // The place for the key's value: its input's, the case number's, or (for an unknown
    // key, which is noted) nullptr.
    std::optional<AnswerValue>* slot(std::string_view key);
};

// The place of the input of that name in Inputs(), or -1.
int InputIndex(std::string_view name);

// "Unbekannter Schlüssel "<key>"": where the known keys are listed is the front end's to say.
std::string UnknownKeyMessage(std::string_view key);

// A reading that stopped before any answer was taken, with its reason.
AnswersReading NotRead(AnswersReading::Status status, std::string message);

// The answers these values give, or the refusal of the first wrong one in the order of the
// questionnaire; a valid case number is kept in either case.
AnswersReading ReadFields(const AnswerFields& fields, AnswersSource source);

// The length of the UTF-8 sequence that starts at text[i], or 0 where there is none
// (overlong, a surrogate, beyond U+10FFFF, cut short, a lone continuation byte).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i);

// Appends a code point (at most U+10FFFF, no surrogate) as UTF-8.
void AppendUtf8(char32_t code, std::string& out);

// A number as written in a message: the shortest digits, in the shorter of the plain and
// the exponent form: 100, 1e+05, 0.000123, 1e-05.
std::string ShortestNumber(double number);

} // namespace msr
