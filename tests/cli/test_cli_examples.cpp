#include "cli/run.h"

#include <QtTest>

#include <sstream>
#include <string>
#include <vector>

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
};

Run Evaluate(const QByteArray& answers, const std::string& decimalSeparator,
             const std::vector<std::string>& arguments = {}) {
    std::istringstream in(answers.toStdString());
    std::ostringstream out;
    std::ostringstream err;
    Run run;
    run.status =
        msr::cli::RunEvaluator(arguments, in, out, err, {decimalSeparator, {}, {}, {}, {}, {}, {}});
    run.out = QString::fromStdString(out.str());
    run.err = QString::fromStdString(err.str());
    return run;
}

QString FinalSentence(const QStringList& n) {
    return "Ihre Angaben führen zu einem Miet-Mittelwert in Höhe von " + n[0] +
           " Euro je Quadratmeter Wohnfläche. Die Untergrenze beträgt " + n[1] +
           " Euro je Quadratmeter Wohnfläche, die Obergrenze " + n[2] +
           " Euro je Quadratmeter Wohnfläche. Bezogen auf die Größe Ihrer Wohnung in Höhe von " +
           n[3] + " Quadratmetern heißt dies, dass sich Ihre Miete in einem Bereich von " + n[4] +
           " Euro (Untergrenze) und " + n[5] +
           " Euro (Obergrenze) bewegt. Der Mittelwert der Gesamtmiete beträgt " + n[6] + " Euro.";
}

QJsonArray JsonParagraphs(const QByteArray& answers) {
    const Run run = Evaluate(answers, ",", {"--format", "json"});
    return QJsonDocument::fromJson(run.out.toUtf8()).object().value("paragraphs").toArray();
}

} // namespace

class TestCliExamples : public QObject {
    Q_OBJECT

private slots:
    void reproducesTheFinalCalculation_data();
    void reproducesTheFinalCalculation();
    void quotesTheSpanAndTheSizeFinding();
    void writesOnlyTheMandatoryParagraphsWhenNothingElseIsAnswered();
    void carriesBoldAndRedToTheEnd();
};

void TestCliExamples::reproducesTheFinalCalculation_data() {
    QTest::addColumn<QByteArray>("answers");
    QTest::addColumn<QString>("separator");
    // mean, low, high per square metre; living area; totals low, high, mean
    QTest::addColumn<QStringList>("numbers");

    const QByteArray class4 = R"({"YearClass":4,"Built1980Side":1,"LivingArea":"75","CityArea":3})";
    const QByteArray class1With45 = R"({"YearClass":1,"LivingArea":"45","GuestToilet":true,
                                        "FloorCovering":2,"HeatingKind":3,"CityArea":1})";

    QTest::newRow("1978 bis 1994, 75, West: totals 75 times the span")
        << class4 << ","
        << QStringList{"5,41", "4,73", "6,38", "75,00", "354,75", "478,50", "405,75"};
    QTest::newRow("the same after 1980")
        << QByteArray(R"({"YearClass":4,"Built1980Side":2,"LivingArea":"75","CityArea":3})") << ","
        << QStringList{"5,41", "4,73", "6,38", "75,00", "354,75", "478,50", "405,75"};
    QTest::newRow("bis 1929, 45, features, Innenstadt-Mitte")
        << class1With45 << ","
        << QStringList{"4,97", "4,15", "5,76", "45,00", "186,75", "259,20", "223,65"};
    QTest::newRow("apartment of 35 ignores the size class")
        << QByteArray(R"({"YearClass":1,"LivingArea":"35","IsApartment":true,"CityArea":3})") << ","
        << QStringList{"5,67", "4,85", "6,46", "35,00", "169,75", "226,10", "198,45"};
    QTest::newRow("20000 square metres show the 32-bit figures")
        << QByteArray(R"({"YearClass":5,"LivingArea":"20000","CityArea":3})") << ","
        << QStringList{"5,65", "4,86", "6,53", "20000,00", "97199,99", "130600,00", "113000,00"};
    QTest::newRow("point as the locale's separator")
        << class4 << "."
        << QStringList{"5.41", "4.73", "6.38", "75.00", "354.75", "478.50", "405.75"};
    QTest::newRow("point, bis 1929 with features")
        << class1With45 << "."
        << QStringList{"4.97", "4.15", "5.76", "45.00", "186.75", "259.20", "223.65"};
}

void TestCliExamples::reproducesTheFinalCalculation() {
    QFETCH(QByteArray, answers);
    QFETCH(QString, separator);
    QFETCH(QStringList, numbers);

    const Run run = Evaluate(answers, separator.toStdString());

    QCOMPARE(run.err, QString());
    QCOMPARE(run.status, 0);
    const QStringList lines = run.out.split('\n');
    const qsizetype heading = lines.indexOf("Schlussberechnung");
    QVERIFY(heading > 0);
    QCOMPARE(lines.value(heading + 1), FinalSentence(numbers));
}

void TestCliExamples::quotesTheSpanAndTheSizeFinding() {
    const Run run = Evaluate(R"({"YearClass":1,"LivingArea":"45","CityArea":3})", ",");

    const QStringList lines = run.out.split('\n');
    QVERIFY(lines.contains("Sie haben angegeben, dass Ihre Wohnung bis 1929 errichtet wurde. Ihre "
                           "Miete bewegt sich aufgrund des Baujahres innerhalb einer Spanne von "
                           "3,58 bis 5,19 Euro je Quadratmeter Wohnfläche. Der Mittelwert beträgt "
                           "4,40 Euro je Quadratmeter Wohnfläche."));
    QVERIFY(lines.contains("Aufgrund Ihrer Wohnungsgröße (45,00 Quadratmeter) wird ein Zuschlag in "
                           "Höhe von 0,41 Euro je Quadratmeter Wohnfläche vorgenommen. Der neue "
                           "Mittelwert beträgt 4,81 Euro je Quadratmeter Wohnfläche."));
}

void TestCliExamples::writesOnlyTheMandatoryParagraphsWhenNothingElseIsAnswered() {
    const Run run = Evaluate(R"({"YearClass":6,"LivingArea":"88","CityArea":5})", ",");

    QStringList lines = run.out.split('\n');
    QCOMPARE(lines.takeLast(), QString()); // the last paragraph ends in a newline too
    QCOMPARE(lines.size(), 68);
    QCOMPARE(lines.first(), QString("KWL Hausgilde Varlstadt e. V."));
    QCOMPARE(lines.mid(62, 5), (QStringList{"", "", "KWL Hausgilde Varlstadt e. V.",
                                            "- Mieterschutzverein -", "Varlstadt"}));
}

void TestCliExamples::carriesBoldAndRedToTheEnd() {
    const QJsonArray paragraphs =
        JsonParagraphs(R"({"YearClass":2,"LivingArea":"60","CityArea":4})");

    QCOMPARE(paragraphs.size(), 68);
    const QJsonObject first = paragraphs.first().toObject();
    QCOMPARE(first.value("kind").toString(), QString("heading"));
    QCOMPARE(first.value("face").toString(), QString("Arial"));
    QCOMPARE(first.value("points").toInt(), 12);
    QCOMPARE(first.value("bold").toBool(), true);
    QCOMPARE(first.value("color").toString(), QString("auto"));
    const QJsonObject emptyBody = paragraphs[2].toObject();
    QCOMPARE(emptyBody.value("kind").toString(), QString("body"));
    QCOMPARE(emptyBody.value("bold").toBool(), true);
    const QJsonObject calculation = paragraphs[60].toObject();
    QCOMPARE(calculation.value("text").toString(), QString("Schlussberechnung"));
    QCOMPARE(calculation.value("kind").toString(), QString("warning"));
    for (qsizetype i = 60; i < paragraphs.size(); ++i) {
        const QJsonObject paragraph = paragraphs[i].toObject();
        QCOMPARE(paragraph.value("color").toString(), QString("#ff0000"));
        QCOMPARE(paragraph.value("bold").toBool(), true);
    }
    QCOMPARE(paragraphs[59].toObject().value("color").toString(), QString("auto"));
}

QTEST_APPLESS_MAIN(TestCliExamples)
#include "test_cli_examples.moc"
