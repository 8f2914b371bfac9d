#include "evaluation/answers/answer_fields.h"

#include "evaluation/answers/blanks.h"
#include "evaluation/answers/visible_text.h"

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace msr {
namespace {

// The C library reads and writes numbers with the decimal point of the C locale, which the
// native program sets from the environment ("," in German); a message's is ".".
double ReadBack(std::string text) {
    const char* point = std::localeconv()->decimal_point;
    const std::size_t at = text.find('.');
    if (at != std::string::npos && point != nullptr && *point != '\0')
        text.replace(at, 1, point);
    return std::strtod(text.c_str(), nullptr);
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
        if (ReadBack(text) == std::fabs(number))
            break;
    }
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
}

// How a wrong value shows in a message: numbers and texts as written, the rest by kind.
std::string Describe(const AnswerValue& value) {
    switch (value.type) {
    case AnswerValue::Type::Null:
        return "null";
    case AnswerValue::Type::Bool:
        return value.boolean ? "true" : "false";
    case AnswerValue::Type::Number:
        return value.beyondDouble ? value.text : ShortestNumber(value.number);
    case AnswerValue::Type::String:
        return '"' + WithVisibleControls(value.text) + '"';
    case AnswerValue::Type::Array:
        return "[...]";
    case AnswerValue::Type::Object:
        return "{...}";
    }
    return "?";
}

std::string WrongValue(const char* key, const AnswerValue& value, const std::string& allowed) {
    return "Ungültiger Wert " + Describe(value) + " für \"" + key + "\": " + allowed;
}

// Each reader stores the value and returns "" or returns the message for a wrong one.
std::string ReadChoice(const InputRow& input, const AnswerValue& value, AnswersSource source,
                       Choice& target) {
    if (value.type == AnswerValue::Type::Null) {
        target = kNone;
        return {};
    }
    const bool isNumber = value.type == AnswerValue::Type::Number;
    if (!isNumber || value.beyondDouble || value.number != std::floor(value.number) ||
        value.number < 1 || value.number > input.choiceCount)
        return WrongValue(input.name, value,
                          "erlaubt sind die ganzen Zahlen 1 bis " +
                              std::to_string(input.choiceCount) +
                              (source == AnswersSource::Json ? " und null für keine Auswahl"
                                                             : " und ein leeres Feld für keine "
                                                               "Auswahl"));
    target = static_cast<Choice>(value.number);
    return {};
}

std::string ReadYesNo(const InputRow& input, const AnswerValue& value, AnswersSource source,
                      bool& target) {
    if (value.type != AnswerValue::Type::Bool)
        return WrongValue(input.name, value,
                          source == AnswersSource::Json
                              ? "erlaubt sind true und false"
                              : "erlaubt sind ja, nein, x, 1, 0, wahr, falsch, true, false und "
                                "ein leeres Feld");
    target = value.boolean;
    return {};
}

std::string ReadText(const InputRow& input, const AnswerValue& value, std::string& target) {
    if (value.type != AnswerValue::Type::String)
        return WrongValue(input.name, value,
                          "erwartet wird der Text, wie er eingegeben wurde, als Zeichenkette");
    target = value.text;
    return {};
}

std::string ReadInput(const InputRow& input, const AnswerValue& value, AnswersSource source,
                      Answers& answers) {
    switch (input.kind) {
    case InputKind::Choice:
        return ReadChoice(input, value, source, answers.*input.choice);
    case InputKind::YesNo:
        return ReadYesNo(input, value, source, answers.*input.yesNo);
    case InputKind::Text:
        break;
    }
    return ReadText(input, value, answers.*input.text);
}

// Characters, not bytes: every byte but a UTF-8 continuation byte starts one.
std::size_t CharacterCount(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

bool HasControlCharacter(std::string_view text) {
    return WithVisibleControls(text).size() != text.size();
}

// A case number comes back in every output, so it is a short text that can do no harm
// there.
std::string ReadCaseNumber(const AnswerValue& value, std::optional<std::string>& target) {
    if (value.type != AnswerValue::Type::String ||
        CharacterCount(value.text) > kLongestCaseNumber || HasControlCharacter(value.text))
        return WrongValue(kCaseNumberKey, value,
                          "erwartet wird eine Zeichenkette von höchstens " +
                              std::to_string(kLongestCaseNumber) + " Zeichen ohne Steuerzeichen");
    target = value.text;
    return {};
}

std::string ReadReferenceDay(const AnswerValue& value, std::optional<CalendarDate>& target) {
    if (value.type == AnswerValue::Type::String)
        target = ParseDate(TrimBlanks(value.text));
    if (!target)
        return WrongValue(kReferenceDayKey, value,
                          "erwartet wird ein Tag wie \"2016-03-01\" oder \"01.03.2016\"");
    return {};
}

AnswersReading Refused(AnswersReading reading, std::string message) {
    reading.status = AnswersReading::Status::Refused;
    reading.answers = Answers();
    reading.message = std::move(message);
    return reading;
}

} // namespace

namespace {

// The inputs grouped by the length of their names, so that a key is compared with the few
// names of its length only: every key of every line comes here.
constexpr std::size_t kLongestName = 24;
constexpr std::size_t kMostOfOneLength = 8;

struct NamesOfOneLength {
    std::array<const char*, kMostOfOneLength> names{};
    std::array<int, kMostOfOneLength> inputs{};
    std::size_t count = 0;
};

std::array<NamesOfOneLength, kLongestName + 1> NamesByLength() {
    std::array<NamesOfOneLength, kLongestName + 1> byLength{};
    for (std::size_t i = 0; i < kInputCount; ++i) {
        const char* name = Inputs()[i].name;
        NamesOfOneLength& names = byLength[std::strlen(name)];
        names.names[names.count] = name;
        names.inputs[names.count++] = static_cast<int>(i);
    }
    return byLength;
}

} // namespace

int InputIndex(std::string_view name) {
    static const std::array<NamesOfOneLength, kLongestName + 1> byLength = NamesByLength();
    if (name.empty() || name.size() > kLongestName)
        return -1;
    const NamesOfOneLength& names = byLength[name.size()];
    for (std::size_t k = 0; k < names.count; ++k)
        if (names.names[k][0] == name[0] &&
            std::memcmp(names.names[k], name.data(), name.size()) == 0)
            return names.inputs[k];
    return -1;
}

std::optional<AnswerValue>* AnswerFields::slot(std::string_view key) {
    const int index = InputIndex(key);
    if (index >= 0)
        return &inputs[static_cast<std::size_t>(index)];
    if (key == std::string_view(kCaseNumberKey))
        return &caseNumber;
    if (key == std::string_view(kReferenceDayKey))
        return &referenceDay;
    // The unknown key named is the same whatever order the keys have.
    if (!unknownKey || key < *unknownKey)
        unknownKey = std::string(key);
    return nullptr;
}

std::string UnknownKeyMessage(std::string_view key) {
    return "Unbekannter Schlüssel \"" + WithVisibleControls(key) + '"';
}

AnswersReading NotRead(AnswersReading::Status status, std::string message) {
    AnswersReading reading;
    reading.status = status;
    reading.message = std::move(message);
    return reading;
}

AnswersReading ReadFields(const AnswerFields& fields, AnswersSource source) {
    AnswersReading reading;
    if (fields.caseNumber) {
        std::string fault = ReadCaseNumber(*fields.caseNumber, reading.caseNumber);
        if (!fault.empty())
            return Refused(std::move(reading), std::move(fault));
    }
    if (fields.referenceDay) {
        std::string fault = ReadReferenceDay(*fields.referenceDay, reading.referenceDay);
        if (!fault.empty())
            return Refused(std::move(reading), std::move(fault));
    }
    if (fields.unknownKey) {
        reading.unknownKey = true;
        return Refused(std::move(reading), UnknownKeyMessage(*fields.unknownKey));
    }
    const auto& inputs = Inputs();
    for (std::size_t i = 0; i < kInputCount; ++i) {
        if (!fields.inputs[i])
            continue;
        std::string fault = ReadInput(inputs[i], *fields.inputs[i], source, reading.answers);
        if (!fault.empty())
            return Refused(std::move(reading), std::move(fault));
    }
    // The construction-year dialog never lets a side stand without its class.
    if (reading.answers.Built1980Side != kNone &&
        reading.answers.YearClass != kYearClassSplitAt1980)
        return Refused(std::move(reading),
                       "\"Built1980Side\" ist nur zusammen mit \"YearClass\" 4 (1978 bis 1994) "
                       "erlaubt");
    return reading;
}

void AppendUtf8(char32_t code, std::string& out) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80)
        return 1;
    const std::size_t length = lead >= 0xF0 && lead <= 0xF4   ? 4
                               : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xC2 && lead <= 0xDF ? 2
                                                              : 0;
    if (length == 0 || i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k)
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
            return 0;
    const auto second = static_cast<unsigned char>(text[i + 1]);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F))
        return 0;
    return length;
}

// The plain one where both are as long; the exponent with at least two digits.
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

} // namespace msr
