#include "pdf_words.h"

#include "report/page_geometry.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QtTest>

// The report's text is 16 screen pixels high: 12 points on a 96-dpi screen, 10 points on
// a 120-dpi one, 8 on a 144-dpi one. The screen is set as a user sets it (QT_FONT_DPI);
// the report is built in the report window and its size measured on paper, against
// the page number, which is 12 points on every screen.
namespace page = msr::report::page;

class ReportScreenDpiTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (!msr::test::HavePdfToText())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QVERIFY(folder_.isValid());
    }

    void textIsSixteenScreenPixelsHigh_data() {
        QTest::addColumn<QString>("dpi");
        QTest::addColumn<double>("points");
        QTest::newRow("96 dpi") << "96" << 12.0;
        QTest::newRow("120 dpi (125 %)") << "120" << 10.0;
        QTest::newRow("144 dpi (150 %)") << "144" << 8.0;
    }
    void textIsSixteenScreenPixelsHigh() {
        QFETCH(QString, dpi);
        QFETCH(double, points);
        const QString fileName = folder_.filePath(QStringLiteral("bericht-%1.pdf").arg(dpi));
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_FONT_DPI"), dpi);
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(MSR_REPORT_AT_SCREEN_DPI), {fileName});
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitCode(), 0);

        const std::vector<msr::test::PdfPage> pages = msr::test::ReadPdfWords(fileName);
        QVERIFY(!pages.empty());
        // The report's first word, at the top of its column.
        const msr::test::PdfWord* text = nullptr;
        for (const msr::test::PdfWord& word : pages.front().words)
            if (!text && word.box.top() > page::kHeaderBottom &&
                word.box.left() > page::kDocumentLeft - 0.5)
                text = &word;
        const msr::test::PdfWord* footer = pages.front().find(QStringLiteral("Seite"));
        QVERIFY(text && footer);
        const double measured = 12.0 * text->box.height() / footer->box.height();
        QVERIFY2(qAbs(measured - points) < 0.3, qPrintable(QString::number(measured)));
    }

private:
    QTemporaryDir folder_;
};

QTEST_MAIN(ReportScreenDpiTest)
#include "test_report_screen_dpi.moc"
