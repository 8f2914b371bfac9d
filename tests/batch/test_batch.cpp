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

} // namespace

class TestBatch : public QObject {
    Q_OBJECT

private slots:
    void answersEveryLineInOrder();
    void answersLastLineWithoutNewline();
    void readsWindowsLineEnds();
    void writesNothingForNoInput();
    void reportsFailedOutput();
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

QTEST_APPLESS_MAIN(TestBatch)
#include "test_batch.moc"
