// The figures as data: every CSV row and every JSON "figures" object of a batch carries the
// numbers that the report of the same line prints, and a refused line carries its message.
#include "batch/batch.h"
#include "batch/figures_csv.h"
#include "cli/run.h"
#include "evaluation/entry.h"
#include "tests/samples/built_in_edition.h"
#include "tests/samples/sample_answers.h"

#include <QtTest>

#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char* const kBlankLineMessage =
    "Leere Zeile: erwartet wird je Zeile ein JSON-Objekt mit Antworten.";

const QStringList kHeader = {"Nr",
                             "Aktenzeichen",
                             "Untergrenze je m²",
                             "Mittelwert je m²",
                             "Obergrenze je m²",
                             "Wohnfläche m²",
                             "Untergrenze gesamt",
                             "Mittelwert gesamt",
                             "Obergrenze gesamt",
                             "Fehler"};

// The answers as the evaluator reads them: every key written, absent ones as start-up.
std::string ToJson(const msr::Answers& a) {
    auto choice = [](msr::Choice c) {
        return c == msr::kNone ? std::string("null") : std::to_string(c);
    };
    auto yes = [](bool b) { return std::string(b ? "true" : "false"); };
    return "{\"YearClass\":" + choice(a.YearClass) +
           ",\"Built1980Side\":" + choice(a.Built1980Side) + ",\"LivingArea\":\"" + a.LivingArea +
           "\",\"IsApartment\":" + yes(a.IsApartment) + ",\"GuestToilet\":" + yes(a.GuestToilet) +
           ",\"TubAndShower\":" + yes(a.TubAndShower) +
           ",\"FloorCovering\":" + choice(a.FloorCovering) +
           ",\"HeatingKind\":" + choice(a.HeatingKind) +
           ",\"CaptiveRooms\":" + yes(a.CaptiveRooms) +
           ",\"NoKitchenHotWater\":" + yes(a.NoKitchenHotWater) +
           ",\"BalconyOrLoggia\":" + yes(a.BalconyOrLoggia) + ",\"Terrace\":" + yes(a.Terrace) +
           ",\"SoundproofWindows\":" + yes(a.SoundproofWindows) +
           ",\"BarrierFree\":" + choice(a.BarrierFree) +
           ",\"HeatingRenewed\":" + yes(a.HeatingRenewed) +
           ",\"BathRenewed\":" + yes(a.BathRenewed) + ",\"Insulation\":" + choice(a.Insulation) +
           ",\"NoiseImpairment\":" + yes(a.NoiseImpairment) +
           ",\"CityArea\":" + choice(a.CityArea) + "}";
}

// Answer lines as counsellors send them: mostly good, with every kind of bad line among
// them, living areas of every size class up to totals in exponent form, and messages
// that hold ';', quotes and line breaks.
std::vector<std::string> RandomLines(int count) {
    static const char* const kAreas[] = {"1",  "35",      "45",       "50",        "55",
                                         "75", "110",     "111",      "20000",     "99999",
                                         "-5", "1234567", "87654321", "2147483647"};
    static const char* const kBadLines[] = {
        "",
        " \t",
        "{\"YearClass\":1,",
        "[1]",
        "{\"YearClass\":4,\"LivingArea\":\"75\",\"CityArea\":1}",
        "{\"YearClass\":1,\"LivingArea\":\"5;5\",\"CityArea\":1}",
        "{\"YearClass\":1,\"LivingArea\":\"\\\"7\\\"\",\"CityArea\":1}",
        "{\"YearClass\":1,\"LivingArea\":\"7\\n5\",\"CityArea\":1}",
        "{\"a;\\\"b\":1}",
        "{\"YearClass\":1,\"LivingArea\":\"75\",\"CityArea\":1,\"IsApartment\":true}",
        "{\"YearClass\":1,\"LivingArea\":\"75\"}",
    };
    std::mt19937 random(8122026);
    auto below = [&random](unsigned n) { return static_cast<int>(random() % n); };
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
        if (below(5) == 0) {
            lines.push_back(kBadLines[below(std::size(kBadLines))]);
            continue;
        }
        msr::Answers a;
        a.YearClass = 1 + below(7);
        a.Built1980Side = a.YearClass == 4 ? 1 + below(2) : msr::kNone;
        a.LivingArea = kAreas[below(std::size(kAreas))];
        a.IsApartment = below(6) == 0 && a.LivingArea.size() < 3;
        a.GuestToilet = below(2);
        a.TubAndShower = below(2);
        a.FloorCovering = below(5);
        a.HeatingKind = below(5);
        a.CaptiveRooms = below(2);
        a.NoKitchenHotWater = below(2);
        a.BalconyOrLoggia = below(2);
        a.Terrace = below(2);
        a.SoundproofWindows = below(2);
        a.BarrierFree = below(3);
        a.HeatingRenewed = below(2);
        a.BathRenewed = below(2);
        a.Insulation = below(4);
        a.NoiseImpairment = below(2);
        a.CityArea = 1 + below(7);
        lines.push_back(ToJson(a) + (below(10) == 0 ? "\r" : ""));
    }
    return lines;
}

// The shared samples. Every feature at once is refused (an apartment of 75 m², a side of
// 1980 for a class without one), so the same as the dialogs would let it through follows.
std::vector<std::string> SampleLines() {
    msr::Answers allFeaturesSmall = msr::test::AllFeaturesAnswers();
    allFeaturesSmall.LivingArea = "45";
    allFeaturesSmall.YearClass = 4;
    return {ToJson(msr::test::MandatoryAnswers()), ToJson(msr::test::AllFeaturesAnswers()),
            ToJson(allFeaturesSmall)};
}

// What the report of one line says: its seven numbers from the text of its final sentence,
// or the message it is refused with.
struct Report {
    QStringList figures; // low, mean, high per m², living area, totals low, mean, high
    QString message;
};

Report ReportOf(std::string line, const std::string& separator) {
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (line.find_first_not_of(" \t") == std::string::npos)
        return {{}, kBlankLineMessage};
    msr::ReportDocument document;
    const msr::AnswersEvaluation evaluation =
        msr::EvaluateAnswers(msr::AdmitAnswers(line), msr::test::BuiltInEditions(),
                             msr::test::kSomeDay, separator, &document);
    if (evaluation.status != msr::AnswersEvaluation::Status::Evaluated)
        return {{}, QString::fromStdString(evaluation.message)};
    static const QRegularExpression kSentence(
        "^Ihre Angaben führen zu einem Miet-Mittelwert in Höhe von (\\S+) Euro je Quadratmeter "
        "Wohnfläche\\. Die Untergrenze beträgt (\\S+) Euro je Quadratmeter Wohnfläche, die "
        "Obergrenze (\\S+) Euro je Quadratmeter Wohnfläche\\. Bezogen auf die Größe Ihrer "
        "Wohnung in Höhe von (\\S+) Quadratmetern heißt dies, dass sich Ihre Miete in einem "
        "Bereich von (\\S+) Euro \\(Untergrenze\\) und (\\S+) Euro \\(Obergrenze\\) bewegt\\. "
        "Der Mittelwert der Gesamtmiete beträgt (\\S+) Euro\\.$");
    for (const msr::Paragraph& paragraph : document.paragraphs()) {
        const QRegularExpressionMatch m = kSentence.match(QString::fromStdString(paragraph.text));
        if (m.hasMatch())
            return {{m.captured(2), m.captured(1), m.captured(3), m.captured(4), m.captured(5),
                     m.captured(7), m.captured(6)},
                    {}};
    }
    return {{}, "no final sentence"};
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string input;
    for (const std::string& line : lines)
        input += line + '\n';
    return input;
}

QByteArray RunBatch(const std::vector<std::string>& lines, msr::batch::OutputFormat format,
                    const std::string& separator) {
    std::istringstream in(Joined(lines));
    std::ostringstream out;
    if (!msr::batch::RunBatch(in, out, {msr::test::BuiltInEditions(), msr::test::kSomeDay},
                              separator, format)
             .finished())
        return "run failed";
    return QByteArray::fromStdString(out.str());
}

// A reader of the table as a spreadsheet reads it: ';' between fields, a field in double
// quotes may hold ';', line breaks and doubled quotes.
QList<QStringList> ReadCsv(const QByteArray& bytes) {
    const QString text = QString::fromUtf8(bytes);
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"' && field.isEmpty()) {
            quoted = true;
        } else if (c == ';') {
            record << field;
            field.clear();
        } else if (c == '\n') {
            record << field;
            field.clear();
            records << record;
            record.clear();
        } else {
            field += c;
        }
    }
    if (!field.isEmpty() || !record.isEmpty())
        records << (record << field << "unended record");
    return records;
}

// The raw number texts of a JSON "figures" object, in the order of the table's columns.
QStringList FiguresOfJsonLine(const QByteArray& line) {
    static const QRegularExpression kFigures(
        "\"figures\":\\{\"perSquareMetre\":\\{\"low\":([^,]+),\"mean\":([^,]+),\"high\":([^}]+)"
        "\\},\"livingArea\":([^,]+),\"total\":\\{\"low\":([^,]+),\"mean\":([^,]+),\"high\":("
        "[^}]+)\\}\\},\"edition\":");
    const QRegularExpressionMatch m = kFigures.match(QString::fromUtf8(line));
    if (!m.hasMatch())
        return {};
    return m.capturedTexts().mid(1);
}

QString WithPoint(QString printed, const QString& separator) {
    return printed.replace(separator, ".");
}

} // namespace

class TestCliFigures : public QObject {
    Q_OBJECT

private slots:
    void everyRowHoldsTheFiguresOfItsReport_data();
    void everyRowHoldsTheFiguresOfItsReport();
    void quotesEveryField_data();
    void quotesEveryField();
    void answersASingleAnswerSetWithOneRow();
};

void TestCliFigures::everyRowHoldsTheFiguresOfItsReport_data() {
    QTest::addColumn<std::vector<std::string>>("lines");
    QTest::addColumn<QString>("separator");
    QTest::newRow("samples, comma") << SampleLines() << ",";
    QTest::newRow("samples, point") << SampleLines() << ".";
    QTest::newRow("random, comma") << RandomLines(1500) << ",";
    QTest::newRow("random, point") << RandomLines(300) << ".";
    QTest::newRow("random, Arabic separator") << RandomLines(300) << "\u066B";
}

void TestCliFigures::everyRowHoldsTheFiguresOfItsReport() {
    QFETCH(std::vector<std::string>, lines);
    QFETCH(QString, separator);
    const std::string sep = separator.toStdString();

    const QList<QStringList> rows = ReadCsv(RunBatch(lines, msr::batch::OutputFormat::Csv, sep));
    QList<QByteArray> jsonLines = RunBatch(lines, msr::batch::OutputFormat::Json, sep).split('\n');
    QCOMPARE(jsonLines.takeLast(), QByteArray());

    QCOMPARE(rows.size(), qsizetype(lines.size()) + 1);
    QCOMPARE(jsonLines.size(), qsizetype(lines.size()));
    QCOMPARE(rows[0], kHeader);
    int evaluated = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const QString where =
            QString("line %1: %2").arg(i + 1).arg(QString::fromStdString(lines[i]));
        const Report report = ReportOf(lines[i], sep);
        const QStringList& row = rows[qsizetype(i) + 1];
        QVERIFY2(row.size() == kHeader.size(), qPrintable(where));
        QCOMPARE(row[0], QString::number(i + 1));
        const QJsonObject json = QJsonDocument::fromJson(jsonLines[qsizetype(i)]).object();
        QVERIFY2(!json.isEmpty(), qPrintable(where));
        if (report.figures.isEmpty()) {
            QVERIFY2(!report.message.isEmpty(), qPrintable(where));
            QCOMPARE(row.mid(1, 8), QStringList(8, QString()));
            QCOMPARE(row[9], report.message);
            QCOMPARE(json.value("error").toString(), report.message);
            continue;
        }
        ++evaluated;
        QCOMPARE(row[1], QString());
        QCOMPARE(row.mid(2, 7), report.figures);
        QCOMPARE(row[9], QString());
        // The JSON numbers: the printed digits with a point, read as the same values.
        const QStringList numbers = FiguresOfJsonLine(jsonLines[qsizetype(i)]);
        QCOMPARE(numbers.size(), 7);
        const QJsonObject figures = json.value("figures").toObject();
        const QList<QJsonValue> values = {
            figures["perSquareMetre"]["low"],  figures["perSquareMetre"]["mean"],
            figures["perSquareMetre"]["high"], figures["livingArea"],
            figures["total"]["low"],           figures["total"]["mean"],
            figures["total"]["high"]};
        for (int k = 0; k < 7; ++k) {
            QCOMPARE(numbers[k], WithPoint(report.figures[k], separator));
            QVERIFY2(values[k].isDouble(), qPrintable(where));
            QCOMPARE(values[k].toDouble(), numbers[k].toDouble());
        }
    }
    QVERIFY(evaluated > int(lines.size()) / 2);
}

void TestCliFigures::quotesEveryField_data() {
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("plain") << QByteArray("4,73") << QByteArray("\"4,73\"");
    QTest::newRow("empty") << QByteArray() << QByteArray("\"\"");
    QTest::newRow("umlauts") << QByteArray("Größe") << QByteArray("\"Größe\"");
    QTest::newRow("semicolon") << QByteArray("a;b") << QByteArray("\"a;b\"");
    QTest::newRow("quotes") << QByteArray("'\"7\"'") << QByteArray("\"'\"\"7\"\"'\"");
    QTest::newRow("line feed") << QByteArray("7\n5") << QByteArray("\"7\n5\"");
    QTest::newRow("carriage return") << QByteArray("7\r5") << QByteArray("\"7\r5\"");
    QTest::newRow("blanks stay") << QByteArray(" a ") << QByteArray("\" a \"");
}

void TestCliFigures::quotesEveryField() {
    QFETCH(QByteArray, field);
    QFETCH(QByteArray, written);
    std::string out;
    msr::batch::AppendCsvField(field.toStdString(), out);
    QCOMPARE(QByteArray::fromStdString(out), written);
}

void TestCliFigures::answersASingleAnswerSetWithOneRow() {
    std::istringstream in(R"({"YearClass":4,"Built1980Side":1,"LivingArea":"75","CityArea":3})");
    std::ostringstream out;
    std::ostringstream err;
    const int status =
        msr::cli::RunEvaluator({"--format", "csv"}, in, out, err, {",", {}, {}, {}, {}, {}, {}});
    QCOMPARE(status, 0);
    QCOMPARE(QByteArray::fromStdString(err.str()), QByteArray());
    QCOMPARE(QByteArray::fromStdString(out.str()),
             QByteArray("\"Nr\";\"Aktenzeichen\";\"Untergrenze je m²\";\"Mittelwert je m²\";"
                        "\"Obergrenze je m²\";\"Wohnfläche m²\";\"Untergrenze gesamt\";"
                        "\"Mittelwert gesamt\";\"Obergrenze gesamt\";\"Fehler\"\n"
                        "\"1\";\"\";\"4,73\";\"5,41\";\"6,38\";\"75,00\";\"354,75\";\"405,75\";"
                        "\"478,50\";\"\"\n"));
}

QTEST_APPLESS_MAIN(TestCliFigures)
#include "test_cli_figures.moc"
