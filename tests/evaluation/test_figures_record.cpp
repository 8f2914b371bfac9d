#include "evaluation/answers/living_area.h"
#include "evaluation/evaluate.h"
#include "evaluation/figures_record.h"
#include "tests/core_check/core_check.h"
#include "tests/samples/built_in_edition.h"
#include "tests/samples/sample_answers.h"

#include <random>
#include <regex>
#include <string>
#include <vector>

namespace {

struct NamedAnswers {
    std::string name;
    msr::Answers answers;
};

msr::Answers WithLivingArea(msr::Answers answers, const std::string& livingArea) {
    answers.LivingArea = livingArea;
    return answers;
}

// Every answer drawn at random, the living area among the sizes that matter: each size
// class, six and seven digits before the separator in the totals, and the exponent form.
msr::Answers RandomAnswers(std::mt19937& random) {
    static const char* const kAreas[] = {"1",     "35",      "45",       "50",        "60",
                                         "75",    "110",     "111",      "500",       "20000",
                                         "99999", "1234567", "87654321", "2147483647"};
    auto pick = [&random](int count) { return static_cast<int>(random() % unsigned(count + 1)); };
    auto yes = [&random] { return random() % 2 == 0; };
    msr::Answers answers;
    answers.YearClass = 1 + pick(6);
    answers.Built1980Side = answers.YearClass == 4 ? 1 + pick(1) : msr::kNone;
    answers.LivingArea = kAreas[random() % std::size(kAreas)];
    answers.IsApartment = random() % 5 == 0;
    answers.GuestToilet = yes();
    answers.TubAndShower = yes();
    answers.FloorCovering = pick(4);
    answers.HeatingKind = pick(4);
    answers.CaptiveRooms = yes();
    answers.NoKitchenHotWater = yes();
    answers.BalconyOrLoggia = yes();
    answers.Terrace = yes();
    answers.SoundproofWindows = yes();
    answers.BarrierFree = pick(2);
    answers.HeatingRenewed = yes();
    answers.BathRenewed = yes();
    answers.Insulation = pick(3);
    answers.NoiseImpairment = yes();
    answers.CityArea = 1 + pick(6);
    return answers;
}

std::vector<NamedAnswers> AnswerSets() {
    std::vector<NamedAnswers> sets = {
        {"mandatory", msr::test::MandatoryAnswers()},
        {"all features", msr::test::AllFeaturesAnswers()},
        {"mandatory, 20000 m²", WithLivingArea(msr::test::MandatoryAnswers(), "20000")},
        {"mandatory, 87654321 m²", WithLivingArea(msr::test::MandatoryAnswers(), "87654321")},
        {"mandatory, -5 m²", WithLivingArea(msr::test::MandatoryAnswers(), "-5")},
    };
    std::mt19937 random(20261208);
    for (int i = 0; i < 400; ++i)
        sets.push_back({"random " + std::to_string(i), RandomAnswers(random)});
    return sets;
}

// The seven numbers as the final sentence of the report states them, read from its text.
std::vector<std::string> NumbersOfFinalSentence(const msr::ReportDocument& document) {
    static const std::regex kSentence(
        "Ihre Angaben führen zu einem Miet-Mittelwert in Höhe von (\\S+) Euro je Quadratmeter "
        "Wohnfläche\\. Die Untergrenze beträgt (\\S+) Euro je Quadratmeter Wohnfläche, die "
        "Obergrenze (\\S+) Euro je Quadratmeter Wohnfläche\\. Bezogen auf die Größe Ihrer "
        "Wohnung in Höhe von (\\S+) Quadratmetern heißt dies, dass sich Ihre Miete in einem "
        "Bereich von (\\S+) Euro \\(Untergrenze\\) und (\\S+) Euro \\(Obergrenze\\) bewegt\\. "
        "Der Mittelwert der Gesamtmiete beträgt (\\S+) Euro\\.");
    for (const msr::Paragraph& paragraph : document.paragraphs()) {
        std::smatch match;
        if (std::regex_match(paragraph.text, match, kSentence))
            return {match[2], match[1], match[3], match[4], match[5], match[7], match[6]};
    }
    return {};
}

std::vector<std::string> InOrder(const msr::FinalFigureTexts& t) {
    return {t.lowPerSquareMetre, t.meanPerSquareMetre, t.highPerSquareMetre, t.livingArea,
            t.totalLow,          t.totalMean,          t.totalHigh};
}

std::string FiguresJson(const msr::FinalFigureTexts& texts, const std::string& separator) {
    std::string json;
    msr::AppendFiguresJson(texts, separator, json);
    return json;
}

} // namespace

CHECK_TEST(figureTextsAreTheNumbersOfTheFinalSentence) {
    for (const std::string separator : {",", ".", "\xD9\xAB"}) { // ٫ the Arabic separator
        for (const NamedAnswers& set : AnswerSets()) {
            CHECK_ROW(set.name + " with separator " + separator);
            msr::ReportDocument document;
            const msr::EvaluationResult result =
                msr::Evaluate(set.answers, msr::test::BuiltInEdition(), document, separator);
            const std::vector<std::string> printed = NumbersOfFinalSentence(document);
            CHECK_EQ(printed.size(), std::size_t{7});
            CHECK(InOrder(msr::FormatFinalFigures(result, separator)) == printed);
        }
    }
}

CHECK_TEST(figuresAloneEqualTheFiguresOfTheWholeEvaluation) {
    for (const NamedAnswers& set : AnswerSets()) {
        CHECK_ROW(set.name);
        msr::ReportDocument document;
        const msr::EvaluationResult whole =
            msr::Evaluate(set.answers, msr::test::BuiltInEdition(), document, ",");
        const msr::EvaluationResult alone =
            msr::EvaluateFigures(set.answers, msr::test::BuiltInEdition(), ",");
        CHECK(InOrder(msr::FormatFinalFigures(alone, ",")) ==
              InOrder(msr::FormatFinalFigures(whole, ",")));
    }
}

CHECK_TEST(figuresAloneFailAsTheWholeEvaluationFails) {
    msr::Answers notANumber = msr::test::MandatoryAnswers();
    notANumber.LivingArea = "Quadratmeter";
    CHECK_THROWS((msr::EvaluateFigures(notANumber, msr::test::BuiltInEdition(), ",")),
                 msr::ConversionError);
    msr::Answers noClass = msr::test::MandatoryAnswers();
    noClass.YearClass = msr::kNone;
    CHECK_THROWS((msr::EvaluateFigures(noClass, msr::test::BuiltInEdition(), ",")),
                 msr::MissingYearClass);
}

CHECK_TEST(figuresJsonWritesThePrintedNumbersWithAPoint) {
    struct Row {
        const char* name;
        msr::FinalFigureTexts texts;
        std::string separator;
        std::string json;
    };
    const Row rows[] = {
        {"German comma",
         {"4,73", "5,41", "6,38", "75,00", "354,75", "405,75", "478,50", {}},
         ",",
         R"({"perSquareMetre":{"low":4.73,"mean":5.41,"high":6.38},"livingArea":75.00,)"
         R"("total":{"low":354.75,"mean":405.75,"high":478.50}})"},
        {"point already",
         {"4.73", "5.41", "6.38", "75.00", "354.75", "405.75", "478.50", {}},
         ".",
         R"({"perSquareMetre":{"low":4.73,"mean":5.41,"high":6.38},"livingArea":75.00,)"
         R"("total":{"low":354.75,"mean":405.75,"high":478.50}})"},
        {"two-byte separator, negative, six and seven digits, exponent form",
         {"4\xD9\xAB"
          "86",
          "-0\xD9\xAB"
          "41",
          "6\xD9\xAB"
          "53",
          "87654321\xD9\xAB"
          "00" /* never printed so, but read all the same */,
          "97199\xD9\xAB"
          "99",
          "113000\xD9\xAB"
          "00",
          "5\xD9\xAB"
          "723891E+8",
          {}},
         "\xD9\xAB",
         R"({"perSquareMetre":{"low":4.86,"mean":-0.41,"high":6.53},"livingArea":87654321.00,)"
         R"("total":{"low":97199.99,"mean":113000.00,"high":5.723891E+8}})"},
        {"not a number",
         {"NAN", "INF", "-INF", "1E+40", "0,00", "0,00", "0,00", {}},
         ",",
         R"({"perSquareMetre":{"low":null,"mean":null,"high":null},"livingArea":1E+40,)"
         R"("total":{"low":0.00,"mean":0.00,"high":0.00}})"},
    };
    for (const Row& row : rows) {
        CHECK_ROW(row.name);
        CHECK_EQ(FiguresJson(row.texts, row.separator), row.json);
    }
}

CHECK_MAIN()
