#include "batch/batch.h"
#include "evaluation/document/report_rendering.h"
#include "evaluation/entry.h"
#include "evaluation/figures_record.h"

#include <QtTest>

#include <sstream>
#include <string>

namespace {

const char* const kClass1 = R"({"YearClass":1,"LivingArea":"45","CityArea":1})";
const char* const kClass7 = R"({"YearClass":7,"LivingArea":"130","CityArea":7})";

QStringList RunLines(const std::string& input) {
    std::istringstream in(input);
    std::ostringstream out;
    const bool ran = msr::batch::RunBatch(in, out, ",").finished();
    if (!ran)
        return {"run failed"};
    const QString output = QString::fromStdString(out.str());
    if (!output.isEmpty() && !output.endsWith('\n'))
        return {"last line not ended"};
    QStringList lines = output.split('\n');
    lines.removeLast();
    return lines;
}

QString SingleJson(const char* answers) {
    msr::ReportDocument document;
    const msr::AnswersEvaluation evaluation =
        msr::EvaluateAnswers(msr::AdmitAnswers(answers), ",", &document);
    std::string out;
    msr::AppendReportJson(document, msr::FormatFinalFigures(evaluation.result, ","), ",", out);
    return QString::fromStdString(out);
}

QString ErrorOf(const QString& line) {
    return QJsonDocument::fromJson(line.toUtf8()).object().value("error").toString();
}

struct SheetRun {
    msr::batch::BatchOutcome outcome;
    std::string table;
};

SheetRun RunSheet(const QByteArray& sheet) {
    std::istringstream in(sheet.toStdString());
    std::ostringstream out;
    SheetRun run;
    run.outcome = msr::batch::RunBatch(in, out, ",", msr::batch::OutputFormat::Csv, nullptr,
                                       msr::batch::InputFormat::Sheet);
    run.table = out.str();
    return run;
}

// The rows of the sheet that every dialect below saves: an umlaut and a euro sign, the
// separator of another dialect inside a quoted cell, a row that is refused.
QString Sheet(QChar separator, const QString& lineEnd) {
    const QStringList rows = {
        "Aktenzeichen|YearClass|Built1980Side|LivingArea|CityArea",
        "Müller € 5|4|1|75|3",
        "\"Schäfer; 2. OG, links\"|1||45|1",
        "Groß|4||60|3",
    };
    return rows.join(lineEnd).replace('|', separator) + lineEnd;
}

QByteArray Windows1252(const QString& text) {
    QByteArray bytes;
    for (const QChar c : text)
        bytes += c.unicode() == 0x20AC ? '\x80' : static_cast<char>(c.unicode());
    return bytes;
}

QByteArray Utf16(const QString& text, bool littleEndian) {
    QByteArray bytes = littleEndian ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
    for (const QChar c : text) {
        const char low = static_cast<char>(c.unicode() & 0xFF);
        const char high = static_cast<char>(c.unicode() >> 8);
        bytes += littleEndian ? QByteArray{} + low + high : QByteArray{} + high + low;
    }
    return bytes;
}

} // namespace

class TestBatch : public QObject {
    Q_OBJECT

private slots:
    void answersEveryLineInOrder();
    void answersLastLineWithoutNewline();
    void readsWindowsLineEnds();
    void writesNothingForNoInput();
    void reportsFailedOutput();
    void readsEverySpreadsheetsDialect_data();
    void readsEverySpreadsheetsDialect();
    void keepsTheRowsAfterAFaultyRow_data();
    void keepsTheRowsAfterAFaultyRow();
    void writesNoTextAsAFormula_data();
    void writesNoTextAsAFormula();
};

void TestBatch::answersEveryLineInOrder() {
    const std::string input = std::string(kClass1) + "\n" + "{\"YearClass\":1,\n" + // broken
                              "{\"YearClass\":1}\n" +                               // refused
                              "\n" +                                                // blank
                              "  \t\n" +                                            // blank too
                              "{\"LivingArea\":\"55,5\"}\n" + // refused by the dialog
                              kClass7 + "\n";

    const QStringList lines = RunLines(input);

    QCOMPARE(lines.size(), 7);
    QCOMPARE(lines[0], SingleJson(kClass1));
    QCOMPARE(ErrorOf(lines[1]), QString("Ungültiges JSON bei Byte 15: Objekt nicht mit } "
                                        "abgeschlossen."));
    QVERIFY(ErrorOf(lines[2]).startsWith("Sie müssen vor der Auswertung"));
    QCOMPARE(ErrorOf(lines[3]),
             QString("Leere Zeile: erwartet wird je Zeile ein JSON-Objekt mit Antworten."));
    QCOMPARE(lines[4], lines[3]);
    QCOMPARE(ErrorOf(lines[5]), QString("'55,5' ist kein gültiger Integerwert."));
    QCOMPARE(lines[6], SingleJson(kClass7));
    QVERIFY(lines[6] != lines[0]);
}

void TestBatch::answersLastLineWithoutNewline() {
    const QStringList lines = RunLines(std::string(kClass1) + "\n" + kClass7);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[1], SingleJson(kClass7));
}

void TestBatch::readsWindowsLineEnds() {
    const QStringList lines = RunLines(std::string(kClass1) + "\r\n\r\n");
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], SingleJson(kClass1));
    QVERIFY(ErrorOf(lines[1]).startsWith("Leere Zeile"));
}

void TestBatch::writesNothingForNoInput() {
    QCOMPARE(RunLines(""), QStringList{});
}

void TestBatch::reportsFailedOutput() {
    std::istringstream in(kClass1);
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    QVERIFY(!msr::batch::RunBatch(in, out, ",").finished());
}

void TestBatch::readsEverySpreadsheetsDialect_data() {
    QTest::addColumn<QByteArray>("sheet");
    QTest::addColumn<QString>("note");
    const QString semicolons = Sheet(';', "\n");
    QTest::newRow("UTF-8, semicolons, LF") << semicolons.toUtf8() << "";
    QTest::newRow("UTF-8 with BOM, CR LF") << "\xEF\xBB\xBF" + Sheet(';', "\r\n").toUtf8() << "";
    QTest::newRow("LibreOffice's commas") << Sheet(',', "\n").toUtf8() << "";
    QTest::newRow("Tabs, CR alone") << Sheet('\t', "\r").toUtf8() << "";
    QTest::newRow("a BOM before blank rows")
        << "\xEF\xBB\xBF;;;\r\n\r\n,,\r\n" + Sheet(';', "\r\n").toUtf8() << "";
    QTest::newRow("Excel's CSV: Windows-1252, CR LF")
        << Windows1252(Sheet(';', "\r\n")) << "als Windows-1252 gelesen";
    QTest::newRow("Excel's Unicode-Text: UTF-16 LE, Tabs")
        << Utf16(Sheet('\t', "\r\n"), true) << "als UTF-16 gelesen";
    QTest::newRow("UTF-16 BE") << Utf16(semicolons, false) << "als UTF-16 gelesen";
}

void TestBatch::readsEverySpreadsheetsDialect() {
    QFETCH(QByteArray, sheet);
    QFETCH(QString, note);
    const SheetRun expected = RunSheet(Sheet(';', "\n").toUtf8());
    QCOMPARE(expected.outcome.lines, 3u);
    QCOMPARE(expected.outcome.refused, 1u);

    const SheetRun run = RunSheet(sheet);

    QVERIFY(run.outcome.finished());
    QCOMPARE(QString::fromStdString(run.table), QString::fromStdString(expected.table));
    QCOMPARE(QString(run.outcome.encodingNote), note);
}

void TestBatch::keepsTheRowsAfterAFaultyRow_data() {
    QTest::addColumn<QByteArray>("rows");
    QTest::addColumn<QStringList>("faults"); // per row: a part of its message, or "" for figures
    const QByteArray good = "AZ;4;1;75;3\n";
    const QByteArray longCell(std::size_t{1} << 20, 'A');
    QTest::newRow("a quote inside an unquoted cell")
        << good + "AZ 5\" Zoll;4;1;75;3\n" + good << QStringList{"", "", ""};
    QTest::newRow("a quote that never closes")
        << good + "\"AZ 5;4;1;75;3\n" + good + good
        << QStringList{"",
                       "Spalte \"\"Aktenzeichen\"\" bei Byte 1: Anführungszeichen nicht "
                       "geschlossen",
                       "", ""};
    const QByteArray halfCell(std::size_t{700} << 10, 'A');
    QTest::newRow("a quoted cell too long, over two lines")
        << good + "\"" + halfCell + "\n" + halfCell + "\";4;1;75;3\n" + good
        << QStringList{"", "Die Zeile ist zu groß", ""};
    QTest::newRow("a quote open beyond the size of a row")
        << good + "\"" + halfCell + "\n" + halfCell + "\n" + good
        << QStringList{"", "Anführungszeichen nicht geschlossen", "Aktenzeichen", ""};
    QTest::newRow("an unquoted cell too long")
        << longCell + longCell + ";4;1;75;3\n" + good
        << QStringList{"Die Zeile ist zu groß: eine Zeile mit Antworten darf höchstens 1048576 "
                       "Bytes lang sein (Spalte \"\"Aktenzeichen\"\")",
                       ""};
    QTest::newRow("a line break in a quoted cell is one row")
        << "\"A\nB\";4;1;75;3\n" + good
        << QStringList{"höchstens 100 Zeichen ohne Steuerzeichen", ""};
}

void TestBatch::keepsTheRowsAfterAFaultyRow() {
    QFETCH(QByteArray, rows);
    QFETCH(QStringList, faults);

    const SheetRun run =
        RunSheet("Aktenzeichen;YearClass;Built1980Side;LivingArea;CityArea\n" + rows);

    QVERIFY(run.outcome.finished());
    QCOMPARE(run.outcome.lines, static_cast<std::uint64_t>(faults.size()));
    QStringList table = QString::fromStdString(run.table).split("\n");
    QCOMPARE(table.takeLast(), QString());
    table.removeFirst(); // the header
    QCOMPARE(table.size(), faults.size());
    for (qsizetype i = 0; i < faults.size(); ++i) {
        QVERIFY2(table[i].startsWith(QString("\"%1\";").arg(i + 1)), qPrintable(table[i].left(80)));
        if (faults[i].isEmpty())
            QVERIFY2(table[i].endsWith(";\"\""), qPrintable(table[i].left(200)));
        else
            QVERIFY2(table[i].contains(faults[i]), qPrintable(table[i].right(200)));
    }
}

void TestBatch::writesNoTextAsAFormula_data() {
    QTest::addColumn<QByteArray>("caseNumber"); // as the sheet holds it
    QTest::addColumn<QString>("cell");          // as the table writes it
    QTest::newRow("a sum") << QByteArray("=1+1") << "\"'=1+1\"";
    QTest::newRow("a link") << QByteArray("\"=HYPERLINK(\"\"http://x.example\"\";\"\"Klick\"\")\"")
                            << "\"'=HYPERLINK(\"\"http://x.example\"\";\"\"Klick\"\")\"";
    QTest::newRow("plus") << QByteArray("+49 30 1") << "\"'+49 30 1\"";
    QTest::newRow("minus") << QByteArray("-2+3") << "\"'-2+3\"";
    QTest::newRow("at") << QByteArray("@SUMME(A1)") << "\"'@SUMME(A1)\"";
    QTest::newRow("a sign inside stays") << QByteArray("AZ-1=2") << "\"AZ-1=2\"";
}

void TestBatch::writesNoTextAsAFormula() {
    QFETCH(QByteArray, caseNumber);
    QFETCH(QString, cell);

    const SheetRun run = RunSheet("Aktenzeichen;YearClass;Built1980Side;LivingArea;CityArea\n" +
                                  caseNumber + ";4;1;75;3\n" + caseNumber + ";4;1;75\n");

    const QStringList table = QString::fromStdString(run.table).split("\n");
    QCOMPARE(table.size(), 4);
    QVERIFY2(table[1].startsWith("\"1\";" + cell + ";\"4,73\""), qPrintable(table[1]));
    QVERIFY2(table[2].startsWith("\"2\";" + cell + ";\"\""), qPrintable(table[2]));
}

QTEST_APPLESS_MAIN(TestBatch)
#include "test_batch.moc"
