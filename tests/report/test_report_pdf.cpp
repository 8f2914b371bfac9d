#include "pdf_words.h"
#include "sample_reports.h"

#include "report/page_geometry.h"
#include "report/report_output.h"
#include "report/report_pages.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using msr::test::PdfPage;
using msr::test::PdfWord;
namespace page = msr::report::page;

namespace {

constexpr double kToleranceMm = 0.2;

// Words of the text column: right of the caption, between header and footer.
std::vector<PdfWord> ColumnWords(const PdfPage& pdfPage) {
    std::vector<PdfWord> column;
    for (const PdfWord& word : pdfPage.words)
        if (word.box.left() >= page::kDocumentLeft - kToleranceMm &&
            word.box.top() > page::kHeaderBottom && word.box.bottom() < page::kFooterTop)
            column.push_back(word);
    return column;
}

QString PageText(const PdfPage& pdfPage) {
    return pdfPage.texts().join(QLatin1Char(' '));
}

} // namespace

// The PDF is what gets checked and shared: it must carry real text where the page
// layout puts it.
class ReportPdfTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (!msr::test::HavePdfToText())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QVERIFY(folder_.isValid());
    }

    void firstPageCarriesTextAtItsPlaces_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("top");
        QTest::newRow("title") << "Mietspiegelrechner" << 43.87 << 16.35;
        QTest::newRow("first caption") << "Auswertung" << 11.59 << 149.44;
        QTest::newRow("second caption") << "Ihrer" << 11.59 << 154.73;
    }
    void firstPageCarriesTextAtItsPlaces() {
        QFETCH(QString, word);
        QFETCH(double, left);
        QFETCH(double, top);
        const std::vector<PdfPage> pages = Write(msr::test::MandatoryAnswers());
        const PdfWord* found = pages.front().find(word);
        QVERIFY2(found, qPrintable(word));
        QVERIFY2(qAbs(found->box.left() - left) < kToleranceMm,
                 qPrintable(QString::number(found->box.left())));
        QVERIFY2(qAbs(found->box.top() - top) < kToleranceMm,
                 qPrintable(QString::number(found->box.top())));
    }

    void documentStartsAtItsItemOnTheFirstPage() {
        const std::vector<PdfPage> pages = Write(msr::test::MandatoryAnswers());
        QVERIFY(qAbs(pages.front().widthMm - 210.0) < 0.2);
        QVERIFY(qAbs(pages.front().heightMm - 297.0) < 0.2);
        const std::vector<PdfWord> column = ColumnWords(pages.front());
        QVERIFY(!column.empty());
        QCOMPARE(column.front().text, QStringLiteral("KWL"));
        QVERIFY2(qAbs(column.front().box.top() - 36.19) < kToleranceMm,
                 qPrintable(QString::number(column.front().box.top())));
        QVERIFY2(qAbs(column.front().box.left() - 43.87) < kToleranceMm,
                 qPrintable(QString::number(column.front().box.left())));
    }

    void everyPageIsNumberedAtTheRightEdgeOfItsField() {
        const std::vector<PdfPage> pages = Write(msr::test::AllFeaturesAnswers());
        QVERIFY(pages.size() >= 3);
        for (std::size_t i = 0; i < pages.size(); ++i) {
            const QString number = QString::number(i + 1);
            QVERIFY(PageText(pages[i]).contains(QStringLiteral("Auswertung Seite ") + number));
            QVERIFY(PageText(pages[i]).startsWith(
                QStringLiteral("Mietspiegelrechner - KWL Hausgilde Varlstadt e. V.")));
            const PdfWord* last = &pages[i].words.back();
            QCOMPARE(last->text, number);
            QVERIFY2(qAbs(last->box.right() - 201.56) < kToleranceMm,
                     qPrintable(QString::number(last->box.right())));
            QVERIFY(qAbs(last->box.top() - 279.32) < kToleranceMm);
        }
    }

    // Across all pages the text column reads exactly the document, each word once.
    void textFlowsOverThePagesWithoutLossOrRepetition() {
        const msr::ReportDocument document =
            msr::test::EvaluatedDocument(msr::test::AllFeaturesAnswers());
        const std::vector<PdfPage> pages = Write(document);
        QStringList painted;
        for (const PdfPage& pdfPage : pages) {
            const std::vector<PdfWord> column = ColumnWords(pdfPage);
            QVERIFY(!column.empty());
            QVERIFY(qAbs(column.front().box.top() - page::kDocumentTop) < kToleranceMm);
            for (const PdfWord& word : column) {
                QVERIFY(word.box.bottom() < page::kFooterTop);
                painted << word.text;
            }
        }
        QStringList expected;
        for (const msr::Paragraph& paragraph : document.paragraphs())
            expected << QString::fromStdString(paragraph.text)
                            .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        // Lines may break after a slash, inside a word: compare the letters only.
        QCOMPARE(painted.join(QString()), expected.join(QString()));
    }

    void shortDocumentIsOnePage() {
        const std::vector<PdfPage> pages = Write(msr::test::ShortDocument());
        QCOMPARE(pages.size(), std::size_t(1));
        QVERIFY(PageText(pages.front()).contains(QStringLiteral("Ihrer Angaben:")));
        QVERIFY(PageText(pages.front()).endsWith(QStringLiteral("Auswertung Seite 1")));
    }

    void unwritableFileIsReportedInGerman() {
        const msr::ReportDocument document = msr::test::ShortDocument();
        const QString fileName = folder_.filePath(QStringLiteral("fehlt/bericht.pdf"));
        try {
            msr::report::WriteReportPdf(document, fileName);
            QFAIL("no error raised");
        } catch (const msr::report::ReportOutputError& error) {
            QCOMPARE(QString::fromUtf8(error.what()),
                     QStringLiteral("Die Datei \"%1\" kann nicht erstellt werden: "
                                    "Der Ordner \"%2\" existiert nicht")
                         .arg(fileName, folder_.filePath(QStringLiteral("fehlt"))));
        }
    }

private:
    std::vector<PdfPage> Write(const msr::Answers& answers) {
        return Write(msr::test::EvaluatedDocument(answers));
    }
    std::vector<PdfPage> Write(const msr::ReportDocument& document) {
        const QString fileName = folder_.filePath(QStringLiteral("bericht%1.pdf").arg(++written_));
        msr::report::WriteReportPdf(document, fileName);
        return msr::test::ReadPdfWords(fileName);
    }

    QTemporaryDir folder_;
    int written_ = 0;
};

QTEST_MAIN(ReportPdfTest)
#include "test_report_pdf.moc"
