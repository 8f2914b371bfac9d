#include "cli/answers_json.h"

#include "evaluation/admission.h"
#include "evaluation/inputs.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QLocale>
#include <QString>

#include <cmath>
#include <optional>

namespace msr::cli {
namespace {

std::string ParseErrorReason(QJsonParseError::ParseError error) {
    switch (error) {
    case QJsonParseError::UnterminatedObject:
        return "Objekt nicht mit } abgeschlossen";
    case QJsonParseError::MissingNameSeparator:
        return "Doppelpunkt nach dem Schlüssel fehlt";
    case QJsonParseError::UnterminatedArray:
        return "Liste nicht mit ] abgeschlossen";
    case QJsonParseError::MissingValueSeparator:
        return "Komma zwischen zwei Einträgen fehlt";
    case QJsonParseError::IllegalValue:
        return "ungültiger Wert";
    case QJsonParseError::TerminationByNumber:
        return "Eingabe endet mitten in einer Zahl";
    case QJsonParseError::IllegalNumber:
        return "ungültige Zahl";
    case QJsonParseError::IllegalEscapeSequence:
        return "ungültige Escape-Sequenz";
    case QJsonParseError::IllegalUTF8String:
        return "ungültiges UTF-8";
    case QJsonParseError::UnterminatedString:
        return "Zeichenkette nicht abgeschlossen";
    case QJsonParseError::MissingObject:
        return "Wert erwartet";
    case QJsonParseError::DeepNesting:
        return "zu tief verschachtelt";
    case QJsonParseError::DocumentTooLarge:
        return "Dokument zu groß";
    case QJsonParseError::GarbageAtEnd:
        return "weitere Zeichen nach dem Ende des Objekts";
    case QJsonParseError::NoError:
        break;
    }
    return "unbekannter Fehler";
}

// The 1-based byte at which the text went wrong. Qt's offset lies just past the faulty
// character, except for characters after the end and bytes that are no UTF-8, where it is
// that character's index.
long long FaultyByte(const QJsonParseError& error) {
    const bool atIndex = error.error == QJsonParseError::GarbageAtEnd ||
                         error.error == QJsonParseError::IllegalUTF8String;
    const long long position = error.offset + (atIndex ? 1 : 0);
    return position < 1 ? 1 : position;
}

// Qt reads only objects and arrays as a whole text; a lone number, string or literal is
// JSON all the same, just not an object.
bool IsSingleValue(std::string_view json) {
    const QByteArray array =
        "[" + QByteArray(json.data(), static_cast<qsizetype>(json.size())) + "]";
    return QJsonDocument::fromJson(array).array().size() == 1;
}

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// How a wrong value shows in a message: numbers and texts as written, the rest by kind.
std::string Describe(const QJsonValue& value) {
    switch (value.type()) {
    case QJsonValue::Null:
        return "null";
    case QJsonValue::Bool:
        return value.toBool() ? "true" : "false";
    case QJsonValue::Double:
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest).toStdString();
    case QJsonValue::String:
        return '"' + value.toString().toStdString() + '"';
    case QJsonValue::Array:
        return "[...]";
    case QJsonValue::Object:
        return "{...}";
    case QJsonValue::Undefined:
        break;
    }
    return "?";
}

std::string WrongValue(const char* key, const QJsonValue& value, const std::string& allowed) {
    return "Ungültiger Wert " + Describe(value) + " für \"" + key + "\": " + allowed;
}

// Each reader stores the value and returns "" or returns the message for a wrong one.
std::string ReadChoice(const InputRow& input, const QJsonValue& value, Choice& target) {
    if (value.isNull()) {
        target = kNone;
        return {};
    }
    const double number = value.toDouble(0.5); // anything but a number fails below
    if (!value.isDouble() || number != std::floor(number) || number < 1 ||
        number > input.choiceCount)
        return WrongValue(input.name, value,
                          "erlaubt sind die ganzen Zahlen 1 bis " +
                              std::to_string(input.choiceCount) + " und null für keine Auswahl");
    target = static_cast<Choice>(number);
    return {};
}

std::string ReadYesNo(const InputRow& input, const QJsonValue& value, bool& target) {
    if (!value.isBool())
        return WrongValue(input.name, value, "erlaubt sind true und false");
    target = value.toBool();
    return {};
}

std::string ReadText(const InputRow& input, const QJsonValue& value, std::string& target) {
    if (!value.isString())
        return WrongValue(input.name, value,
                          "erwartet wird der Text, wie er eingegeben wurde, als Zeichenkette");
    target = value.toString().toStdString();
    return {};
}

std::string ReadInput(const InputRow& input, const QJsonValue& value, Answers& answers) {
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

std::optional<std::string> FirstUnknownKey(const QJsonObject& object) {
    for (auto it = object.constBegin(); it != object.constEnd(); ++it)
        if (!FindInput(it.key().toStdString()))
            return "Unbekannter Schlüssel \"" + it.key().toStdString() +
                   "\"; die erlaubten Schlüssel nennt --help";
    return std::nullopt;
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
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(
        QByteArray::fromRawData(json.data(), static_cast<qsizetype>(json.size())), &error);
    if (error.error != QJsonParseError::NoError && IsSingleValue(json))
        return Refusal(AnswersReading::Status::NotJson,
                       "Die Antworten müssen ein JSON-Objekt sein");
    if (error.error != QJsonParseError::NoError)
        return Refusal(AnswersReading::Status::NotJson, "Ungültiges JSON bei Byte " +
                                                            std::to_string(FaultyByte(error)) +
                                                            ": " + ParseErrorReason(error.error));
    if (!document.isObject())
        return Refusal(AnswersReading::Status::NotJson,
                       "Die Antworten müssen ein JSON-Objekt sein");

    const QJsonObject object = document.object();
    if (auto unknown = FirstUnknownKey(object))
        return Refusal(AnswersReading::Status::Refused, *unknown);

    AnswersReading reading;
    for (const InputRow& input : Inputs()) {
        const auto found = object.constFind(QLatin1String(input.name));
        if (found == object.constEnd())
            continue;
        std::string fault = ReadInput(input, found.value(), reading.answers);
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
