// The reading of JSON answers as the core does it for every front end, natively and as
// WebAssembly: broken JSON named by byte and reason, wrong numbers written as the user
// meets them in the message, and texts decoded from their escapes.

#include "evaluation/answers/answers_json.h"
#include "tests/core_check/core_check.h"

#include <optional>
#include <string>

namespace {

using Status = msr::AnswersReading::Status;

struct MessageRow {
    const char* name;
    std::string json;
    Status status;
    std::string message;
};

const std::string kChoiceOf7 =
    "\": erlaubt sind die ganzen Zahlen 1 bis 7 und null für keine Auswahl";

const MessageRow kMessageRows[] = {
    {"object not closed", R"({"YearClass":1,)", Status::NotJson,
     "Ungültiges JSON bei Byte 15: Objekt nicht mit } abgeschlossen"},
    {"ends in a number", R"({"YearClass":1)", Status::NotJson,
     "Ungültiges JSON bei Byte 14: Eingabe endet mitten in einer Zahl"},
    {"colon missing", R"({"YearClass" 1})", Status::NotJson,
     "Ungültiges JSON bei Byte 14: Doppelpunkt nach dem Schlüssel fehlt"},
    {"comma missing in a list", R"({"CityArea":[1 2]})", Status::NotJson,
     "Ungültiges JSON bei Byte 16: Komma zwischen zwei Einträgen fehlt"},
    {"list not closed", R"({"CityArea":[1,)", Status::NotJson,
     "Ungültiges JSON bei Byte 15: Liste nicht mit ] abgeschlossen"},
    {"leading zero", R"({"YearClass":01})", Status::NotJson,
     "Ungültiges JSON bei Byte 15: Objekt nicht mit } abgeschlossen"},
    {"exponent without digits", R"({"YearClass":1e})", Status::NotJson,
     "Ungültiges JSON bei Byte 15: ungültige Zahl"},
    {"a lone minus", R"({"YearClass":-})", Status::NotJson,
     "Ungültiges JSON bei Byte 14: ungültige Zahl"},
    // What JSON's grammar does not allow.
    {"escape \\x", R"({"LivingArea":"\x"})", Status::NotJson,
     "Ungültiges JSON bei Byte 17: ungültige Escape-Sequenz"},
    {"escape \\0", R"({"LivingArea":"\0"})", Status::NotJson,
     "Ungültiges JSON bei Byte 17: ungültige Escape-Sequenz"},
    {"escape \\U", R"({"LivingArea":"\U00e9"})", Status::NotJson,
     "Ungültiges JSON bei Byte 17: ungültige Escape-Sequenz"},
    {"escape \\L in a key", R"({"\LivingArea":"75"})", Status::NotJson,
     "Ungültiges JSON bei Byte 4: ungültige Escape-Sequenz"},
    {"a byte that is no UTF-8 after a backslash", "{\"LivingArea\":\"\\\xC3\"}", Status::NotJson,
     "Ungültiges JSON bei Byte 17: ungültige Escape-Sequenz"},
    {"a raw control character", "{\"LivingArea\":\"7\x01\"}", Status::NotJson,
     "Ungültiges JSON bei Byte 17: Steuerzeichen in einer Zeichenkette"},
    {"a raw line feed in a key", "{\"Living\nArea\":\"75\"}", Status::NotJson,
     "Ungültiges JSON bei Byte 9: Steuerzeichen in einer Zeichenkette"},
    {"a raw NUL", std::string("{\"LivingArea\":\"7\0\"}", 20), Status::NotJson,
     "Ungültiges JSON bei Byte 17: Steuerzeichen in einer Zeichenkette"},
    {"number 1.", R"({"YearClass":1.})", Status::NotJson,
     "Ungültiges JSON bei Byte 15: ungültige Zahl"},
    {"number .5", R"({"YearClass":.5})", Status::NotJson,
     "Ungültiges JSON bei Byte 13: ungültige Zahl"},
    {"number -.5", R"({"YearClass":-.5})", Status::NotJson,
     "Ungültiges JSON bei Byte 14: ungültige Zahl"},
    {"number 1.e5", R"({"YearClass":1.e5})", Status::NotJson,
     "Ungültiges JSON bei Byte 15: ungültige Zahl"},
    {"ends after a point", R"({"YearClass":1.)", Status::NotJson,
     "Ungültiges JSON bei Byte 15: Eingabe endet mitten in einer Zahl"},
    {"escape cut short", R"({"LivingArea":"\u00"})", Status::NotJson,
     "Ungültiges JSON bei Byte 19: ungültige Escape-Sequenz"},
    {"string not closed", R"({"LivingArea":"ab)", Status::NotJson,
     "Ungültiges JSON bei Byte 18: Zeichenkette nicht abgeschlossen"},
    {"literal misspelt", R"({"Terrace":ture})", Status::NotJson,
     "Ungültiges JSON bei Byte 13: ungültiger Wert"},
    // Control characters of the input show in the message, none reaches a terminal.
    {"unknown key in colour", R"({"\u001b[31mROT\u001b[0m":1})", Status::Refused,
     R"(Unbekannter Schlüssel "\u001b[31mROT\u001b[0m")"},
    {"value with NUL and line feed", R"({"Terrace":"ja\u0000\n"})", Status::Refused,
     R"(Ungültiger Wert "ja\u0000\u000a" für "Terrace": erlaubt sind true und false)"},
    {"value with DEL and U+009B", "{\"Terrace\":\"\x7F\\u009b\"}", Status::Refused,
     R"(Ungültiger Wert "\u007f\u009b" für "Terrace": erlaubt sind true und false)"},
    {"a lone number", "75", Status::NotJson, "Die Antworten müssen ein JSON-Objekt sein"},
    {"choice 100", R"({"YearClass":100})", Status::Refused,
     "Ungültiger Wert 100 für \"YearClass" + kChoiceOf7},
    {"choice 1e5", R"({"YearClass":1e5})", Status::Refused,
     "Ungültiger Wert 1e+05 für \"YearClass" + kChoiceOf7},
    {"choice 10000", R"({"YearClass":10000})", Status::Refused,
     "Ungültiger Wert 10000 für \"YearClass" + kChoiceOf7},
    {"choice 0.0001", R"({"YearClass":0.0001})", Status::Refused,
     "Ungültiger Wert 1e-04 für \"YearClass" + kChoiceOf7},
    {"choice 0.000123", R"({"YearClass":0.000123})", Status::Refused,
     "Ungültiger Wert 0.000123 für \"YearClass" + kChoiceOf7},
    {"choice -2.5", R"({"YearClass":-2.5})", Status::Refused,
     "Ungültiger Wert -2.5 für \"YearClass" + kChoiceOf7},
    {"choice of 20 digits", R"({"YearClass":12345678901234567890})", Status::Refused,
     "Ungültiger Wert 12345678901234567000 für \"YearClass" + kChoiceOf7},
    {"smallest double", R"({"YearClass":4.9e-324})", Status::Refused,
     "Ungültiger Wert 5e-324 für \"YearClass" + kChoiceOf7},
    // JSON all the same: numbers beyond double, DEL, an escaped lone surrogate.
    {"number too large for double", R"({"YearClass":2e+325})", Status::Refused,
     "Ungültiger Wert 2e+325 für \"YearClass" + kChoiceOf7},
    {"number too small for double", R"({"CityArea":-1E-400})", Status::Refused,
     "Ungültiger Wert -1E-400 für \"CityArea" + kChoiceOf7},
    {"400 digits", "{\"CityArea\":1" + std::string(400, '0') + "}", Status::Refused,
     "Ungültiger Wert 1" + std::string(400, '0') + " für \"CityArea" + kChoiceOf7},
    {"beyond double as a yes/no", R"({"Terrace":1e999})", Status::Refused,
     "Ungültiger Wert 1e999 für \"Terrace\": erlaubt sind true und false"},
    {"zero in every part", R"({"YearClass":-0.0E+0})", Status::Refused,
     "Ungültiger Wert 0 für \"YearClass" + kChoiceOf7},
};

CHECK_TEST(namesBrokenJsonAndWrongNumbersAsTheEvaluatorAlwaysHas) {
    for (const MessageRow& row : kMessageRows) {
        CHECK_ROW(row.name);
        const msr::AnswersReading reading = msr::ReadAnswers(row.json);
        CHECK(reading.status == row.status);
        CHECK_EQ(reading.message, row.message);
    }
}

struct TextRow {
    const char* name;
    std::string json;
    std::string livingArea;
};

const TextRow kTextRows[] = {
    {"plain UTF-8", "{\"LivingArea\":\"75 m\xC2\xB2\"}", "75 m\xC2\xB2"},
    {"escapes", R"({"LivingArea":"a\"\\\/\b\f\n\r\t\u00e9"})", "a\"\\/\b\f\n\r\t\xC3\xA9"},
    {"a pair of surrogates", R"({"LivingArea":"\ud83d\ude00"})", "\xF0\x9F\x98\x80"},
    {"lone halves", R"({"LivingArea":"\ud83dx\ude00"})", "?x?"},
    {"DEL as it stands", "{\"LivingArea\":\"7\x7F\"}", "7\x7F"},
    {"after a byte order mark", "\xEF\xBB\xBF{\"LivingArea\":\"75\"}", "75"},
    {"the last of equal keys", R"({"LivingArea":"1","LivingArea":"2"})", "2"},
};

CHECK_TEST(readsTextsFromTheirEscapes) {
    for (const TextRow& row : kTextRows) {
        CHECK_ROW(row.name);
        const msr::AnswersReading reading = msr::ReadAnswers(row.json);
        CHECK(reading.status == Status::Read);
        CHECK_EQ(reading.answers.LivingArea, row.livingArea);
    }
}

struct CaseNumberRow {
    const char* name;
    std::string json;
    Status status;
    std::optional<std::string> caseNumber;
    std::string message;
};

const std::string kCaseNumberAllowed =
    "\": erwartet wird eine Zeichenkette von höchstens 100 Zeichen ohne Steuerzeichen";
std::string Umlauts(std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += "\xC3\xA4";
    return text;
}

const CaseNumberRow kCaseNumberRows[] = {
    {"carried through", R"({"Aktenzeichen":"A-17/2026","YearClass":1})", Status::Read, "A-17/2026",
     ""},
    {"absent", R"({"YearClass":1})", Status::Read, std::nullopt, ""},
    {"100 characters", "{\"Aktenzeichen\":\"" + Umlauts(100) + "\"}", Status::Read, Umlauts(100),
     ""},
    {"101 characters", "{\"Aktenzeichen\":\"" + Umlauts(101) + "\"}", Status::Refused, std::nullopt,
     "Ungültiger Wert \"" + Umlauts(101) + "\" für \"Aktenzeichen" + kCaseNumberAllowed},
    {"a number", R"({"Aktenzeichen":17})", Status::Refused, std::nullopt,
     "Ungültiger Wert 17 für \"Aktenzeichen" + kCaseNumberAllowed},
    {"a control character", R"({"Aktenzeichen":"A\u001b"})", Status::Refused, std::nullopt,
     "Ungültiger Wert \"A\\u001b\" für \"Aktenzeichen" + kCaseNumberAllowed},
    {"kept when the answers are refused", R"({"Baujahr":1,"Aktenzeichen":"B-2"})", Status::Refused,
     "B-2", "Unbekannter Schlüssel \"Baujahr\""},
};

CHECK_TEST(carriesTheCaseNumberThrough) {
    for (const CaseNumberRow& row : kCaseNumberRows) {
        CHECK_ROW(row.name);
        const msr::AnswersReading reading = msr::ReadAnswers(row.json);
        CHECK(reading.status == row.status);
        CHECK(reading.caseNumber == row.caseNumber);
        CHECK_EQ(reading.message, row.message);
    }
}

} // namespace

CHECK_MAIN()
