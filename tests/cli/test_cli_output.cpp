#include "evaluation/document/report_rendering.h"
#include "evaluation/entry.h"
#include "evaluation/rent_index/admission.h"
#include "tests/samples/built_in_edition.h"

#include <QtTest>

#include <string>

using msr::ReportDocument;

class TestCliOutput : public QObject {
    Q_OBJECT

private slots:
    void addsFullStopLikeTheErrorReport_data();
    void addsFullStopLikeTheErrorReport();
    void escapesJsonStrings_data();
    void escapesJsonStrings();
    void writesParagraphsWithTheirAttributes();
    void writesPointsOfTheDocumentsScreen();
    void writesTextOneLinePerParagraph();
    void writesErrorObject();
    void jsonOfAWholeEvaluationReadsBackAsTheDocument();
};

void TestCliOutput::addsFullStopLikeTheErrorReport_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");

    QTest::newRow("empty stays empty") << ""
                                       << "";
    QTest::newRow("letter") << "kein Integerwert"
                            << "kein Integerwert.";
    QTest::newRow("full stop already") << "Eingabe."
                                       << "Eingabe.";
    QTest::newRow("quote lies below the full stop") << "'('"
                                                    << "'('";
    QTest::newRow("bracket lies below") << "(x)"
                                        << "(x)";
    QTest::newRow("hyphen lies below") << "a-"
                                       << "a-";
    QTest::newRow("slash lies above") << "a/"
                                      << "a/.";
    QTest::newRow("umlaut lies above") << "Größe"
                                       << "Größe.";
    QTest::newRow("eszett lies above") << "groß"
                                       << "groß.";
}

void TestCliOutput::addsFullStopLikeTheErrorReport() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(QString::fromStdString(msr::WithFullStop(message.toStdString())), shown);
}

void TestCliOutput::escapesJsonStrings_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("literal");

    QTest::newRow("plain") << QByteArray("Größe 4,73") << QByteArray("\"Größe 4,73\"");
    QTest::newRow("empty") << QByteArray("") << QByteArray("\"\"");
    QTest::newRow("quote") << QByteArray("'a\"b'") << QByteArray(R"("'a\"b'")");
    QTest::newRow("backslash") << QByteArray("C:\\x") << QByteArray(R"("C:\\x")");
    QTest::newRow("line breaks and tab") << QByteArray("a\r\n\tb") << QByteArray(R"("a\r\n\tb")");
    QTest::newRow("other control characters")
        << QByteArray("\x01\x1f\b\f", 4) << QByteArray(R"("\u0001\u001f\b\f")");
    QTest::newRow("nul") << QByteArray("a\0b", 3) << QByteArray(R"("a\u0000b")");
    QTest::newRow("delete and slash need none") << QByteArray("\x7f/") << QByteArray("\"\x7f/\"");
}

void TestCliOutput::escapesJsonStrings() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, literal);
    std::string out = "x";

    msr::AppendJsonString(std::string(text.constData(), text.size()), out);

    QCOMPARE(QByteArray::fromStdString(out), "x" + literal);
}

void TestCliOutput::writesParagraphsWithTheirAttributes() {
    ReportDocument document;
    document.appendBody("a");
    document.appendHeading("\"b\"");
    document.appendWarning("");
    std::string out;

    msr::AppendReportJson(document, out);

    QCOMPARE(QByteArray::fromStdString(out),
             QByteArray(R"({"paragraphs":[)"
                        R"({"kind":"body","text":"a","face":"Arial","points":12,"bold":false,)"
                        R"("italic":false,"underline":false,"strikeout":false,"color":"auto"},)"
                        R"({"kind":"heading","text":"\"b\"","face":"Arial","points":12,)"
                        R"("bold":true,"italic":false,"underline":false,"strikeout":false,)"
                        R"("color":"auto"},)"
                        R"({"kind":"warning","text":"","face":"Arial","points":12,"bold":true,)"
                        R"("italic":false,"underline":false,"strikeout":false,)"
                        R"("color":"#ff0000"}]})"));
}

void TestCliOutput::writesPointsOfTheDocumentsScreen() {
    ReportDocument document(120);
    document.appendBody("a");
    std::string out;

    msr::AppendReportJson(document, out);

    QVERIFY2(out.find("\"points\":10,") != std::string::npos, out.c_str());
}

void TestCliOutput::writesTextOneLinePerParagraph() {
    ReportDocument document;
    document.appendHeading("Größe");
    document.appendBody("");
    document.appendWarning("Schluss");
    std::string out;

    msr::AppendReportText(document, out);

    QCOMPARE(QByteArray::fromStdString(out), QByteArray("Größe\n\nSchluss\n"));
}

void TestCliOutput::writesErrorObject() {
    std::string out;
    msr::AppendErrorJson("'5\"' ist kein gültiger Integerwert.", out);
    QCOMPARE(QByteArray::fromStdString(out),
             QByteArray(R"({"error":"'5\"' ist kein gültiger Integerwert."})"));
}

void TestCliOutput::jsonOfAWholeEvaluationReadsBackAsTheDocument() {
    ReportDocument document;
    const auto evaluation = msr::EvaluateAnswers(
        msr::AdmitAnswers(
            R"({"YearClass":4,"Built1980Side":1,"LivingArea":"75","CityArea":2,"GuestToilet":true})"),
        msr::test::BuiltInEditions(), msr::test::kSomeDay, ",", &document);
    QCOMPARE(evaluation.status, msr::AnswersEvaluation::Status::Evaluated);
    std::string out;

    msr::AppendReportJson(document, out);

    QJsonParseError error{};
    const QJsonDocument json = QJsonDocument::fromJson(QByteArray::fromStdString(out), &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QJsonArray paragraphs = json.object().value("paragraphs").toArray();
    QCOMPARE(paragraphs.size(), qsizetype(document.paragraphs().size()));
    for (qsizetype i = 0; i < paragraphs.size(); ++i) {
        const msr::Paragraph& expected = document.paragraphs()[std::size_t(i)];
        const QJsonObject paragraph = paragraphs[i].toObject();
        QCOMPARE(paragraph.value("text").toString(), QString::fromStdString(expected.text));
        QCOMPARE(paragraph.value("bold").toBool(), expected.attributes.bold);
        QCOMPARE(paragraph.value("color").toString(),
                 QString(expected.attributes.rgb ? "#ff0000" : "auto"));
    }
}

QTEST_APPLESS_MAIN(TestCliOutput)
#include "test_cli_output.moc"
