// An edition of the rent index read from its file: the built-in one to the bit, a table of
// bad editions with the message each gets, and the edition a day chooses.

#include "evaluation/number/extended_decimal.h"
#include "evaluation/rent_index/edition_reading.h"
#include "evaluation/rent_index/editions.h"
#include "tests/core_check/core_check.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

template <typename Binary> std::uint64_t Bits(Binary value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof value);
    return bits;
}

const msr::Edition& BuiltIn() {
    static const msr::Edition edition =
        *msr::ReadEdition(msr::BuiltInEditionText(), msr::kBuiltInEditionFile).edition;
    return edition;
}

// The built-in text with one piece replaced; the piece must stand in it exactly once.
std::string Changed(const std::string& from, const std::string& to) {
    std::string text(msr::BuiltInEditionText());
    const std::size_t at = text.find(from);
    if (at == std::string::npos || text.find(from, at + 1) != std::string::npos) {
        std::fprintf(stderr, "the built-in edition holds \"%s\" not exactly once\n", from.c_str());
        std::abort();
    }
    return text.replace(at, from.size(), to);
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

// Every figure and amount reads to the value a C++ literal of its text has: the values the
// evaluation always computed with.
CHECK_TEST(builtInFiguresAreTheLiteralsToTheBit) {
    const msr::Edition& edition = BuiltIn();
    // clang-format off
    const float years[7][3] = {
        {3.58f, 5.19f, 4.40f}, {3.83f, 5.30f, 4.60f}, {4.14f, 5.43f, 4.70f}, {4.73f, 6.38f, 5.41f},
        {5.18f, 6.85f, 5.97f}, {5.47f, 7.33f, 6.36f}, {6.07f, 8.18f, 6.72f}};
    const float sizeBounds[] = {40.0f, 50.0f, 60.0f, 110.0f, 120.0f,
                                std::numeric_limits<float>::infinity()};
    const double sizeAmounts[] = {0.82, 0.41, 0.21, 0.0, -0.21, -0.32};
    const double features[] = {
        0.18, 0.26,                                      // bathroom
        -0.35, -0.14, 0.24, 0.34,                        // flooring
        -0.05, -0.07, -0.44, -0.54,                      // heating
        -0.06, -0.12, 0.08, 0.23, 0.21, 0.07, 0.30,      // further
        0.29, 0.37, 0.45, 0.08, 0.07,                    // modernisation
        -0.09,                                           // environment
        0.56, -0.19, 0.0, 0.0, 0.13, 0.48, 0.21};        // area
    // clang-format on
    CHECK_EQ(edition.yearClasses.size(), std::size_t{7});
    for (std::size_t i = 0; i < 7; ++i) {
        CHECK_ROW("yearClasses[" + std::to_string(i) + "]");
        CHECK_EQ(Bits(edition.yearClasses[i].low), Bits(years[i][0]));
        CHECK_EQ(Bits(edition.yearClasses[i].high), Bits(years[i][1]));
        CHECK_EQ(Bits(edition.yearClasses[i].mean), Bits(years[i][2]));
    }
    CHECK_EQ(edition.sizeClasses.size(), std::size(sizeBounds));
    for (std::size_t i = 0; i < edition.sizeClasses.size(); ++i) {
        CHECK_ROW("sizeSection.classes[" + std::to_string(i) + "]");
        CHECK_EQ(Bits(edition.sizeClasses[i].upTo), Bits(sizeBounds[i]));
        CHECK_EQ(Bits(edition.sizeClasses[i].amount), Bits(sizeAmounts[i]));
    }
    CHECK_ROW("sizeSection.apartment");
    CHECK_EQ(Bits(edition.apartment.amount), Bits(1.27));
    std::vector<double> read;
    for (const msr::FeatureSectionRow& section : edition.featureSections)
        for (const msr::FeatureRow& feature : section.features)
            read.push_back(feature.amount);
    CHECK_EQ(read.size(), std::size(features));
    for (std::size_t i = 0; i < read.size(); ++i) {
        CHECK_ROW("feature " + std::to_string(i));
        CHECK_EQ(Bits(read[i]), Bits(features[i]));
    }
}

// Every amount of cents a file may hold, against the C library, which rounds correctly
// (glibc and musl alike) in the C locale the tests run in.
CHECK_TEST(everyCentReadsAsItsNearestBinary) {
    for (int cents = -10000; cents <= 10000; ++cents) {
        const int whole = std::abs(cents) / 100;
        const int fraction = std::abs(cents) % 100;
        char digits[16];
        std::snprintf(digits, sizeof digits, "%d%02d", whole, fraction);
        char text[24];
        std::snprintf(text, sizeof text, "%s%d.%02d", cents < 0 ? "-" : "", whole, fraction);
        CHECK_ROW(text);
        CHECK_EQ(Bits(*msr::DoubleFromDecimal(cents < 0, digits, -2)),
                 Bits(std::strtod(text, nullptr)));
        CHECK_EQ(Bits(*msr::FloatFromDecimal(cents < 0, digits, -2)),
                 Bits(std::strtof(text, nullptr)));
    }
    // Halfway between two floats: to the even one.
    CHECK_EQ(*msr::FloatFromDecimal(false, "16777217", 0), 16777216.0f);
    CHECK_EQ(*msr::FloatFromDecimal(false, "16777219", 0), 16777220.0f);
    CHECK_EQ(*msr::DoubleFromDecimal(false, "9007199254740993", 0), 9007199254740992.0);
    CHECK(!msr::FloatFromDecimal(false, "1", 39)); // beyond float
}

// A bad edition is refused whole, and its message names the file, the line and the key.
CHECK_TEST(badEditionsAreRefusedWithWhereAndWhy) {
    const struct {
        const char* name;
        std::string text;
        const char* message; // a part of the first fault
    } rows[] = {
        {"not JSON", "Mietspiegel 2017", "\"neu.json\", Zeile 1: Ungültiges JSON bei Byte 1"},
        {"cut short",
         std::string(msr::BuiltInEditionText()).substr(0, msr::BuiltInEditionText().rfind('}')),
         "Zeile 380: Ungültiges JSON bei Byte 24478: Objekt nicht mit } abgeschlossen"},
        {"empty", "  \n", "\"neu.json\": Die Datei ist leer"},
        {"UTF-16", std::string("\xFF\xFE{\0}\0", 6), "in UTF-16 kodiert"},
        {"not UTF-8", Changed("\"Mietspiegel Varlstadt 2015\"", "\"Mietspiegel Varlstadt \xE4\""),
         "Zeile 5: Ungültiges JSON bei Byte 184: ungültiges UTF-8"},
        {"a list, no object", "[1, 2]", "Zeile 1: Eine Ausgabe ist ein JSON-Objekt"},
        {"another format",
         Changed("\"format\": \"Mietspiegelrechner Varlstadt: Ausgabe des Mietspiegels\"",
                 "\"format\": \"Tabelle\""),
         "Zeile 3, format: Das ist keine Ausgabe des Mietspiegels"},
        {"a later version", Changed("\"formatVersion\": 1", "\"formatVersion\": 2"),
         "Zeile 4, formatVersion: Die Version 2 des Formats kennt dieses Programm nicht"},
        {"a key missing", Changed("\"stand\": \"1. Januar 2015\",\n", ""),
         "Zeile 1: Der Schlüssel \"stand\" fehlt"},
        {"a key unknown",
         Changed("\"stand\": \"1. Januar 2015\",",
                 "\"stand\": \"1. Januar 2015\", \"Stadt\": \"Varlstadt\","),
         "Zeile 6, Stadt: Unbekannter Schlüssel \"Stadt\""},
        {"a key twice",
         Changed("\"stand\": \"1. Januar 2015\",",
                 "\"stand\": \"1. Januar 2015\", \"stand\": \"2015\","),
         "Zeile 6, stand: Der Schlüssel steht zweimal"},
        {"a word for a number", Changed("\"low\": 4.73", "\"low\": \"vier\""),
         "Zeile 47, yearClasses[3].low: Erwartet wird eine Zahl wie 4.73, nicht der Text \"vier\""},
        {"three decimals", Changed("\"low\": 4.73", "\"low\": 4.735"),
         "yearClasses[3].low: Die Zahl 4.735 ist keine Dezimalzahl mit höchstens zwei "
         "Nachkommastellen"},
        {"an exponent", Changed("\"low\": 4.73", "\"low\": 473e-2"), "ist keine Dezimalzahl"},
        {"low above mean", Changed("\"low\": 4.73", "\"low\": 5.50"),
         "Zeile 47, yearClasses[3].low: Die Untergrenze 5.50 liegt über dem Mittelwert 5.41"},
        {"mean above high", Changed("\"mean\": 5.41", "\"mean\": 6.50"),
         "yearClasses[3].mean: Der Mittelwert 6.50 liegt über der Obergrenze 6.38"},
        {"a span of no rent index", Changed("\"high\": 8.18", "\"high\": 180.00"),
         "yearClasses[6].high: Die Zahl 180.00 liegt außerhalb jeder Spanne"},
        {"an eighth year class",
         Changed("{\"period\": \"zwischen 2006 und 2011\", \"low\": 6.07, \"high\": 8.18, "
                 "\"mean\": 6.72}",
                 "{\"period\": \"zwischen 2006 und 2011\", \"low\": 6.07, \"high\": 8.18, "
                 "\"mean\": 6.72},\n"
                 "    {\"period\": \"ab 2012\", \"low\": 7.00, \"high\": 9.00, \"mean\": 8.00}"),
         "yearClasses: Die Ausgabe nennt 8 Baualtersklassen, der Fragebogen bietet 7 an (bis "
         "1929 bis 2006 bis 2011); eine Ausgabe, die andere Fragen braucht, braucht ein neues "
         "Programm"},
        {"size classes out of order", Changed("\"upTo\": 50,", "\"upTo\": 35,"),
         "sizeSection.classes[1].upTo: Die Größenklassen stehen nicht der Größe nach: 35 folgt "
         "auf 40"},
        {"a last size class with a bound", Changed("\"upTo\": null,", "\"upTo\": 500,"),
         "sizeSection.classes[5].upTo: Die letzte Größenklasse hat keine Obergrenze"},
        {"an amount beyond any rent index", Changed("\"amount\": 1.27", "\"amount\": 12.70"),
         "sizeSection.apartment.amount: Der Betrag 12.70 liegt außerhalb jedes Zu- oder "
         "Abschlags"},
        {"a hole of another sentence",
         Changed("Der Mittelwert beträgt {Mittelwert} Euro je Quadratmeter Wohnfläche.\",\n  "
                 "\"yearClasses",
                 "Der Mittelwert beträgt {Betrag} Euro je Quadratmeter Wohnfläche.\",\n  "
                 "\"yearClasses"),
         "yearClassSentence: Die Lücke {Betrag} gibt es hier nicht; Erlaubt sind hier {Zeitraum}, "
         "{Untergrenze}, {Obergrenze} und {Mittelwert}"},
        {"a hole missing",
         Changed("Der Mittelwert beträgt {Mittelwert} Euro je Quadratmeter Wohnfläche.\",\n  "
                 "\"yearClasses",
                 "\",\n  \"yearClasses"),
         "yearClassSentence: Der Satz nennt {Mittelwert} nicht"},
        {"an amount not named",
         Changed("Gäste-WC. Dadurch ergibt sich ein Zuschlag je Quadratmeter Wohnfläche in Höhe "
                 "von {Betrag} Euro.",
                 "Gäste-WC. Dadurch ergibt sich ein Zuschlag."),
         "featureSections[0].features[0].sentence: Der Satz nennt seinen {Betrag} nicht"},
        {"a brace left open",
         Changed("({Wohnfläche} Quadratmeter) werden", "({Wohnfläche Quadratmeter) werden"),
         "sizeSection.classes[3].sentence: Eine Klammer { ohne schließende"},
        {"a question the questionnaire does not ask",
         Changed("\"input\": \"Terrace\"", "\"input\": \"Garden\""),
         "featureSections[3].features[3].input: Die Frage \"Garden\" stellt der Fragebogen nicht; "
         "eine Ausgabe, die andere Fragen braucht, braucht ein neues Programm"},
        {"a choice the dialog does not offer",
         Changed("\"input\": \"FloorCovering\",\n          \"choice\": 4",
                 "\"input\": \"FloorCovering\",\n          \"choice\": 5"),
         "featureSections[1].features[3].choice: Der Fragebogen bietet für FloorCovering die "
         "Auswahl 1 bis 4"},
        {"a feature in another dialog's section",
         Changed("\"input\": \"TubAndShower\"", "\"input\": \"Terrace\""),
         "featureSections[0].features[1].input: Die Frage Terrace gehört in den Abschnitt des "
         "Dialogs \"Weitere Zu- und Abschläge\""},
        {"a contradiction where none can be",
         Changed("\"input\": \"GuestToilet\",",
                 "\"input\": \"GuestToilet\", \"contradiction\": \"Widerspruch\","),
         "featureSections[0].features[0].contradiction: Dieses Merkmal zählt bei jedem Baujahr"},
        {"a term ending before it starts",
         Changed("\"termEnd\": \"2016-12-31\"", "\"termEnd\": \"2014-12-31\""),
         "Zeile 8, termEnd: Die Laufzeit endet am 31.12.2014, vor ihrem Beginn am 01.01.2015"},
        {"a day the calendar lacks",
         Changed("\"termEnd\": \"2016-12-31\"", "\"termEnd\": \"2016-02-30\""),
         "termEnd: \"2016-02-30\" ist kein Tag des Kalenders"},
        {"a paragraph of two lines",
         Changed("{\"heading\": \"Baualtersklasse\"}", "{\"heading\": \"Baualters\\nklasse\"}"),
         "yearClassOpening[1].heading: Der Text enthält ein Steuerzeichen"},
        {"a paragraph of no kind",
         Changed("{\"heading\": \"Baualtersklasse\"}", "{\"title\": \"Baualtersklasse\"}"),
         "yearClassOpening[1]: Ein Absatz ist {\"body\": \"Text\"} oder {\"heading\": \"Text\"}"},
        {"too large", std::string(msr::kLargestEditionFile + 1, ' ') + "{}",
         "Die Datei ist zu groß"},
    };
    for (const auto& row : rows) {
        CHECK_ROW(row.name);
        const msr::EditionReading reading = msr::ReadEdition(row.text, "neu.json");
        CHECK(!reading.edition);
        CHECK(!reading.faults.empty());
        if (!Contains(reading.faults.front(), row.message))
            CHECK_EQ(reading.faults.front(), std::string(row.message));
    }
}

CHECK_TEST(aFeatureMissingOrTwiceIsNamed) {
    const std::string withoutBalcony =
        Changed("\"input\": \"BalconyOrLoggia\"", "\"input\": \"Terrace\"");
    const std::vector<std::string> faults = msr::ReadEdition(withoutBalcony, "neu.json").faults;
    CHECK_EQ(faults.size(), std::size_t{2});
    CHECK(Contains(faults[0], "featureSections[3].features[3]: Das Merkmal Terrace (Terrasse oder "
                              "Dachterrasse) steht schon in featureSections[3].features[2]"));
    CHECK(Contains(faults[1], "featureSections[3].features: Es fehlt das Merkmal BalconyOrLoggia "
                              "(Balkon oder Loggia)"));
}

namespace {

msr::Edition EditionFrom(const char* name, const char* from, const char* to) {
    std::string text = Changed("\"inForceFrom\": \"2015-01-01\"",
                               std::string("\"inForceFrom\": \"") + from + "\"");
    text.replace(text.find("\"termEnd\": \"2016-12-31\""), 23,
                 std::string("\"termEnd\": \"") + to + "\"");
    text.replace(text.find("\"Mietspiegel Varlstadt 2015\""), 28, std::string("\"") + name + "\"");
    return *msr::ReadEdition(text, name).edition;
}

} // namespace

// The newest edition in force by the day counts: on the first and last day of its term,
// after it (marked out of date) until the next comes into force; before the first, none.
CHECK_TEST(theDayChoosesTheEdition) {
    msr::RentIndexEditions editions = msr::RentIndexEditions::BuiltIn();
    CHECK(!editions.add(EditionFrom("Ausgabe 2017", "2017-03-01", "2018-12-31"),
                        msr::EditionSource::Given));
    const struct {
        msr::CalendarDate day;
        const char* edition; // nullptr: none
        bool outOfDate;
    } rows[] = {
        {{2014, 12, 31}, nullptr, false},
        {{2015, 1, 1}, "Mietspiegel Varlstadt 2015", false},
        {{2016, 12, 31}, "Mietspiegel Varlstadt 2015", false},
        {{2017, 1, 1}, "Mietspiegel Varlstadt 2015", true}, // the gap between two
        {{2017, 2, 28}, "Mietspiegel Varlstadt 2015", true},
        {{2017, 3, 1}, "Ausgabe 2017", false},
        {{2018, 12, 31}, "Ausgabe 2017", false},
        {{2026, 12, 9}, "Ausgabe 2017", true}, // after the newest's term
    };
    for (const auto& row : rows) {
        CHECK_ROW(msr::IsoDate(row.day));
        const msr::EditionInForce chosen = editions.inForceOn(row.day);
        CHECK_EQ(chosen.edition ? chosen.edition->name : "keiner",
                 std::string(row.edition ? row.edition : "keiner"));
        CHECK_EQ(chosen.outOfDate, row.outOfDate);
    }
    CHECK_EQ(editions.noneInForceMessage({2014, 12, 31}),
             std::string("Am 31.12.2014 galt noch keiner der geladenen Mietspiegel; der älteste, "
                         "Mietspiegel Varlstadt 2015, gilt ab dem 01.01.2015"));
    // A corrected edition of the same day replaces the built-in one; two given ones clash.
    CHECK(!editions.add(EditionFrom("Berichtigt 2015", "2015-01-01", "2016-12-31"),
                        msr::EditionSource::Installed));
    CHECK_EQ(editions.size(), std::size_t{2});
    CHECK_EQ(editions.inForceOn({2015, 6, 1}).edition->name, std::string("Berichtigt 2015"));
    CHECK(editions
              .add(EditionFrom("Noch eine 2017", "2017-03-01", "2018-12-31"),
                   msr::EditionSource::Given)
              .has_value());
}

CHECK_MAIN()
