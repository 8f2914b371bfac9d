#include "tests/core_check/core_check.h"
#include "tests/samples/built_in_edition.h"

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "evaluation/answers/living_area.h"
#include "evaluation/evaluate.h"

using msr::Answers;
using msr::ParagraphKind;
using msr::ReportDocument;

namespace {

using Texts = std::vector<std::string>;

Answers Mandatory(int yearClass, const char* livingArea, int cityArea) {
    Answers answers;
    answers.YearClass = yearClass;
    answers.LivingArea = livingArea;
    answers.CityArea = cityArea;
    return answers;
}

Texts TextsOf(const ReportDocument& document) {
    Texts texts;
    for (const msr::Paragraph& p : document.paragraphs())
        texts.push_back(p.text);
    return texts;
}

Texts Run(const Answers& answers) {
    ReportDocument document;
    msr::Evaluate(answers, msr::test::BuiltInEdition(), document, ",");
    return TextsOf(document);
}

std::size_t IndexOf(const Texts& texts, const std::string& text) {
    return std::size_t(std::find(texts.begin(), texts.end(), text) - texts.begin());
}

Texts Slice(const Texts& texts, std::size_t from, std::size_t count) {
    return Texts(texts.begin() + std::ptrdiff_t(from),
                 texts.begin() + std::ptrdiff_t(std::min(texts.size(), from + count)));
}

// The non-empty paragraphs between a section's explanation and the next heading.
Texts Findings(const Answers& answers, const std::string& heading) {
    ReportDocument document;
    msr::Evaluate(answers, msr::test::BuiltInEdition(), document, ",");
    const auto& p = document.paragraphs();
    Texts findings;
    std::size_t i = 0;
    while (i < p.size() && p[i].text != heading)
        ++i;
    for (i += 2; i < p.size() && p[i].kind == ParagraphKind::Body; ++i) {
        if (!p[i].text.empty())
            findings.push_back(p[i].text);
        else if (i + 1 < p.size() && p[i + 1].text.empty())
            break;
    }
    return findings;
}

std::string FinalSentence(const Answers& answers) {
    const Texts texts = Run(answers);
    return texts.at(IndexOf(texts, "Schlussberechnung") + 1);
}

std::string FinalSentence(const std::string& mean, const std::string& low, const std::string& high,
                          const std::string& area, const std::string& totalLow,
                          const std::string& totalHigh, const std::string& totalMean) {
    return "Ihre Angaben führen zu einem Miet-Mittelwert in Höhe von " + mean +
           " Euro je Quadratmeter Wohnfläche. Die Untergrenze beträgt " + low +
           " Euro je Quadratmeter Wohnfläche, die Obergrenze " + high +
           " Euro je Quadratmeter Wohnfläche. Bezogen auf die Größe Ihrer Wohnung in Höhe von " +
           area + " Quadratmetern heißt dies, dass sich Ihre Miete in einem Bereich von " +
           totalLow + " Euro (Untergrenze) und " + totalHigh +
           " Euro (Obergrenze) bewegt. Der Mittelwert der Gesamtmiete beträgt " + totalMean +
           " Euro.";
}

std::string Cents(long long cents) {
    const std::string sign = cents < 0 ? "-" : "";
    cents = std::llabs(cents);
    const std::string decimals = std::to_string(cents % 100);
    return sign + std::to_string(cents / 100) + "," + (decimals.size() < 2 ? "0" : "") + decimals;
}

bool StartsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Replaces the first "%1" by one text and "%2" by another.
std::string Arg(std::string pattern, const std::string& first, const std::string& second) {
    pattern.replace(pattern.find("%1"), 2, first);
    pattern.replace(pattern.find("%2"), 2, second);
    return pattern;
}

const std::string kInsulationContradiction =
    "Sie haben angegeben, dass nachträglich die Außenwände und das Dach Ihrer Wohnung gedämmt "
    "wurden. Dies gilt nur für Gebäude mit Baujahr vor 1980. Sie haben gleichzeitig angegeben, "
    "dass Ihre Wohnung nach 1980 gebaut wurde. Dies ist ein Widerspruch. Daher wird die Dämmung "
    "nicht berücksichtigt.";
const std::string kHeatingContradictionStart =
    "Sie haben angegeben, dass ein erstmaliger/nachträglicher Einbau einer Heizungsanlage";

CHECK_TEST(mandatoryAnswersGiveSixtyEightParagraphs) {
    for (int yearClass = 1; yearClass <= 7; ++yearClass)
        for (int area = 1; area <= 7; ++area)
            for (const char* size : {"0", "45", "75", "115", "500"}) {
                CHECK_ROW(std::to_string(yearClass) + " " + std::to_string(area) + " " + size);
                CHECK_EQ(Run(Mandatory(yearClass, size, area)).size(), std::size_t(68));
            }
}

CHECK_TEST(documentOpensAndClosesWithTheFixedLines) {
    ReportDocument document;
    Answers answers = Mandatory(2, "75", 5);
    answers.GuestToilet = answers.Terrace = answers.BathRenewed = true;
    msr::Evaluate(answers, msr::test::BuiltInEdition(), document, ",");
    const Texts texts = TextsOf(document);
    CHECK_EQ(Slice(texts, 0, 5), (Texts{"KWL Hausgilde Varlstadt e. V.", "Mieterschutzverein", "",
                                        "", "M I E T S P I E G E L R E C H N E R"}));
    CHECK_EQ(Slice(texts, texts.size() - 6, 6),
             (Texts{"", "", "KWL Hausgilde Varlstadt e. V.", "- Mieterschutzverein -", "Varlstadt",
                    "www.kwl-hausgilde-varlstadt.de"}));
    const auto& p = document.paragraphs();
    CHECK(p.front().kind == ParagraphKind::Heading);
    const std::size_t warning = IndexOf(texts, "Schlussberechnung");
    for (std::size_t i = 0; i < texts.size(); ++i) {
        CHECK_ROW(texts[i]);
        CHECK(p[i].attributes.bold);
        CHECK_EQ(p[i].attributes.rgb.has_value(), i >= warning);
    }
    for (std::size_t i = p.size() - 4; i < p.size(); ++i)
        CHECK(p[i].kind == ParagraphKind::Heading);
}

struct YearClassRow {
    int yearClass;
    const char* period;
    const char* span;
    const char* mean;
};

const YearClassRow kYearClassRows[] = {
    {1, "bis 1929", "3,58 bis 5,19", "4,40"},
    {2, "zwischen 1930 und 1969", "3,83 bis 5,30", "4,60"},
    {3, "zwischen 1970 und 1977", "4,14 bis 5,43", "4,70"},
    {4, "zwischen 1978 und 1994", "4,73 bis 6,38", "5,41"},
    {5, "zwischen 1995 und 2001", "5,18 bis 6,85", "5,97"},
    {6, "zwischen 2002 und 2005", "5,47 bis 7,33", "6,36"},
    {7, "zwischen 2006 und 2011", "6,07 bis 8,18", "6,72"},
};

CHECK_TEST(statesTheSpanOfTheYearClass) {
    for (const YearClassRow& row : kYearClassRows) {
        CHECK_ROW(row.period);
        const std::string expected =
            std::string("Sie haben angegeben, dass Ihre Wohnung ") + row.period +
            " errichtet wurde. Ihre Miete bewegt sich aufgrund des Baujahres "
            "innerhalb einer Spanne von " +
            row.span + " Euro je Quadratmeter Wohnfläche. Der Mittelwert beträgt " + row.mean +
            " Euro je Quadratmeter Wohnfläche.";
        CHECK_EQ(Findings(Mandatory(row.yearClass, "75", 3), "Baualtersklasse"), Texts{expected});
    }
}

struct SizeRow {
    std::string name;
    std::string livingArea;
    bool apartment;
    std::string finding; // empty: not compared
    std::string finalMean;
};

std::vector<SizeRow> SizeRows() {
    const std::string surcharge = " Quadratmeter) wird ein Zuschlag in Höhe von %1 Euro je "
                                  "Quadratmeter Wohnfläche vorgenommen. Der neue Mittelwert "
                                  "beträgt %2 Euro je Quadratmeter Wohnfläche.";
    const std::string deduction = " Quadratmeter) wird ein Abschlag in Höhe von %1 Euro je "
                                  "Quadratmeter Wohnfläche vorgenommen. Der neue Mittelwert "
                                  "beträgt %2 Euro je Quadratmeter Wohnfläche.";
    const std::string none = " Quadratmeter) werden weder Zu- noch Abschläge erhoben.";
    const std::string lead = "Aufgrund Ihrer Wohnungsgröße (";
    std::vector<SizeRow> rows;
    auto row = [&](const std::string& area, const std::string& rest, const std::string& mean) {
        rows.push_back({area, area, false, lead + area + ",00" + rest, mean});
    };
    row("0", Arg(surcharge, "0,82", "5,22"), "5,22");
    row("1", Arg(surcharge, "0,82", "5,22"), "5,22");
    row("40", Arg(surcharge, "0,82", "5,22"), "5,22");
    row("41", Arg(surcharge, "0,41", "4,81"), "4,81");
    row("50", Arg(surcharge, "0,41", "4,81"), "4,81");
    row("51", Arg(surcharge, "0,21", "4,61"), "4,61");
    row("60", Arg(surcharge, "0,21", "4,61"), "4,61");
    row("61", none, "4,40");
    row("110", none, "4,40");
    row("111", Arg(deduction, "0,21", "4,19"), "4,19");
    row("120", Arg(deduction, "0,21", "4,19"), "4,19");
    row("121", Arg(deduction, "0,32", "4,08"), "4,08");
    rows.push_back(
        {"apartment of 35 ignores the size class", "35", true,
         "Sie haben angegeben, dass es sich bei Ihrer Wohnung um ein Appartement handelt. Ein "
         "Appartement ist eine abgschlossene Einzimmerwohnung mit einer ausgestatteten "
         "Kochnische, Bad oder Dusche sowie WC mit einer maximalen Wohnfläche von 50,00 "
         "Quadratmetern. Daher wird für Ihre Wohnung (Appartement) ein Zuschlag in Höhe von "
         "1,27 Euro je Quadratmeter Wohnfläche vorgenommen.",
         "5,67"});
    rows.push_back({"apartment of 80 as well", "80", true, "", "5,67"});
    return rows;
}

CHECK_TEST(sizeClassesMoveTheMean) {
    for (const SizeRow& row : SizeRows()) {
        CHECK_ROW(row.name);
        Answers answers = Mandatory(1, row.livingArea.c_str(), 3);
        answers.IsApartment = row.apartment;
        const Texts findings = Findings(answers, "1. Wohnungsgröße");
        CHECK_EQ(findings.size(), std::size_t(1));
        if (!row.finding.empty())
            CHECK_EQ(findings[0], row.finding);
        CHECK(StartsWith(FinalSentence(answers),
                         "Ihre Angaben führen zu einem Miet-Mittelwert in Höhe von " +
                             row.finalMean + " Euro"));
    }
}

struct WorkedExample {
    const char* name;
    Answers answers;
    std::string expected;
};

std::vector<WorkedExample> WorkedExamples() {
    Answers features = Mandatory(1, "45", 1);
    features.GuestToilet = true;
    features.FloorCovering = 2;
    features.HeatingKind = 3;
    Answers apartment = Mandatory(1, "35", 3);
    apartment.IsApartment = true;
    return {
        {"75 square metres, 1978 to 1994, West", Mandatory(4, "75", 3),
         FinalSentence("5,41", "4,73", "6,38", "75,00", "354,75", "478,50", "405,75")},
        {"45 square metres with features", features,
         FinalSentence("4,97", "4,15", "5,76", "45,00", "186,75", "259,20", "223,65")},
        {"apartment of 35", apartment,
         FinalSentence("5,67", "4,85", "6,46", "35,00", "169,75", "226,10", "198,45")},
        // 32 bits show in the totals: the low total falls a cent short, and six digits
        // before the separator leave no room for true cents.
        {"twenty thousand square metres", Mandatory(5, "20000", 3),
         FinalSentence("5,65", "4,86", "6,53", "20000,00", "97199,99", "130600,00", "113000,00")},
    };
}

CHECK_TEST(finalSentenceOfTheWorkedExamples) {
    for (const WorkedExample& example : WorkedExamples()) {
        CHECK_ROW(example.name);
        CHECK_EQ(FinalSentence(example.answers), example.expected);
    }
}

struct FindingsRow {
    const char* name;
    Answers answers;
    std::string heading;
    Texts expected; // "…" in a text: compare the pieces around it only
};

std::vector<FindingsRow> FindingsRows() {
    const std::string mean = " Euro je Quadratmeter Wohnfläche.";
    std::vector<FindingsRow> rows;

    Answers bath = Mandatory(1, "75", 3);
    bath.GuestToilet = bath.TubAndShower = true;
    rows.push_back({"both bathroom features",
                    bath,
                    "2. Bad-Ausstattung",
                    {"Ihre Wohnung verfügt über ein Gäste-WC. Dadurch ergibt sich ein Zuschlag je "
                     "Quadratmeter Wohnfläche in Höhe von 0,18 Euro. Der neue Mittelwert beträgt "
                     "4,58" +
                         mean,
                     "Ihre Wohnung verfügt über ein Badzimmer mit Badewanne und separater Dusche. "
                     "Dadurch ergibt sich ein Zuschlag je Quadratmeter Wohnfläche in Höhe von 0,26 "
                     "Euro. Der neue Mittelwert beträgt 4,84" +
                         mean}});

    rows.push_back({"no answer on heating",
                    Mandatory(1, "75", 3),
                    "4. Beheizungsart",
                    {"Da Sie keine Angaben zu einer weiteren Beheizungsart gemacht haben, "
                     "erfolgen weder Zu- noch Abschläge."}});

    rows.push_back({"no answer on further features: no closing blocks",
                    Mandatory(1, "75", 3),
                    "5. Weitere Zu- und Abschläge",
                    {"Da Sie keine Angaben zu weiteren Zu- oder Abschlägen gemacht haben, "
                     "erfolgt keine Änderung in der Höhe des Mietzinses."}});

    Answers captive = Mandatory(1, "75", 3);
    captive.CaptiveRooms = true;
    rows.push_back({"one deduction closes with mean and remark",
                    captive,
                    "5. Weitere Zu- und Abschläge",
                    {"Ihre Wohnung hat einen oder mehrere gefangene Räume…",
                     "Der Mittelwert Ihrer Wohnung beträgt 4,34" + mean,
                     "Bei folgenden Merkmalen, die im Rahmen der Mietspiegel-Erhebung abgefragt "
                     "wurden, konnte kein Einfluss auf die Höhe der Miete statistisch belegt "
                     "werden: Rolläden an allen Fenstern, Grünfläche zur allgemeinen oder "
                     "alleinigen Nutzung, Gegengsprechanlage, Keller- oder Mansardenraum "
                     "vorhanden, Anzahl der Wohneinheiten im Gebäude, Anzahl der Geschosse."}});

    Answers further = Mandatory(1, "75", 3);
    further.CaptiveRooms = further.NoKitchenHotWater = further.BalconyOrLoggia = true;
    further.Terrace = further.SoundproofWindows = true;
    further.BarrierFree = 2;
    rows.push_back(
        {"all further features: six plain sentences, +0.64",
         further,
         "5. Weitere Zu- und Abschläge",
         {"Ihre Wohnung hat einen oder mehrere gefangene Räume…",
          "Ihre Wohnung verfügt über kein fließend Warmwasser in der Küche…",
          "Ihre Wohnung hat einen Balkon bzw. eine Loggia…",
          "Ihre Wohnung hat eine Terrasse bzw. Dachterrasse…",
          "Ihre Wohnung hat Schallschutzfenster…",
          "Bei Ihrer Wohnung handelt es sich um eine barrierefrei erstellt oder "
          "modernisierte Wohnung…",
          "Der Mittelwert Ihrer Wohnung beträgt 5,04" + mean, "Bei folgenden Merkmalen…"}});

    Answers after1980 = Mandatory(4, "75", 3);
    after1980.Built1980Side = 2;
    after1980.Insulation = 2;
    rows.push_back({"insulation after 1980 contradicts",
                    after1980,
                    "6. Modernisierungsmaßnahmen",
                    {kInsulationContradiction}});

    Answers before1980 = after1980;
    before1980.Built1980Side = 1;
    rows.push_back({"insulation before 1980 counts",
                    before1980,
                    "6. Modernisierungsmaßnahmen",
                    {"An Ihrer Wohnung wurden nachträglich die Außenwände und das Dach in den "
                     "Jahren 1995 bis 2001 gedämmt. Dies führt zu einem Zuschlag in Höhe von "
                     "0,37 Euro je Quadratmeter Wohnfläche. Der Mittelwert Ihrer Wohnung "
                     "beträgt 5,78" +
                     mean}});

    Answers recent = Mandatory(7, "75", 3);
    recent.Insulation = 3;
    recent.HeatingRenewed = recent.BathRenewed = true;
    rows.push_back({"recent building: two contradictions, the bath still counts",
                    recent,
                    "6. Modernisierungsmaßnahmen",
                    {kInsulationContradiction, kHeatingContradictionStart + "…",
                     "Ein erstmaliger Dusch- oder Badeinbau…Der Mittelwert Ihrer Wohnung "
                     "beträgt 6,79" +
                         mean}});

    Answers old = Mandatory(3, "75", 3);
    old.Insulation = 1;
    old.HeatingRenewed = true;
    rows.push_back({"old building: every modernisation counts",
                    old,
                    "6. Modernisierungsmaßnahmen",
                    {"An Ihrer Wohnung wurden nachträglich die Außenwände und das Dach in den "
                     "Jahren 1980 bis 1994 gedämmt…4,99" +
                         mean,
                     "Ihre Wohnung wurde heiztechnisch modernisiert…5,07" + mean}});

    Answers noise = Mandatory(6, "75", 4);
    noise.NoiseImpairment = true;
    rows.push_back({"North keeps the mean after the noise deduction",
                    noise,
                    "8. Gebietseinteilung",
                    {"Sie haben angegeben, dass Ihre Wohnung im Bereich Varlstadt-Nord liegt. "
                     "Dies führt weder zu einem Zu- noch zu einem Abschlag. Der Mittelwert Ihrer "
                     "Wohnung liegt daher weiterhin bei 6,27" +
                     mean}});

    rows.push_back({"no area: the section ends after its explanation",
                    Mandatory(6, "75", 0),
                    "8. Gebietseinteilung",
                    {}});
    return rows;
}

// The pieces of an expectation around its "…" marks.
Texts Pieces(const std::string& expected) {
    const std::string ellipsis = "…";
    Texts pieces;
    std::size_t from = 0;
    for (std::size_t at; (at = expected.find(ellipsis, from)) != std::string::npos;
         from = at + ellipsis.size())
        pieces.push_back(expected.substr(from, at - from));
    pieces.push_back(expected.substr(from));
    return pieces;
}

CHECK_TEST(featureFindings) {
    for (const FindingsRow& row : FindingsRows()) {
        CHECK_ROW(row.name);
        const Texts findings = Findings(row.answers, row.heading);
        CHECK_EQ(findings.size(), row.expected.size());
        for (std::size_t i = 0; i < row.expected.size(); ++i) {
            const Texts pieces = Pieces(row.expected[i]);
            if (pieces.size() == 1) {
                CHECK_EQ(findings[i], row.expected[i]);
                continue;
            }
            CHECK_ROW(std::string(row.name) + ": " + findings[i]);
            CHECK(StartsWith(findings[i], pieces.front()));
            CHECK(EndsWith(findings[i], pieces.back()));
            CHECK_ROW(row.name);
        }
    }
}

// Every figure starts and moves by amounts of whole cents, so the report must show
// the exact decimal sums, and for living areas up to 500 the exact decimal products.
CHECK_TEST(printedFiguresAreTheExactDecimalSums) {
    const int low[] = {358, 383, 414, 473, 518, 547, 607};
    const int high[] = {519, 530, 543, 638, 685, 733, 818};
    const int mean[] = {440, 460, 470, 541, 597, 636, 672};
    const int floors[] = {0, -35, -14, 24, 34};
    const int heating[] = {0, -5, -7, -44, -54};
    const int barrier[] = {0, 7, 30};
    const int insulation[] = {0, 29, 37, 45};
    const int areas[] = {0, 56, -19, 0, 0, 13, 48, 21};

    std::mt19937 random(20141);
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    for (int run = 0; run < 3000; ++run) {
        Answers a;
        a.YearClass = 1 + pick(7);
        a.Built1980Side = a.YearClass == 4 ? 1 + pick(2) : 0;
        const int livingArea = 1 + pick(500);
        a.LivingArea = std::to_string(livingArea);
        a.IsApartment = livingArea <= 50 && pick(4) == 0;
        a.GuestToilet = pick(2);
        a.TubAndShower = pick(2);
        a.FloorCovering = pick(5);
        a.HeatingKind = pick(5);
        a.CaptiveRooms = pick(2);
        a.NoKitchenHotWater = pick(2);
        a.BalconyOrLoggia = pick(2);
        a.Terrace = pick(2);
        a.SoundproofWindows = pick(2);
        a.BarrierFree = pick(3);
        a.Insulation = pick(4);
        a.HeatingRenewed = pick(2);
        a.BathRenewed = pick(2);
        a.NoiseImpairment = pick(2);
        a.CityArea = 1 + pick(7);

        int shift = 0;
        if (a.IsApartment)
            shift += 127;
        else if (livingArea <= 40)
            shift += 82;
        else if (livingArea <= 50)
            shift += 41;
        else if (livingArea <= 60)
            shift += 21;
        else if (livingArea > 120)
            shift -= 32;
        else if (livingArea > 110)
            shift -= 21;
        shift += 18 * a.GuestToilet + 26 * a.TubAndShower + floors[a.FloorCovering] +
                 heating[a.HeatingKind];
        shift += -6 * a.CaptiveRooms - 12 * a.NoKitchenHotWater + 8 * a.BalconyOrLoggia +
                 23 * a.Terrace + 21 * a.SoundproofWindows + barrier[a.BarrierFree];
        const bool before1980 = a.YearClass <= 3 || a.Built1980Side == 1;
        if (before1980)
            shift += insulation[a.Insulation] + 8 * a.HeatingRenewed;
        shift += 7 * a.BathRenewed - 9 * a.NoiseImpairment + areas[a.CityArea];

        const int c = a.YearClass - 1;
        const long long l = low[c] + shift, h = high[c] + shift, m = mean[c] + shift;
        const std::string expected =
            FinalSentence(Cents(m), Cents(l), Cents(h), Cents(livingArea * 100LL),
                          Cents(l * livingArea), Cents(h * livingArea), Cents(m * livingArea));
        CHECK_ROW("run " + std::to_string(run));
        CHECK_EQ(FinalSentence(a), expected);
    }
}

CHECK_TEST(livingAreaThatIsNoNumberStopsBeforeTheFirstParagraph) {
    ReportDocument document;
    std::string refusal = "evaluated";
    try {
        msr::Evaluate(Mandatory(4, "Quadratmeter", 3), msr::test::BuiltInEdition(), document, ",");
    } catch (const msr::ConversionError& e) {
        refusal = e.what();
    }
    CHECK_EQ(refusal, std::string("'Quadratmeter' ist kein gültiger Gleitkommawert"));
    CHECK(document.paragraphs().empty());
}

CHECK_TEST(missingYearClassAppendsNothing) {
    ReportDocument document;
    CHECK_THROWS(msr::Evaluate(Mandatory(0, "75", 3), msr::test::BuiltInEdition(), document, ","),
                 msr::MissingYearClass);
    CHECK(document.paragraphs().empty());
}

CHECK_TEST(sameAnswersGiveTheSameDocument) {
    Answers answers = Mandatory(4, "64", 6);
    answers.Built1980Side = 1;
    answers.Insulation = 3;
    answers.TubAndShower = true;
    ReportDocument first, second;
    const msr::EvaluationResult a = msr::Evaluate(answers, msr::test::BuiltInEdition(), first, ",");
    msr::Evaluate(answers, msr::test::BuiltInEdition(), second, ",");
    CHECK_EQ(first.plainText(), second.plainText());
    CHECK_EQ(msr::FormatFigure(a.totalMean, "."), std::string("422.40"));
}

} // namespace

CHECK_MAIN()
