#include "cli/answers_json.h"

#include "evaluation/admission.h"

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
#include <variant>

namespace msr::cli {
namespace {

using Member = std::variant<Choice Answers::*, bool Answers::*, std::string Answers::*>;

struct Input {
    const char* key;
    Member member;
    int choiceCount; // choice inputs only
};

// In the order of the questionnaire, so that the first fault named is the first a user
// would meet going through the dialogs.
const Input kInputs[] = {
    {"YearClass", &Answers::YearClass, 7},
    {"Built1980Side", &Answers::Built1980Side, 2},
    {"LivingArea", &Answers::LivingArea, 0},
    {"IsApartment", &Answers::IsApartment, 0},
    {"GuestToilet", &Answers::GuestToilet, 0},
    {"TubAndShower", &Answers::TubAndShower, 0},
    {"FloorCovering", &Answers::FloorCovering, 4},
    {"HeatingKind", &Answers::HeatingKind, 4},
    {"CaptiveRooms", &Answers::CaptiveRooms, 0},
    {"NoKitchenHotWater", &Answers::NoKitchenHotWater, 0},
    {"BalconyOrLoggia", &Answers::BalconyOrLoggia, 0},
    {"Terrace", &Answers::Terrace, 0},
    {"SoundproofWindows", &Answers::SoundproofWindows, 0},
    {"BarrierFree", &Answers::BarrierFree, 2},
    {"HeatingRenewed", &Answers::HeatingRenewed, 0},
    {"BathRenewed", &Answers::BathRenewed, 0},
    {"Insulation", &Answers::Insulation, 3},
    {"NoiseImpairment", &Answers::NoiseImpairment, 0},
    {"CityArea", &Answers::CityArea, 7},
};

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
std::string ReadChoice(const Input& input, const QJsonValue& value, Choice& target) {
    if (value.isNull()) {
        target = kNone;
        return {};
    }
    const double number = value.toDouble(0.5); // anything but a number fails below
    if (!value.isDouble() || number != std::floor(number) || number < 1 ||
        number > input.choiceCount)
        return WrongValue(input.key, value,
                          "erlaubt sind die ganzen Zahlen 1 bis " +
                              std::to_string(input.choiceCount) + " und null für keine Auswahl");
    target = static_cast<Choice>(number);
    return {};
}

std::string ReadYesNo(const Input& input, const QJsonValue& value, bool& target) {
    if (!value.isBool())
        return WrongValue(input.key, value, "erlaubt sind true und false");
    target = value.toBool();
    return {};
}

std::string ReadText(const Input& input, const QJsonValue& value, std::string& target) {
    if (!value.isString())
        return WrongValue(input.key, value,
                          "erwartet wird der Text, wie er eingegeben wurde, als Zeichenkette");
    target = value.toString().toStdString();
    return {};
}

std::string ReadInput(const Input& input, const QJsonValue& value, Answers& answers) {
    if (auto choice = std::get_if<Choice Answers::*>(&input.member))
        return ReadChoice(input, value, answers.**choice);
    if (auto yesNo = std::get_if<bool Answers::*>(&input.member))
        return ReadYesNo(input, value, answers.**yesNo);
    return ReadText(input, value, answers.*std::get<std::string Answers::*>(input.member));
}

bool IsInputName(const QString& key) {
    for (const Input& input : kInputs)
        if (key == QLatin1String(input.key))
            return true;
    return false;
}

std::optional<std::string> FirstUnknownKey(const QJsonObject& object) {
    for (auto it = object.constBegin(); it != object.constEnd(); ++it)
        if (!IsInputName(it.key()))
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
    for (const Input& input : kInputs) {
        const auto found = object.constFind(QLatin1String(input.key));
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
