#include "pdf_words.h"
#include "printed_words.h"
#include "sample_reports.h"

#include "report/page_geometry.h"
#include "report/report_output.h"
#include "report/report_pages.h"
#include "report/report_printing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>

namespace page = msr::report::page;

// Printed on another paper or across the page, the A4 report loses nothing: every word
// and every footer stands on the paper, clear of its edge.
class ReportPaperTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (!msr::test::HavePdfToText())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QVERIFY(folder_.isValid());
    }

    void everyWordIsOnThePaper_data() {
        QTest::addColumn<int>("paper");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<double>("scale");
        const int portrait = QPageLayout::Portrait;
        const int landscape = QPageLayout::Landscape;
        // Paper that holds an A4 sheet prints it at its natural size. Elsewhere the page
        // shrinks until its printed height (277 mm) or width (from the margin to the page
        // number's right edge, 2 x 96.56 mm about the middle) fits within the margins.
        QTest::newRow("A4 portrait") << int(QPageSize::A4) << portrait << 1.0;
        QTest::newRow("A3 portrait") << int(QPageSize::A3) << portrait << 1.0;
        QTest::newRow("A4 landscape") << int(QPageSize::A4) << landscape << 190.0 / 277;
        QTest::newRow("Letter portrait")
            << int(QPageSize::Letter) << portrait << (279.4 - 20) / 277;
        QTest::newRow("Letter landscape")
            << int(QPageSize::Letter) << landscape << (215.9 - 20) / 277;
        QTest::newRow("A5 portrait") << int(QPageSize::A5) << portrait << 128.0 / (2 * 96.56);
        QTest::newRow("A5 landscape") << int(QPageSize::A5) << landscape << 128.0 / 277;
    }
    void everyWordIsOnThePaper() {
        QFETCH(int, paper);
        QFETCH(int, orientation);
        QFETCH(double, scale);
        const msr::ReportDocument document =
            msr::test::EvaluatedDocument(msr::test::AllFeaturesAnswers());
        const msr::report::ReportPages pages(document);
        const QString fileName =
            folder_.filePath(QStringLiteral("%1.pdf").arg(QTest::currentDataTag()));

        // As the preview's printer, set up for this paper, prints into a file.
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::PageSizeId(paper)),
                                          QPageLayout::Orientation(orientation),
                                          QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        printer.setFullPage(true);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(fileName);
        msr::report::PrintReport(printer, pages);

        // With MSR_SCREENSHOTS naming a folder, the printed file is kept there to be looked at.
        if (const QString keep = qEnvironmentVariable("MSR_SCREENSHOTS"); !keep.isEmpty())
            QFile::copy(fileName, QDir(keep).filePath(QFileInfo(fileName).fileName()));

        const QRectF paperMm = printer.pageLayout().fullRect(QPageLayout::Millimeter);
        // Every word within 5 mm of the edge, where any printer prints.
        const QRectF printable = paperMm.marginsRemoved(QMarginsF(5, 5, 5, 5));
        const std::vector<msr::test::PdfPage> pdf = msr::test::ReadPdfWords(fileName);
        QCOMPARE(int(pdf.size()), pages.pageCount());
        for (std::size_t i = 0; i < pdf.size(); ++i) {
            QVERIFY(qAbs(pdf[i].widthMm - paperMm.width()) < 0.5);
            QVERIFY(qAbs(pdf[i].heightMm - paperMm.height()) < 0.5);
            // A little room for the boxes poppler draws around the glyphs.
            QCOMPARE(msr::test::WordsOutside(pdf[i], printable.adjusted(-0.5, -0.5, 0.5, 0.5)),
                     QStringList());
            QVERIFY(pdf[i].texts().join(' ').endsWith(
                QStringLiteral("Auswertung Seite %1").arg(i + 1)));
        }
        QCOMPARE(msr::test::PrintedLetters(pdf),
                 msr::test::ExpectedLetters(document, pages.pageCount()));
        // The page is as large as the paper allows, and centred.
        const msr::test::PdfWord* title = pdf.front().find(QStringLiteral("Mietspiegelrechner"));
        QVERIFY(title);
        const msr::report::PagePlacement placed = msr::report::PlaceA4Page(printer.pageLayout());
        QVERIFY2(qAbs(placed.scale - scale) < 0.01, qPrintable(QString::number(placed.scale)));
        QVERIFY(qAbs(title->box.left() - (placed.originMm.x() + page::kTitleLabelLeft * scale)) <
                0.5);
    }

private:
    QTemporaryDir folder_;
};

QTEST_MAIN(ReportPaperTest)
#include "test_report_paper.moc"
