#include "page_recorder.h"
#include "sample_reports.h"

#include "report/page_bands.h"
#include "report/page_geometry.h"
#include "report/report_pages.h"

#include <QAbstractTextDocumentLayout>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QtTest>

using msr::report::ReportPages;
using msr::test::RecordedPage;
using msr::test::RecordedText;
using msr::test::RecordPage;
namespace page = msr::report::page;

namespace {

constexpr double kToleranceMm = 0.2;

// Texts painted in the text column, in painting order.
std::vector<RecordedText> ColumnTexts(const RecordedPage& recorded) {
    std::vector<RecordedText> column;
    for (const RecordedText& text : recorded.texts)
        if (text.baseline.x() >= page::kDocumentLeft - 0.01 &&
            text.baseline.y() > page::kHeaderBottom && text.baseline.y() < page::kFooterTop)
            column.push_back(text);
    return column;
}

const RecordedText* FindText(const RecordedPage& recorded, const QString& text) {
    for (const RecordedText& item : recorded.texts)
        if (item.text == text)
            return &item;
    return nullptr;
}

bool HasRule(const RecordedPage& recorded, double yMm) {
    for (const QLineF& line : recorded.lines)
        if (qAbs(line.y1() - yMm) < kToleranceMm && qAbs(line.y2() - yMm) < kToleranceMm &&
            qAbs(qMin(line.x1(), line.x2()) - page::kMargin) < kToleranceMm &&
            qAbs(qMax(line.x1(), line.x2()) - (page::kMargin + page::kPrintableWidth)) <
                kToleranceMm)
            return true;
    return false;
}

QRectF Frame(const page::Box& box) {
    return QRectF(box.left, box.top, box.width, box.height);
}

QString WithoutSpaces(QString text) {
    return text.remove(QRegularExpression(QStringLiteral("\\s")));
}

} // namespace

class ReportPagesTest : public QObject {
    Q_OBJECT

private slots:
    void firstPageLabelsSitWhereTheLayoutPutsThem_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("top");
        QTest::addColumn<int>("points");
        QTest::newRow("title") << "Mietspiegelrechner - KWL Hausgilde Varlstadt e. V." << 43.87
                               << 16.35 << 13;
        QTest::newRow("first caption") << "Auswertung" << 11.59 << 149.44 << 11;
        QTest::newRow("second caption") << "Ihrer Angaben:" << 11.59 << 154.73 << 11;
    }
    void firstPageLabelsSitWhereTheLayoutPutsThem() {
        QFETCH(QString, text);
        QFETCH(double, left);
        QFETCH(double, top);
        QFETCH(int, points);
        const ReportPages pages(msr::test::EvaluatedDocument(msr::test::MandatoryAnswers()));
        const RecordedPage first = RecordPage(pages, 0);
        const RecordedText* label = FindText(first, text);
        QVERIFY2(label, qPrintable(text));
        QVERIFY(qAbs(label->baseline.x() - left) < kToleranceMm);
        QVERIFY2(qAbs(label->top - top) < kToleranceMm, qPrintable(QString::number(label->top)));
        QCOMPARE(qRound(label->pointSize), points);
        QVERIFY(label->font.bold());
        QCOMPARE(label->font.family(), QStringLiteral("Arial"));
    }

    void firstLineOfTheDocumentStartsAtTheDocumentItem() {
        const msr::ReportDocument document =
            msr::test::EvaluatedDocument(msr::test::MandatoryAnswers());
        const RecordedPage first = RecordPage(ReportPages(document), 0);
        const std::vector<RecordedText> column = ColumnTexts(first);
        QVERIFY(!column.empty());
        const RecordedText& line = column.front();
        QVERIFY(QString::fromStdString(document.paragraphs().front().text).startsWith(line.text));
        QVERIFY2(qAbs(line.top - 36.19) < kToleranceMm, qPrintable(QString::number(line.top)));
        QVERIFY2(qAbs(line.baseline.x() - 43.87) < kToleranceMm,
                 qPrintable(QString::number(line.baseline.x())));
    }

    // A continued page starts with text where the first page's text starts, even where
    // the break falls on empty paragraphs.
    void continuationPagesStartTheirTextBelowTheHeader_data() {
        QTest::addColumn<int>("emptyAfterEach");
        QTest::newRow("no empty paragraphs") << 0;
        for (int empty = 1; empty <= 4; ++empty)
            QTest::addRow("%d empty after each", empty) << empty;
    }
    void continuationPagesStartTheirTextBelowTheHeader() {
        QFETCH(int, emptyAfterEach);
        const ReportPages pages(emptyAfterEach == 0
                                    ? msr::test::LongDocument(120)
                                    : msr::test::SpacedDocument(150, emptyAfterEach));
        QVERIFY(pages.pageCount() > 2);
        for (int i = 1; i < pages.pageCount(); ++i) {
            const std::vector<RecordedText> column = ColumnTexts(RecordPage(pages, i));
            QVERIFY(!column.empty());
            QVERIFY2(
                qAbs(column.front().top - page::kDocumentTop) < kToleranceMm,
                qPrintable(
                    QStringLiteral("page %1 starts at %2 mm").arg(i + 1).arg(column.front().top)));
        }
    }

    void everyPageHasHeaderFooterAndItsOwnNumber_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("short document") << 0;
        QTest::newRow("mandatory answers") << 1;
        QTest::newRow("all features") << 2;
        QTest::newRow("long document") << 3;
    }
    void everyPageHasHeaderFooterAndItsOwnNumber() {
        QFETCH(int, kind);
        const ReportPages pages(Sample(kind));
        for (int i = 0; i < pages.pageCount(); ++i) {
            const RecordedPage recorded = RecordPage(pages, i);
            const QString where = QStringLiteral("page %1").arg(i + 1);
            QVERIFY2(FindText(recorded, QString::fromUtf8(msr::report::kReportTitle)),
                     qPrintable(where));
            const RecordedText* number =
                FindText(recorded, QStringLiteral("Auswertung Seite %1").arg(i + 1));
            QVERIFY2(number, qPrintable(where));
            QVERIFY(qAbs(number->top - 279.32) < kToleranceMm);
            QCOMPARE(qRound(number->pointSize), 12);
            QVERIFY2(HasRule(recorded, page::kHeaderBottom - page::kRuleWidth / 2),
                     qPrintable(where));
            QVERIFY2(HasRule(recorded, page::kFooterTop + page::kRuleWidth / 2), qPrintable(where));
            QVERIFY2(recorded.shapesInside(Frame(page::kHeaderPicture)) >= 5, qPrintable(where));
            QVERIFY2(recorded.shapesInside(Frame(page::kFooterPicture)) >= 3, qPrintable(where));
        }
    }

    void captionAppearsOnTheFirstPageOnly() {
        const ReportPages pages(msr::test::LongDocument(120));
        QVERIFY(FindText(RecordPage(pages, 0), QStringLiteral("Ihrer Angaben:")));
        for (int i = 1; i < pages.pageCount(); ++i) {
            const RecordedPage recorded = RecordPage(pages, i);
            QVERIFY(!FindText(recorded, QStringLiteral("Ihrer Angaben:")));
            QVERIFY(!FindText(recorded, QStringLiteral("Auswertung")));
        }
    }

    void shortDocumentGivesOneWholePage() {
        const ReportPages pages(msr::test::ShortDocument());
        QCOMPARE(pages.pageCount(), 1);
        const RecordedPage recorded = RecordPage(pages, 0);
        QVERIFY(FindText(recorded, QStringLiteral("Auswertung")));
        QVERIFY(FindText(recorded, QStringLiteral("Ihrer Angaben:")));
        QVERIFY(FindText(recorded, QStringLiteral("Letzte Zeile")));
    }

    void emptyDocumentStillPrintsItsPage() {
        const ReportPages pages{msr::ReportDocument()};
        QCOMPARE(pages.pageCount(), 1);
        QVERIFY(FindText(RecordPage(pages, 0), QStringLiteral("Auswertung Seite 1")));
    }

    void longDocumentRunsOverSeveralPages() {
        const ReportPages allFeatures(
            msr::test::EvaluatedDocument(msr::test::AllFeaturesAnswers()));
        QVERIFY(allFeatures.pageCount() >= 3);
        const ReportPages longer(msr::test::LongDocument(200));
        QVERIFY(longer.pageCount() > allFeatures.pageCount());
    }

    // Every line is painted exactly once, whole, inside the text area of its page.
    void pagesNeverCutOrRepeatALine_data() { everyPageHasHeaderFooterAndItsOwnNumber_data(); }
    void pagesNeverCutOrRepeatALine() {
        QFETCH(int, kind);
        const msr::ReportDocument document = Sample(kind);
        const ReportPages pages(document);
        QString painted;
        for (int i = 0; i < pages.pageCount(); ++i) {
            for (const RecordedText& text : ColumnTexts(RecordPage(pages, i))) {
                QVERIFY2(
                    text.top >= page::kDocumentTop - 0.01,
                    qPrintable(text.text + QString::number(text.top) + " " + text.font.family()));
                QVERIFY(text.baseline.y() <= page::kTextBottom);
                painted += text.text;
            }
        }
        QString expected;
        for (const msr::Paragraph& paragraph : document.paragraphs())
            expected += QString::fromStdString(paragraph.text);
        QCOMPARE(WithoutSpaces(painted), WithoutSpaces(expected));
    }

    void pageBreaksFallBetweenLines() {
        const ReportPages pages(msr::test::LongDocument(150));
        std::vector<double> lineTops;
        const QTextDocument& text = pages.text();
        for (QTextBlock block = text.begin(); block.isValid(); block = block.next()) {
            const double blockTop = text.documentLayout()->blockBoundingRect(block).top();
            for (int i = 0; i < block.layout()->lineCount(); ++i)
                lineTops.push_back(blockTop + block.layout()->lineAt(i).y());
        }
        const double capacity = msr::report::FromMm(page::kTextHeightPerPage);
        for (const ReportPages::Slice& slice : pages.slices()) {
            QVERIFY(slice.bottom - slice.top <= capacity);
            QVERIFY(std::find(lineTops.begin(), lineTops.end(), slice.top) != lineTops.end());
        }
    }

    void paragraphsKeepTheirAttributesOnPaper() {
        const msr::ReportDocument document =
            msr::test::EvaluatedDocument(msr::test::MandatoryAnswers());
        const ReportPages pages(document);
        bool sawRed = false;
        bool sawAutomatic = false;
        for (int i = 0; i < pages.pageCount(); ++i)
            for (const RecordedText& text : ColumnTexts(RecordPage(pages, i))) {
                QCOMPARE(text.font.family(), QStringLiteral("Arial"));
                QCOMPARE(qRound(text.pointSize), 12);
                sawRed = sawRed || text.colour == QColor(255, 0, 0);
                sawAutomatic = sawAutomatic || text.colour == QColor(Qt::black);
            }
        QVERIFY(sawRed);       // from "Schlussberechnung" on
        QVERIFY(sawAutomatic); // everything before it
    }

    void preparedPagesKeepTheirTextWhenTheDocumentChanges() {
        msr::ReportDocument document = msr::test::ShortDocument();
        const ReportPages pages(document);
        document.clear();
        document.appendBody("Ganz anderer Text");
        const QString painted = RecordPage(pages, 0).allText();
        QVERIFY(painted.contains(QStringLiteral("Letzte Zeile")));
        QVERIFY(!painted.contains(QStringLiteral("Ganz anderer Text")));
    }

private:
    static msr::ReportDocument Sample(int kind) {
        switch (kind) {
        case 0:
            return msr::test::ShortDocument();
        case 1:
            return msr::test::EvaluatedDocument(msr::test::MandatoryAnswers());
        case 2:
            return msr::test::EvaluatedDocument(msr::test::AllFeaturesAnswers());
        default:
            return msr::test::LongDocument(150);
        }
    }
};

QTEST_MAIN(ReportPagesTest)
#include "test_report_pages.moc"
