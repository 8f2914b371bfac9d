#include <QtTest>

#include <random>

#include "evaluation/evaluate.h"
#include "evaluation/living_area.h"

using msr::Answers;
using msr::ParagraphKind;
using msr::ReportDocument;

Q_DECLARE_METATYPE(msr::Answers)

namespace {

Answers Mandatory(int yearClass, const char* livingArea, int cityArea) {
    Answers answers;
    answers.YearClass = yearClass;
    answers.LivingArea = livingArea;
    answers.CityArea = cityArea;
    return answers;
}

QStringList Texts(const ReportDocument& document) {
    QStringList texts;
    for (const msr::Paragraph& p : document.paragraphs())
        texts << QString::fromStdString(p.text);
    return texts;
}

QStringList Run(const Answers& answers) {
    ReportDocument document;
    msr::Evaluate(answers, document, ",");
    return Texts(document);
}

// The non-empty paragraphs between a section's explanation and the next heading.
QStringList Findings(const Answers& answers, const QString& heading) {
    ReportDocument document;
    msr::Evaluate(answers, document, ",");
    const auto& p = document.paragraphs();
    QStringList findings;
    std::size_t i = 0;
    while (i < p.size() && QString::fromStdString(p[i].text) != heading)
        ++i;
    for (i += 2; i < p.size() && p[i].kind == ParagraphKind::Body; ++i) {
        if (!p[i].text.empty())
            findings << QString::fromStdString(p[i].text);
        else if (i + 1 < p.size() && p[i + 1].text.empty())
            break;
    }
    return findings;
}

QString FinalSentence(const Answers& answers) {
    const QStringList texts = Run(answers);
    return texts.at(texts.indexOf("Schlussberechnung") + 1);
}

QString FinalSentence(const QString& mean, const QString& low, const QString& high,
                      const QString& area, const QString& totalLow, const QString& totalHigh,
                      const QString& totalMean) {
    return "Ihre Angaben führen zu einem Miet-Mittelwert in Höhe von " + mean +
           " Euro je Quadratmeter Wohnfläche. Die Untergrenze beträgt " + low +
           " Euro je Quadratmeter Wohnfläche, die Obergrenze " + high +
           " Euro je Quadratmeter Wohnfläche. Bezogen auf die Größe Ihrer Wohnung in Höhe von " +
           area + " Quadratmetern heißt dies, dass sich Ihre Miete in einem Bereich von " +
           totalLow + " Euro (Untergrenze) und " + totalHigh +
           " Euro (Obergrenze) bewegt. Der Mittelwert der Gesamtmiete beträgt " + totalMean +
           " Euro.";
}

QString Cents(long long cents) {
    const QString sign = cents < 0 ? "-" : "";
    cents = std::llabs(cents);
    return sign + QString::number(cents / 100) + "," +
           QString::number(cents % 100).rightJustified(2, '0');
}

const QString kInsulationContradiction =
    "Sie haben angegeben, dass nachträglich die Außenwände und das Dach Ihrer Wohnung gedämmt "
    "wurden. Dies gilt nur für Gebäude mit Baujahr vor 1980. Sie haben gleichzeitig angegeben, "
    "dass Ihre Wohnung nach 1980 gebaut wurde. Dies ist ein Widerspruch. Daher wird die Dämmung "
    "nicht berücksichtigt.";
const QString kHeatingContradictionStart =
    "Sie haben angegeben, dass ein erstmaliger/nachträglicher Einbau einer Heizungsanlage";

} // namespace

class TestEvaluation : public QObject {
    Q_OBJECT
private slots:
    void mandatoryAnswersGiveSixtyEightParagraphs();
    void documentOpensAndClosesWithTheFixedLines();
    void statesTheSpanOfTheYearClass_data();
    void statesTheSpanOfTheYearClass();
    void sizeClassesMoveTheMean_data();
    void sizeClassesMoveTheMean();
    void finalSentenceOfTheWorkedExamples_data();
    void finalSentenceOfTheWorkedExamples();
    void featureFindings_data();
    void featureFindings();
    void printedFiguresAreTheExactDecimalSums();
    void livingAreaThatIsNoNumberStopsBeforeTheFirstParagraph();
    void missingYearClassAppendsNothing();
    void sameAnswersGiveTheSameDocument();
};

void TestEvaluation::mandatoryAnswersGiveSixtyEightParagraphs() {
    for (int yearClass = 1; yearClass <= 7; ++yearClass)
        for (int area = 1; area <= 7; ++area)
            for (const char* size : {"0", "45", "75", "115", "500"})
                QCOMPARE(Run(Mandatory(yearClass, size, area)).size(), 68);
}

void TestEvaluation::documentOpensAndClosesWithTheFixedLines() {
    ReportDocument document;
    Answers answers = Mandatory(2, "75", 5);
    answers.GuestToilet = answers.Terrace = answers.BathRenewed = true;
    msr::Evaluate(answers, document, ",");
    const QStringList texts = Texts(document);
    QCOMPARE(texts.mid(0, 5), QStringList({"KWL Hausgilde Varlstadt e. V.", "Mieterschutzverein",
                                           "", "", "M I E T S P I E G E L R E C H N E R"}));
    QCOMPARE(texts.mid(texts.size() - 6),
             QStringList({"", "", "KWL Hausgilde Varlstadt e. V.", "- Mieterschutzverein -",
                          "Varlstadt", "www.kwl-hausgilde-varlstadt.de"}));
    const auto& p = document.paragraphs();
    QCOMPARE(p.front().kind, ParagraphKind::Heading);
    const int warning = texts.indexOf("Schlussberechnung");
    for (int i = 0; i < texts.size(); ++i) {
        QVERIFY2(p[i].attributes.bold, qPrintable(texts[i]));
        QCOMPARE(p[i].attributes.rgb.has_value(), i >= warning);
    }
    for (std::size_t i = p.size() - 4; i < p.size(); ++i)
        QCOMPARE(p[i].kind, ParagraphKind::Heading);
}

void TestEvaluation::statesTheSpanOfTheYearClass_data() {
    QTest::addColumn<int>("yearClass");
    QTest::addColumn<QString>("period");
    QTest::addColumn<QString>("span");
    QTest::newRow("1") << 1 << "bis 1929"
                       << "3,58 bis 5,19|4,40";
    QTest::newRow("2") << 2 << "zwischen 1930 und 1969"
                       << "3,83 bis 5,30|4,60";
    QTest::newRow("3") << 3 << "zwischen 1970 und 1977"
                       << "4,14 bis 5,43|4,70";
    QTest::newRow("4") << 4 << "zwischen 1978 und 1994"
                       << "4,73 bis 6,38|5,41";
    QTest::newRow("5") << 5 << "zwischen 1995 und 2001"
                       << "5,18 bis 6,85|5,97";
    QTest::newRow("6") << 6 << "zwischen 2002 und 2005"
                       << "5,47 bis 7,33|6,36";
    QTest::newRow("7") << 7 << "zwischen 2006 und 2011"
                       << "6,07 bis 8,18|6,72";
}

void TestEvaluation::statesTheSpanOfTheYearClass() {
    QFETCH(int, yearClass);
    QFETCH(QString, period);
    QFETCH(QString, span);
    const QStringList parts = span.split('|');
    const QString expected = "Sie haben angegeben, dass Ihre Wohnung " + period +
                             " errichtet wurde. Ihre Miete bewegt sich aufgrund des Baujahres "
                             "innerhalb einer Spanne von " +
                             parts[0] +
                             " Euro je Quadratmeter Wohnfläche. Der Mittelwert beträgt " +
                             parts[1] + " Euro je Quadratmeter Wohnfläche.";
    QCOMPARE(Findings(Mandatory(yearClass, "75", 3), "Baualtersklasse"), QStringList{expected});
}

void TestEvaluation::sizeClassesMoveTheMean_data() {
    QTest::addColumn<QString>("livingArea");
    QTest::addColumn<bool>("apartment");
    QTest::addColumn<QString>("finding");
    QTest::addColumn<QString>("finalMean");
    const QString surcharge =
        " Quadratmeter) wird ein Zuschlag in Höhe von %1 Euro je Quadratmeter "
        "Wohnfläche vorgenommen. Der neue Mittelwert beträgt %2 Euro je "
        "Quadratmeter Wohnfläche.";
    const QString deduction =
        " Quadratmeter) wird ein Abschlag in Höhe von %1 Euro je Quadratmeter "
        "Wohnfläche vorgenommen. Der neue Mittelwert beträgt %2 Euro je "
        "Quadratmeter Wohnfläche.";
    const QString none = " Quadratmeter) werden weder Zu- noch Abschläge erhoben.";
    const QString lead = "Aufgrund Ihrer Wohnungsgröße (";
    auto row = [&](const char* name, const QString& area, const QString& rest,
                   const QString& mean) {
        QTest::newRow(name) << area << false << lead + area + ",00" + rest << mean;
    };
    row("0", "0", surcharge.arg("0,82", "5,22"), "5,22");
    row("1", "1", surcharge.arg("0,82", "5,22"), "5,22");
    row("40", "40", surcharge.arg("0,82", "5,22"), "5,22");
    row("41", "41", surcharge.arg("0,41", "4,81"), "4,81");
    row("50", "50", surcharge.arg("0,41", "4,81"), "4,81");
    row("51", "51", surcharge.arg("0,21", "4,61"), "4,61");
    row("60", "60", surcharge.arg("0,21", "4,61"), "4,61");
    row("61", "61", none, "4,40");
    row("110", "110", none, "4,40");
    row("111", "111", deduction.arg("0,21", "4,19"), "4,19");
    row("120", "120", deduction.arg("0,21", "4,19"), "4,19");
    row("121", "121", deduction.arg("0,32", "4,08"), "4,08");
    QTest::newRow("apartment of 35 ignores the size class")
        << "35" << true
        << "Sie haben angegeben, dass es sich bei Ihrer Wohnung um ein Appartement handelt. Ein "
           "Appartement ist eine abgschlossene Einzimmerwohnung mit einer ausgestatteten "
           "Kochnische, Bad oder Dusche sowie WC mit einer maximalen Wohnfläche von 50,00 "
           "Quadratmetern. Daher wird für Ihre Wohnung (Appartement) ein Zuschlag in Höhe von "
           "1,27 Euro je Quadratmeter Wohnfläche vorgenommen."
        << "5,67";
    QTest::newRow("apartment of 80 as well") << "80" << true << ""
                                             << "5,67";
}

void TestEvaluation::sizeClassesMoveTheMean() {
    QFETCH(QString, livingArea);
    QFETCH(bool, apartment);
    QFETCH(QString, finding);
    QFETCH(QString, finalMean);
    Answers answers = Mandatory(1, livingArea.toUtf8().constData(), 3);
    answers.IsApartment = apartment;
    const QStringList findings = Findings(answers, "1. Wohnungsgröße");
    QCOMPARE(findings.size(), 1);
    if (!finding.isEmpty())
        QCOMPARE(findings[0], finding);
    QVERIFY(FinalSentence(answers).startsWith(
        "Ihre Angaben führen zu einem Miet-Mittelwert in Höhe von " + finalMean + " Euro"));
}

void TestEvaluation::finalSentenceOfTheWorkedExamples_data() {
    QTest::addColumn<Answers>("answers");
    QTest::addColumn<QString>("expected");

    QTest::newRow("75 square metres, 1978 to 1994, West")
        << Mandatory(4, "75", 3)
        << FinalSentence("5,41", "4,73", "6,38", "75,00", "354,75", "478,50", "405,75");

    Answers features = Mandatory(1, "45", 1);
    features.GuestToilet = true;
    features.FloorCovering = 2;
    features.HeatingKind = 3;
    QTest::newRow("45 square metres with features")
        << features << FinalSentence("4,97", "4,15", "5,76", "45,00", "186,75", "259,20", "223,65");

    Answers apartment = Mandatory(1, "35", 3);
    apartment.IsApartment = true;
    QTest::newRow("apartment of 35")
        << apartment
        << FinalSentence("5,67", "4,85", "6,46", "35,00", "169,75", "226,10", "198,45");

    // 32 bits show in the totals: the low total falls a cent short, and six digits before
    // the separator leave no room for true cents.
    QTest::newRow("twenty thousand square metres")
        << Mandatory(5, "20000", 3)
        << FinalSentence("5,65", "4,86", "6,53", "20000,00", "97199,99", "130600,00", "113000,00");
}

void TestEvaluation::finalSentenceOfTheWorkedExamples() {
    QFETCH(Answers, answers);
    QFETCH(QString, expected);
    QCOMPARE(FinalSentence(answers), expected);
}

void TestEvaluation::featureFindings_data() {
    QTest::addColumn<Answers>("answers");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QStringList>("expected"); // "…" at the end: compare the start only

    const QString mean = " Euro je Quadratmeter Wohnfläche.";
    Answers bath = Mandatory(1, "75", 3);
    bath.GuestToilet = bath.TubAndShower = true;
    QTest::newRow("both bathroom features")
        << bath << "2. Bad-Ausstattung"
        << QStringList{
               "Ihre Wohnung verfügt über ein Gäste-WC. Dadurch ergibt sich ein Zuschlag je "
               "Quadratmeter Wohnfläche in Höhe von 0,18 Euro. Der neue Mittelwert beträgt "
               "4,58" +
                   mean,
               "Ihre Wohnung verfügt über ein Badzimmer mit Badewanne und separater Dusche. "
               "Dadurch ergibt sich ein Zuschlag je Quadratmeter Wohnfläche in Höhe von 0,26 "
               "Euro. Der neue Mittelwert beträgt 4,84" +
                   mean};

    QTest::newRow("no answer on heating")
        << Mandatory(1, "75", 3) << "4. Beheizungsart"
        << QStringList{"Da Sie keine Angaben zu einer weiteren Beheizungsart gemacht haben, "
                       "erfolgen weder Zu- noch Abschläge."};

    QTest::newRow("no answer on further features: no closing blocks")
        << Mandatory(1, "75", 3) << "5. Weitere Zu- und Abschläge"
        << QStringList{"Da Sie keine Angaben zu weiteren Zu- oder Abschlägen gemacht haben, "
                       "erfolgt keine Änderung in der Höhe des Mietzinses."};

    Answers captive = Mandatory(1, "75", 3);
    captive.CaptiveRooms = true;
    QTest::newRow("one deduction closes with mean and remark")
        << captive << "5. Weitere Zu- und Abschläge"
        << QStringList{"Ihre Wohnung hat einen oder mehrere gefangene Räume…",
                       "Der Mittelwert Ihrer Wohnung beträgt 4,34" + mean,
                       "Bei folgenden Merkmalen, die im Rahmen der Mietspiegel-Erhebung abgefragt "
                       "wurden, konnte kein Einfluss auf die Höhe der Miete statistisch belegt "
                       "werden: Rolläden an allen Fenstern, Grünfläche zur allgemeinen oder "
                       "alleinigen Nutzung, Gegengsprechanlage, Keller- oder Mansardenraum "
                       "vorhanden, Anzahl der Wohneinheiten im Gebäude, Anzahl der Geschosse."};

    Answers further = Mandatory(1, "75", 3);
    further.CaptiveRooms = further.NoKitchenHotWater = further.BalconyOrLoggia = true;
    further.Terrace = further.SoundproofWindows = true;
    further.BarrierFree = 2;
    QTest::newRow("all further features: six plain sentences, +0.64")
        << further << "5. Weitere Zu- und Abschläge"
        << QStringList{"Ihre Wohnung hat einen oder mehrere gefangene Räume…",
                       "Ihre Wohnung verfügt über kein fließend Warmwasser in der Küche…",
                       "Ihre Wohnung hat einen Balkon bzw. eine Loggia…",
                       "Ihre Wohnung hat eine Terrasse bzw. Dachterrasse…",
                       "Ihre Wohnung hat Schallschutzfenster…",
                       "Bei Ihrer Wohnung handelt es sich um eine barrierefrei erstellt oder "
                       "modernisierte Wohnung…",
                       "Der Mittelwert Ihrer Wohnung beträgt 5,04" + mean,
                       "Bei folgenden Merkmalen…"};

    Answers after1980 = Mandatory(4, "75", 3);
    after1980.Built1980Side = 2;
    after1980.Insulation = 2;
    QTest::newRow("insulation after 1980 contradicts")
        << after1980 << "6. Modernisierungsmaßnahmen" << QStringList{kInsulationContradiction};

    Answers before1980 = after1980;
    before1980.Built1980Side = 1;
    QTest::newRow("insulation before 1980 counts")
        << before1980 << "6. Modernisierungsmaßnahmen"
        << QStringList{"An Ihrer Wohnung wurden nachträglich die Außenwände und das Dach in den "
                       "Jahren 1995 bis 2001 gedämmt. Dies führt zu einem Zuschlag in Höhe von "
                       "0,37 Euro je Quadratmeter Wohnfläche. Der Mittelwert Ihrer Wohnung "
                       "beträgt 5,78" +
                       mean};

    Answers recent = Mandatory(7, "75", 3);
    recent.Insulation = 3;
    recent.HeatingRenewed = recent.BathRenewed = true;
    QTest::newRow("recent building: two contradictions, the bath still counts")
        << recent << "6. Modernisierungsmaßnahmen"
        << QStringList{kInsulationContradiction, kHeatingContradictionStart + "…",
                       "Ein erstmaliger Dusch- oder Badeinbau…Der Mittelwert Ihrer Wohnung "
                       "beträgt 6,79" +
                           mean};

    Answers old = Mandatory(3, "75", 3);
    old.Insulation = 1;
    old.HeatingRenewed = true;
    QTest::newRow("old building: every modernisation counts")
        << old << "6. Modernisierungsmaßnahmen"
        << QStringList{"An Ihrer Wohnung wurden nachträglich die Außenwände und das Dach in den "
                       "Jahren 1980 bis 1994 gedämmt…4,99" +
                           mean,
                       "Ihre Wohnung wurde heiztechnisch modernisiert…5,07" + mean};

    Answers noise = Mandatory(6, "75", 4);
    noise.NoiseImpairment = true;
    QTest::newRow("North keeps the mean after the noise deduction")
        << noise << "8. Gebietseinteilung"
        << QStringList{"Sie haben angegeben, dass Ihre Wohnung im Bereich Varlstadt-Nord liegt. "
                       "Dies führt weder zu einem Zu- noch zu einem Abschlag. Der Mittelwert Ihrer "
                       "Wohnung liegt daher weiterhin bei 6,27" +
                       mean};

    QTest::newRow("no area: the section ends after its explanation")
        << Mandatory(6, "75", 0) << "8. Gebietseinteilung" << QStringList{};
}

void TestEvaluation::featureFindings() {
    QFETCH(Answers, answers);
    QFETCH(QString, heading);
    QFETCH(QStringList, expected);
    const QStringList findings = Findings(answers, heading);
    QCOMPARE(findings.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        // "…" stands for text left out of the expectation: its pieces must appear in order.
        const QStringList pieces = expected[i].split(QChar(0x2026));
        QVERIFY2(findings[i].startsWith(pieces.first()), qPrintable(findings[i]));
        QVERIFY2(findings[i].endsWith(pieces.last()), qPrintable(findings[i]));
        if (pieces.size() == 1)
            QCOMPARE(findings[i], expected[i]);
    }
}

// Every figure starts and moves by amounts of whole cents, so the report must show
// the exact decimal sums, and for living areas up to 500 the exact decimal products.
void TestEvaluation::printedFiguresAreTheExactDecimalSums() {
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
        const QString expected =
            FinalSentence(Cents(m), Cents(l), Cents(h), Cents(livingArea * 100LL),
                          Cents(l * livingArea), Cents(h * livingArea), Cents(m * livingArea));
        QCOMPARE(FinalSentence(a), expected);
    }
}

void TestEvaluation::livingAreaThatIsNoNumberStopsBeforeTheFirstParagraph() {
    ReportDocument document;
    try {
        msr::Evaluate(Mandatory(4, "Quadratmeter", 3), document, ",");
        QFAIL("evaluated");
    } catch (const msr::ConversionError& e) {
        QCOMPARE(QString::fromUtf8(e.what()),
                 QString("'Quadratmeter' ist kein gültiger Gleitkommawert"));
    }
    QVERIFY(document.paragraphs().empty());
}

void TestEvaluation::missingYearClassAppendsNothing() {
    ReportDocument document;
    QVERIFY_THROWS_EXCEPTION(msr::MissingYearClass,
                             msr::Evaluate(Mandatory(0, "75", 3), document, ","));
    QVERIFY(document.paragraphs().empty());
}

void TestEvaluation::sameAnswersGiveTheSameDocument() {
    Answers answers = Mandatory(4, "64", 6);
    answers.Built1980Side = 1;
    answers.Insulation = 3;
    answers.TubAndShower = true;
    ReportDocument first, second;
    const msr::EvaluationResult a = msr::Evaluate(answers, first, ",");
    msr::Evaluate(answers, second, ",");
    QCOMPARE(first.plainText(), second.plainText());
    QCOMPARE(msr::FormatFigure(a.totalMean, "."), std::string("422.40"));
}

QTEST_APPLESS_MAIN(TestEvaluation)
#include "test_evaluation.moc"
