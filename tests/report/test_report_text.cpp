#include "report/artwork.h"
#include "report/report_text.h"

#include <QFont>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

Q_DECLARE_METATYPE(msr::CharAttributes)

// The document's paragraphs become formatted text, and the artwork is real artwork.
class ReportTextTest : public QObject {
    Q_OBJECT

private slots:
    void attributesBecomeCharacterFormats_data() {
        QTest::addColumn<msr::CharAttributes>("attributes");
        QTest::addColumn<QString>("face");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("coloured");

        msr::CharAttributes defaults;
        QTest::newRow("holder defaults") << defaults << "MS Sans Serif" << 8.0 << false << false;

        msr::CharAttributes body;
        body.face = "Arial";
        body.twentiethsOfPoint = 240;
        QTest::newRow("body at 96 dpi") << body << "Arial" << 12.0 << false << false;

        msr::CharAttributes heading = body;
        heading.bold = true;
        QTest::newRow("heading") << heading << "Arial" << 12.0 << true << false;

        msr::CharAttributes warning = heading;
        warning.rgb = msr::kWarningRed;
        QTest::newRow("warning") << warning << "Arial" << 12.0 << true << true;

        msr::CharAttributes small = body;
        small.twentiethsOfPoint = 160;
        QTest::newRow("body at 144 dpi") << small << "Arial" << 8.0 << false << false;
    }
    void attributesBecomeCharacterFormats() {
        QFETCH(msr::CharAttributes, attributes);
        QFETCH(QString, face);
        QFETCH(double, points);
        QFETCH(bool, bold);
        QFETCH(bool, coloured);
        const QTextCharFormat format = msr::report::ToCharFormat(attributes);
        QCOMPARE(format.fontFamilies().toStringList(), QStringList{face});
        QCOMPARE(format.fontPointSize(), points);
        QCOMPARE(format.fontWeight() == QFont::Bold, bold);
        QCOMPARE(format.hasProperty(QTextFormat::ForegroundBrush), coloured);
        if (coloured)
            QCOMPARE(format.foreground().color(), QColor(255, 0, 0));
    }

    void styleFlagsCarryOver() {
        msr::CharAttributes attributes;
        attributes.italic = true;
        attributes.underline = true;
        attributes.strikeout = true;
        const QTextCharFormat format = msr::report::ToCharFormat(attributes);
        QVERIFY(format.fontItalic());
        QVERIFY(format.fontUnderline());
        QVERIFY(format.fontStrikeOut());
    }

    void everyParagraphBecomesOneBlockInOrder() {
        msr::ReportDocument document;
        document.appendHeading("Überschrift");
        document.appendBody("");
        document.appendWarning("Schlussberechnung");
        QTextDocument text;
        msr::report::FillTextDocument(document, text);
        QCOMPARE(text.blockCount(), 3);
        QCOMPARE(text.begin().text(), QStringLiteral("Überschrift"));
        const QTextBlock empty = text.begin().next();
        QVERIFY(empty.text().isEmpty());
        // An empty paragraph keeps its own size, so the blank line is as tall as text.
        QCOMPARE(empty.charFormat().fontPointSize(), 12.0);
        QVERIFY(empty.charFormat().fontWeight() == QFont::Bold);
        const QTextBlock warning = empty.next();
        QCOMPARE(warning.text(), QStringLiteral("Schlussberechnung"));
        QCOMPARE(warning.begin().fragment().charFormat().foreground().color(), QColor(255, 0, 0));
    }

    void artworkPicturesAre92By45With256Colours_data() {
        QTest::addColumn<int>("artwork");
        QTest::newRow("header") << int(msr::report::Artwork::Header);
        QTest::newRow("footer") << int(msr::report::Artwork::Footer);
        QTest::newRow("information") << int(msr::report::Artwork::Information);
    }
    void artworkPicturesAre92By45With256Colours() {
        QFETCH(int, artwork);
        const QImage picture =
            msr::report::ArtworkPicture(static_cast<msr::report::Artwork>(artwork));
        QCOMPARE(picture.size(), QSize(92, 45));
        QVERIFY(picture.colorCount() <= 256);
        // Not a placeholder: navy letters and a brick-red roof on white.
        QSet<QRgb> colours;
        int navy = 0;
        int red = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const QColor colour = picture.pixelColor(x, y);
                colours.insert(colour.rgb());
                navy += colour.blue() > 90 && colour.red() < 40 && colour.green() < 40;
                red += colour.red() > 130 && colour.green() < 80 && colour.blue() < 70;
            }
        QVERIFY(colours.size() > 8);
        QVERIFY(navy > 100);
        QVERIFY(red > 30);
    }

    void headerAndFooterArtworkDiffer() {
        QVERIFY(msr::report::ArtworkPicture(msr::report::Artwork::Header) !=
                msr::report::ArtworkPicture(msr::report::Artwork::Footer));
    }
};

QTEST_MAIN(ReportTextTest)
#include "test_report_text.moc"
