// A tenant's own rent against the span of the flat, as the web page shows it.

#include "evaluation/rent_comparison.h"
#include "tests/core_check/core_check.h"
#include "tests/evaluation/west75_totals.h"

#include <string>

namespace {

struct Row {
    const char* rent;
    std::string sentence; // empty: refused
};

const std::string kRefused;

const Row kRows[] = {
    {"450", "Ihre Nettokaltmiete von 450,00 Euro liegt innerhalb der Spanne von 354,75 bis "
            "478,50 Euro, 44,25 Euro (10,9 %) über dem Mittelwert von 405,75 Euro."},
    {"405,75", "Ihre Nettokaltmiete von 405,75 Euro liegt innerhalb der Spanne von 354,75 bis "
               "478,50 Euro, genau auf dem Mittelwert."},
    {" 354,75 ", "Ihre Nettokaltmiete von 354,75 Euro liegt innerhalb der Spanne von 354,75 bis "
                 "478,50 Euro, 51,00 Euro (12,6 %) unter dem Mittelwert von 405,75 Euro."},
    {"354.74", kRefused}, // 354,74 or 354.740 Euro?
    {"478,5", "Ihre Nettokaltmiete von 478,50 Euro liegt innerhalb der Spanne von 354,75 bis "
              "478,50 Euro, 72,75 Euro (17,9 %) über dem Mittelwert von 405,75 Euro."},
    {"1.250,00 €", "Ihre Nettokaltmiete von 1.250,00 Euro liegt oberhalb der Spanne von 354,75 bis "
                   "478,50 Euro, 844,25 Euro (208,1 %) über dem Mittelwert von 405,75 Euro."},
    // A quarter Euro is 0,06 % of the mean: one decimal shows it as 0,1 %.
    {"406", "Ihre Nettokaltmiete von 406,00 Euro liegt innerhalb der Spanne von 354,75 bis "
            "478,50 Euro, 0,25 Euro (0,1 %) über dem Mittelwert von 405,75 Euro."},
    {"", kRefused},
    {"0", kRefused},
    {"-450", kRefused},
    {"450,505", kRefused},
    {"45.0000", kRefused},
    {"1.25", kRefused},
    {"1.250", "Ihre Nettokaltmiete von 1.250,00 Euro liegt oberhalb der Spanne von 354,75 bis "
              "478,50 Euro, 844,25 Euro (208,1 %) über dem Mittelwert von 405,75 Euro."},
    {"12.50.000", kRefused},
    {"vierhundert", kRefused},
    {"450 Euro", kRefused},
    {"1234567890", kRefused},
};

CHECK_TEST(comparesTheRentWithThePrintedTotals) {
    for (const Row& row : kRows) {
        CHECK_ROW(row.rent);
        const msr::RentComparisonResult result = msr::CompareRent(row.rent, West75Totals(), ",");
        CHECK_EQ(result.comparison ? result.comparison->sentence : kRefused, row.sentence);
        CHECK_EQ(result.refusal.empty(), !row.sentence.empty());
    }
}

CHECK_TEST(namesThePositionAgainstTheBounds) {
    using Position = msr::RentComparison::Position;
    const struct {
        const char* rent;
        Position position;
    } rows[] = {{"354,74", Position::Below},
                {"354,75", Position::Within},
                {"478,50", Position::Within},
                {"478,51", Position::Above}};
    for (const auto& row : rows) {
        CHECK_ROW(row.rent);
        CHECK_EQ(msr::CompareRent(row.rent, West75Totals(), ",").comparison->position ==
                     row.position,
                 true);
    }
}

} // namespace

namespace {

// The same flat with its size and its figures per square metre as printed.
msr::FinalFigureTexts WithSize() {
    msr::FinalFigureTexts texts = West75Totals();
    texts.livingArea = "75,00";
    texts.lowPerSquareMetre = "4,73";
    texts.highPerSquareMetre = "6,38";
    return texts;
}

CHECK_TEST(givesTheRentPerSquareMetreAndWhatThePositionMeans) {
    const struct {
        const char* rent;
        const char* perSquareMetre;
        const char* meaning;
    } rows[] = {
        {"300",
         "Das sind 4,00 Euro je Quadratmeter, bei einer Spanne von 4,73 bis 6,38 Euro je "
         "Quadratmeter.",
         "Für Sie heißt das: Ihre Miete liegt unter der ortsüblichen Vergleichsmiete. Eine "
         "Mieterhöhung bis in die Spanne kann berechtigt sein."},
        {"405,75",
         "Das sind 5,41 Euro je Quadratmeter, bei einer Spanne von 4,73 bis 6,38 Euro je "
         "Quadratmeter.",
         "Für Sie heißt das: Ihre Miete entspricht der ortsüblichen Vergleichsmiete. Eine Erhöhung "
         "über die Obergrenze von 478,50 Euro hinaus lässt sich mit diesem Mietspiegel nicht "
         "begründen."},
        // 500 / 75 = 6,6666..: half away from zero.
        {"500",
         "Das sind 6,67 Euro je Quadratmeter, bei einer Spanne von 4,73 bis 6,38 Euro je "
         "Quadratmeter.",
         "Für Sie heißt das: Ihre Miete liegt über der ortsüblichen Vergleichsmiete. Eine weitere "
         "Erhöhung lässt sich mit diesem Mietspiegel nicht begründen; lassen Sie sich beraten, "
         "wenn Sie eine erhalten."},
    };
    for (const auto& row : rows) {
        CHECK_ROW(row.rent);
        const auto comparison = msr::CompareRent(row.rent, WithSize(), ",").comparison;
        const std::string& sentence = comparison->sentence;
        CHECK_EQ(sentence.substr(sentence.find(". Das sind ") + 2),
                 std::string(row.perSquareMetre));
        CHECK_EQ(comparison->meaning, std::string(row.meaning));
    }
    // A rent no flat is let for (a Euro, a yearly rent) is questioned, not judged.
    CHECK_EQ(msr::CompareRent("1", WithSize(), ",").refusal,
             std::string("Das wären 0,01 Euro je Quadratmeter; bitte prüfen Sie den Betrag"));
    CHECK_EQ(msr::CompareRent("5.400", WithSize(), ",").refusal,
             std::string("Das wären 72,00 Euro je Quadratmeter; bitte prüfen Sie den Betrag"));
    CHECK_EQ(msr::CompareRent("1.50", WithSize(), ",").refusal,
             std::string("„1.50“ ist nicht eindeutig: Bitte schreiben Sie Cent mit Komma (1,50) "
                         "und Tausender mit Punkt oder ohne (1.500 oder 1500)"));
}

// A large flat's span passes a thousand: every amount of the finding has its thousands
// grouped, the span's as the own rent's, though the report prints them ungrouped.
CHECK_TEST(groupsTheThousandsOfEveryAmount) {
    msr::FinalFigureTexts large;
    large.livingArea = "150,00";
    large.totalLow = "1140,00";
    large.totalMean = "1237,50";
    large.totalHigh = "1456,50";
    large.lowPerSquareMetre = "7,60";
    large.highPerSquareMetre = "9,71";
    const auto comparison = msr::CompareRent("2500", large, ",").comparison;
    CHECK_EQ(comparison->sentence,
             std::string("Ihre Nettokaltmiete von 2.500,00 Euro liegt oberhalb der Spanne von "
                         "1.140,00 bis 1.456,50 Euro, 1.262,50 Euro (102,0 %) über dem Mittelwert "
                         "von 1.237,50 Euro. Das sind 16,67 Euro je Quadratmeter, bei einer "
                         "Spanne von 7,60 bis 9,71 Euro je Quadratmeter."));
    CHECK_EQ(msr::CompareRent("1200", large, ",").comparison->meaning.find("1.456,50 Euro") !=
                 std::string::npos,
             true);
    CHECK_EQ(msr::GroupedFigure("1456,50", ","), std::string("1.456,50"));
    CHECK_EQ(msr::GroupedFigure("999,99", ","), std::string("999,99"));
    CHECK_EQ(msr::GroupedFigure("1,5E3", ","), std::string("1,5E3"));
}

} // namespace

CHECK_MAIN()
