#include <QtTest>

#include "evaluation/report_document.h"

using msr::CharAttributes;
using msr::ReportDocument;

class TestReportDocument : public QObject {
    Q_OBJECT
private slots:
    void firstBodyAfterClearingStartsFromTheDefaults();
    void boldAndRedAreNeverTakenAway();
    void clearingForgetsEveryAttribute();
    void emptyTextIsABlankLineWithAttributes();
    void sizeFollowsTheScreenResolution_data();
    void sizeFollowsTheScreenResolution();
    void countsEveryLineEndAsTwoCharacters();
    void refusesALineBeyondItsCapacity();
};

void TestReportDocument::firstBodyAfterClearingStartsFromTheDefaults() {
    ReportDocument document;
    QCOMPARE(document.currentAttributes().face, std::string("MS Sans Serif"));
    QCOMPARE(document.currentAttributes().points(), 8);
    document.appendBody("Text");
    const CharAttributes& a = document.paragraphs().at(0).attributes;
    QCOMPARE(a.face, std::string("Arial"));
    QCOMPARE(a.twentiethsOfPoint, 240);
    QVERIFY(!a.bold && !a.italic && !a.underline && !a.strikeout);
    QVERIFY(!a.rgb.has_value());
}

void TestReportDocument::boldAndRedAreNeverTakenAway() {
    ReportDocument document;
    document.appendHeading("Überschrift");
    document.appendBody("nach der Überschrift");
    document.appendWarning("Warnung");
    document.appendHeading("nach der Warnung");
    document.appendBody("am Ende");
    const auto& p = document.paragraphs();
    QCOMPARE(p.size(), std::size_t(5));
    QVERIFY(p[0].attributes.bold && !p[0].attributes.rgb);
    QVERIFY(p[1].attributes.bold && !p[1].attributes.rgb);
    QVERIFY(p[1].kind == msr::ParagraphKind::Body);
    for (std::size_t i = 2; i < p.size(); ++i) {
        QVERIFY(p[i].attributes.bold);
        QCOMPARE(p[i].attributes.rgb.value_or(0), msr::kWarningRed);
    }
}

void TestReportDocument::clearingForgetsEveryAttribute() {
    ReportDocument document;
    document.appendWarning("rot");
    document.returnToStart();
    document.clear();
    QVERIFY(document.paragraphs().empty());
    QCOMPARE(document.length(), std::size_t(0));
    QVERIFY(document.currentAttributes() == CharAttributes{});
    document.appendBody("wieder");
    QVERIFY(!document.paragraphs()[0].attributes.bold);
    QVERIFY(!document.paragraphs()[0].attributes.rgb);
}

void TestReportDocument::emptyTextIsABlankLineWithAttributes() {
    ReportDocument document;
    document.appendHeading("");
    QCOMPARE(document.paragraphs().size(), std::size_t(1));
    QCOMPARE(document.paragraphs()[0].text, std::string());
    QVERIFY(document.paragraphs()[0].attributes.bold);
    QCOMPARE(document.plainText(), std::string("\r\n"));
}

void TestReportDocument::sizeFollowsTheScreenResolution_data() {
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("twentieths");
    QTest::newRow("96 dpi") << 96 << 240;
    QTest::newRow("120 dpi") << 120 << 200;
    QTest::newRow("144 dpi") << 144 << 160;
    QTest::newRow("72 dpi") << 72 << 320;
    QTest::newRow("halves round up") << 128 << 180; // 9 points exactly
    QTest::newRow("100 dpi") << 100 << 240;         // 11.52 points
}

void TestReportDocument::sizeFollowsTheScreenResolution() {
    QFETCH(int, dpi);
    QFETCH(int, twentieths);
    ReportDocument document(dpi);
    document.appendBody("a");
    document.appendHeading("b");
    document.appendWarning("c");
    for (const msr::Paragraph& p : document.paragraphs())
        QCOMPARE(p.attributes.twentiethsOfPoint, twentieths);
}

void TestReportDocument::countsEveryLineEndAsTwoCharacters() {
    ReportDocument document;
    document.appendBody("abc");
    document.appendBody("");
    QCOMPARE(document.length(), std::size_t(7));
    QCOMPARE(document.insertionPoint(), std::size_t(7));
    document.returnToStart();
    QCOMPARE(document.insertionPoint(), std::size_t(0));
    QCOMPARE(document.plainText(), std::string("abc\r\n\r\n"));
}

void TestReportDocument::refusesALineBeyondItsCapacity() {
    ReportDocument document(96, 10);
    document.appendBody("123456"); // 8 characters with its line end
    try {
        document.appendWarning("12");
        QFAIL("accepted");
    } catch (const msr::ReportDocumentFull& e) {
        QCOMPARE(QString::fromUtf8(e.what()), QString("Fehler bei Einfügen von RichEdit-Zeile"));
    }
    // The paragraphs appended until then stay; the failed line left nothing behind.
    QCOMPARE(document.paragraphs().size(), std::size_t(1));
    QCOMPARE(document.length(), std::size_t(8));
    document.appendBody(""); // exactly fills the capacity
    QCOMPARE(document.length(), std::size_t(10));
}

QTEST_APPLESS_MAIN(TestReportDocument)
#include "test_report_document.moc"
