// A sheet of answers as spreadsheets save it, row by row: each row reads as the JSON text of
// the same answers reads, and what is no CSV is named by byte.

#include "evaluation/answers/answers_json.h"
#include "evaluation/answers/answers_sheet.h"
#include "evaluation/answers/inputs.h"
#include "tests/core_check/core_check.h"

#include <string>
#include <vector>

namespace {

using Status = msr::AnswersReading::Status;

struct SheetRow {
    const char* name;
    std::string header;
    std::vector<std::string> lines; // the lines of one record, as the caller reads them
    std::string json;               // the same answers as JSON; empty: as below
    Status status = Status::Read;
    std::string message;
};

const std::string kCityAreaAllowed =
    "\": erlaubt sind die ganzen Zahlen 1 bis 7 und ein leeres Feld für keine Auswahl";

const SheetRow kSheetRows[] = {
    {"columns in any order",
     "CityArea;LivingArea;YearClass",
     {"3;75;1"},
     R"({"YearClass":1,"LivingArea":"75","CityArea":3})",
     Status::Read,
     ""},
    {"byte order mark and CR LF",
     "\xEF\xBB\xBFYearClass;LivingArea\r",
     {"4;60\r"},
     R"({"YearClass":4,"LivingArea":"60"})",
     Status::Read,
     ""},
    {"yes and no as spreadsheets write them",
     "IsApartment;GuestToilet;TubAndShower;Terrace;BalconyOrLoggia;CaptiveRooms;NoiseImpairment",
     {"Ja;x;1;WAHR; true ;nein;"},
     R"({"IsApartment":true,"GuestToilet":true,"TubAndShower":true,"Terrace":true,
         "BalconyOrLoggia":true,"CaptiveRooms":false})",
     Status::Read,
     ""},
    {"quotes, a quote and a line break in a field",
     "Aktenzeichen;LivingArea",
     {"\"A \"\"17\"\";B\";\"7", "5\""},
     R"({"Aktenzeichen":"A \"17\";B","LivingArea":"7\n5"})",
     Status::Read,
     ""},
    {"empty cells are no answers",
     "YearClass;Built1980Side;LivingArea;CityArea",
     {";;;"},
     "{}",
     Status::Read,
     ""},
    {"fewer cells than columns",
     "YearClass;LivingArea;CityArea",
     {"2"},
     R"({"YearClass":2})",
     Status::Read,
     ""},
    {"a column without a name stays empty",
     "YearClass;;CityArea",
     {"2;;5"},
     R"({"YearClass":2,"CityArea":5})",
     Status::Read,
     ""},
    {"a side without 1978 bis 1994",
     "YearClass;Built1980Side",
     {"1;1"},
     R"({"YearClass":1,"Built1980Side":1})",
     Status::Read,
     ""},
    {"a case number too long",
     "Aktenzeichen",
     {std::string(101, 'A')},
     "{\"Aktenzeichen\":\"" + std::string(101, 'A') + "\"}",
     Status::Read,
     ""},
    {"a choice by its caption",
     "CityArea",
     {"Lindmoor"},
     "",
     Status::Refused,
     "Ungültiger Wert \"Lindmoor\" für \"CityArea" + kCityAreaAllowed},
    {"choices with their captions, as the template's lists write them",
     "YearClass;FloorCovering;CityArea",
     {"4 1978 bis 1994; 3 Parkett, Keramikboden, aufgearbeitete Hobeldielen oder Naturstein ;"
      "6 Varlstadt-Süd"},
     R"({"YearClass":4,"FloorCovering":3,"CityArea":6})",
     Status::Read,
     ""},
    {"a choice with another choice's caption",
     "CityArea",
     {"3 Lindmoor"},
     "",
     Status::Refused,
     "Ungültiger Wert \"3 Lindmoor\" für \"CityArea" + kCityAreaAllowed},
    {"a choice's caption cut short",
     "CityArea",
     {"3 Varlstadt"},
     "",
     Status::Refused,
     "Ungültiger Wert \"3 Varlstadt\" für \"CityArea" + kCityAreaAllowed},
    {"a choice's caption after two blanks",
     "CityArea",
     {"3  Varlstadt-West"},
     "",
     Status::Refused,
     "Ungültiger Wert \"3  Varlstadt-West\" für \"CityArea" + kCityAreaAllowed},
    {"a choice beyond its group with a caption",
     "CityArea",
     {"8 Lindmoor"},
     "",
     Status::Refused,
     "Ungültiger Wert \"8 Lindmoor\" für \"CityArea" + kCityAreaAllowed},
    {"a choice beyond its group",
     "CityArea",
     {"8"},
     "",
     Status::Refused,
     "Ungültiger Wert 8 für \"CityArea" + kCityAreaAllowed},
    {"a yes/no word of no meaning",
     "Terrace",
     {"vielleicht"},
     "",
     Status::Refused,
     "Ungültiger Wert \"vielleicht\" für \"Terrace\": erlaubt sind ja, nein, x, 1, 0, wahr, "
     "falsch, true, false und ein leeres Feld"},
    {"a value beyond the columns",
     "LivingArea",
     {"75;3"},
     "",
     Status::Refused,
     "Wert \"3\" in Spalte 2 ohne Überschrift"},
    {"quotes never closed",
     "LivingArea",
     {"\"75"},
     "",
     Status::NotJson,
     "Ungültige CSV-Zeile in Spalte \"LivingArea\" bei Byte 1: Anführungszeichen nicht "
     "geschlossen"},
    {"text after the closing quote",
     "LivingArea",
     {"\"7\"5"},
     "",
     Status::NotJson,
     "Ungültige CSV-Zeile in Spalte \"LivingArea\" bei Byte 4: Semikolon nach dem "
     "Anführungszeichen erwartet"},
    {"a quote inside an unquoted cell is data",
     "Aktenzeichen;YearClass;LivingArea;CityArea",
     {"AZ 5\" Zoll;1;75;3"},
     R"({"Aktenzeichen":"AZ 5\" Zoll","YearClass":1,"LivingArea":"75","CityArea":3})",
     Status::Read,
     ""},
    {"LibreOffice's commas",
     "Aktenzeichen,YearClass,LivingArea,CityArea",
     {"\"Schäfer, 2. OG\",2,\"52,5\",3"},
     R"({"Aktenzeichen":"Schäfer, 2. OG","YearClass":2,"LivingArea":"52,5","CityArea":3})",
     Status::Read,
     ""},
    {"Tabs",
     "YearClass\tAktenzeichen\tCityArea",
     {"4\tA;B,C\t3"},
     R"({"YearClass":4,"Aktenzeichen":"A;B,C","CityArea":3})",
     Status::Read,
     ""},
    {"text after the closing quote, commas",
     "Aktenzeichen,LivingArea",
     {"\"A\"B,75"},
     "",
     Status::NotJson,
     "Ungültige CSV-Zeile in Spalte \"Aktenzeichen\" bei Byte 4: Komma nach dem "
     "Anführungszeichen erwartet"},
    {"saved as Windows-1252",
     "LivingArea",
     {"75 m\xB2"},
     "",
     Status::NotJson,
     "Ungültige CSV-Zeile bei Byte 5: ungültiges UTF-8 (die Tabelle muss als UTF-8 gespeichert "
     "sein)"},
};

void CheckSameAnswers(const msr::Answers& read, const msr::Answers& expected) {
    for (const msr::InputRow& input : msr::Inputs()) {
        CHECK_ROW(input.name);
        switch (input.kind) {
        case msr::InputKind::Choice:
            CHECK_EQ(read.*input.choice, expected.*input.choice);
            break;
        case msr::InputKind::YesNo:
            CHECK_EQ(read.*input.yesNo, expected.*input.yesNo);
            break;
        case msr::InputKind::Text:
            CHECK_EQ(read.*input.text, expected.*input.text);
            break;
        }
    }
}

CHECK_TEST(readsEachRowAsTheJsonOfTheSameAnswers) {
    for (const SheetRow& row : kSheetRows) {
        CHECK_ROW(row.name);
        msr::AnswersSheet sheet;
        const char separator = msr::AnswersSheet::FindSeparator(row.header);
        msr::SheetRecords records(separator);
        records.addLine(row.header);
        msr::SheetRecord header;
        CHECK(records.next(header));
        CHECK(!sheet.readHeader(header.text, separator));
        for (const std::string& line : row.lines)
            records.addLine(line);
        records.finish();
        msr::SheetRecord record;
        CHECK(records.next(record));
        const msr::AnswersReading reading = sheet.readRow(record);
        if (row.json.empty()) {
            CHECK(reading.status == row.status);
            CHECK_EQ(reading.message, row.message);
            continue;
        }
        const msr::AnswersReading expected = msr::ReadAnswers(row.json);
        CHECK(reading.status == expected.status);
        CHECK_EQ(reading.message, expected.message);
        CHECK(reading.caseNumber == expected.caseNumber);
        CheckSameAnswers(reading.answers, expected.answers);
    }
}

struct HeaderRow {
    const char* name;
    std::string header;
    std::string refusal; // empty: taken
};

const HeaderRow kHeaderRows[] = {
    {"every input and the case number",
     "Aktenzeichen;YearClass;Built1980Side;LivingArea;IsApartment;GuestToilet;TubAndShower;"
     "FloorCovering;HeatingKind;CaptiveRooms;NoKitchenHotWater;BalconyOrLoggia;Terrace;"
     "SoundproofWindows;BarrierFree;HeatingRenewed;BathRenewed;Insulation;NoiseImpairment;"
     "CityArea",
     ""},
    {"quoted names with blanks and an empty column", "\" YearClass \";CityArea;;", ""},
    {"an unknown name", "YearClass;Baujahr", "Unbekannter Schlüssel \"Baujahr\""},
    {"an unknown name in colour", "\x1b[31mROT", "Unbekannter Schlüssel \"\\u001b[31mROT\""},
    {"a name twice", "CityArea;YearClass;CityArea",
     "Die Spalte \"CityArea\" steht zweimal in der Kopfzeile"},
    {"a name misspelt", "Aktenzeichen;Cityarea",
     "Unbekannter Schlüssel \"Cityarea\" (gemeint ist wohl \"CityArea\")"},
    {"a name misspelt twice over", "IsAppartmnt",
     "Unbekannter Schlüssel \"IsAppartmnt\" (gemeint ist wohl \"IsApartment\")"},
    {"commas", "YearClass,LivingArea,Baujahr", "Unbekannter Schlüssel \"Baujahr\""},
    {"many columns, one twice at the end", std::string(200000, ';') + "CityArea;CityArea",
     "Die Spalte \"CityArea\" steht zweimal in der Kopfzeile"},
};

CHECK_TEST(readsTheHeaderOfInputNames) {
    for (const HeaderRow& row : kHeaderRows) {
        CHECK_ROW(row.name);
        msr::AnswersSheet sheet;
        const char separator = msr::AnswersSheet::FindSeparator(row.header);
        CHECK_EQ(sheet.readHeader(row.header, separator).value_or(""), row.refusal);
    }
}

} // namespace

CHECK_MAIN()
