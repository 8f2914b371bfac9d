#include "gui/forms.h"
#include "report/information_dialog.h"
#include "report/program_edition.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextList>

#include <QtTest>
#include <utility>

namespace {

QTextBlock Paragraph(const QTextEdit* edit, int number) {
    return edit->document()->findBlockByNumber(number - 1);
}

// Where a paragraph's first line starts, in pixels from the text's left edge.
double TextStart(const QTextEdit* edit, int number) {
    const QTextBlock block = Paragraph(edit, number);
    edit->document()->size(); // lays the whole text out
    return block.layout()->position().x() + block.layout()->lineAt(0).x();
}

// The rows of the viewport that a paragraph's first line covers.
std::pair<int, int> LineRows(const QTextEdit* edit, int number) {
    const QTextBlock block = Paragraph(edit, number);
    const QTextLine line = block.layout()->lineAt(0);
    const double top =
        block.layout()->position().y() + line.y() - edit->verticalScrollBar()->value();
    return {int(top) + 1, int(top + line.height()) - 1};
}

// The columns with anything drawn in those rows, left to right.
QList<int> InkColumns(const QImage& image, std::pair<int, int> rows) {
    const QRgb background = image.pixel(image.width() - 1, rows.first);
    QList<int> columns;
    for (int x = 0; x < image.width(); ++x)
        for (int y = std::max(0, rows.first); y <= std::min(image.height() - 1, rows.second); ++y)
            if (qGray(image.pixel(x, y)) < qGray(background) - 60) {
                columns << x;
                break;
            }
    return columns;
}

} // namespace

class InformationDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        dialog_ = new TForm2;
        QCOMPARE(Form2, dialog_);
        text_ = dialog_->findChild<QTextEdit*>(QStringLiteral("RichEdit1"));
        QVERIFY(text_);
    }
    void cleanupTestCase() {
        delete dialog_;
        QVERIFY(!Form2);
    }
    void cleanup() {
        if (dialog_->isVisible())
            dialog_->close();
    }

    // A screen reader names the artwork and the text, not just "Bild" and "Text".
    void screenReadersNameThePictureAndTheText_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        QTest::newRow("artwork") << "Image1"
                                 << "Bildmarke der KWL Hausgilde Varlstadt e. V."
                                 << "Ein Haus mit dem Schriftzug KWL";
        QTest::newRow("information text") << "RichEdit1"
                                          << "Information zum Mietspiegel"
                                          << "";
    }
    void screenReadersNameThePictureAndTheText() {
        QFETCH(QString, control);
        QFETCH(QString, name);
        QFETCH(QString, description);
        QWidget* widget = dialog_->findChild<QWidget*>(control);
        QVERIFY(widget);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(accessible);
        QCOMPARE(accessible->text(QAccessible::Name), name);
        if (!description.isEmpty())
            QCOMPARE(accessible->text(QAccessible::Description), description);
    }

    void windowLooksAsLaidOut() {
        QCOMPARE(dialog_->windowTitle(), QStringLiteral("Mietspiegel: Information"));
        QCOMPARE(dialog_->size(), QSize(427, 233));
        QVERIFY(!(dialog_->windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!(dialog_->windowFlags() & Qt::WindowSystemMenuHint));
        QCOMPARE(dialog_->findChild<QLabel*>(QStringLiteral("Label2"))->text(),
                 QStringLiteral("KWL Hausgilde Varlstadt e. V."));
        QCOMPARE(dialog_->findChild<QLabel*>(QStringLiteral("Label3"))->text(),
                 QStringLiteral("Mietspiegel für die Stadt Varlstadt"));
        // The artwork is drawn once the dialog is made ready for its first showing.
        dialog_->ensurePolished();
        QCOMPARE(dialog_->findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().size(),
                 QSize(92, 45));
        QCOMPARE(dialog_->findChild<QPushButton*>(QStringLiteral("Button1"))->text(),
                 QStringLiteral("OK"));
    }

    void textHasItsParagraphs_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("exact");
        QTest::addColumn<bool>("bulleted");
        const QString web =
            QString::fromStdString(msr::report::ProgramEdition().publisher.webAddress);
        const struct {
            int number;
            const char* text;
            bool exact;
        } rows[] = {
            {1, "M i e t s p i e g e l", true},
            {2, "für nicht preisgebundene Wohnungen in Varlstadt", true},
            {3, "", true},
            {4, "Alle Rechte bei KWL Hausgilde Varlstadt e. V.", false},
            {5, "", true},
            {6, "Stand: 1. Januar 2015", true},
            {7, "Laufzeit: bis 31.12.2016", true},
            {8, "", true},
            {9, "Der Mietspiegel wurde erstellt unter Mitwirkung der Interessenverbände:", true},
            {10, "Tessmark Varlstadt e. V. - Haus-, Wohnungs- und Grundeigentümerverband, ", false},
            {11, "KWL Hausgilde Varlstadt e. V. - Mieterschutzverein -, ", false},
            {12, "Mieterverein Varlstadt und Umgebung e. V., ", false},
            {13, "Arbeitsgemeinschaft Varlstädter Wohnungsunternehmen, ", false},
            {14, "Der Gutachterausschuss für Grundstückswerte in der Stadt Varlstadt, ", false},
            {15, "Stadt Varlstadt, Amt für Wohnungswesen, ", false},
            {16, "", true},
            {17, "", true},
            {18, "Kontakt:", true},
            {19, "     KWL Hausgilde Varlstadt e. V.", true},
            {20, "     - Mieterschutzverein -", true},
            {21, "     ", false},
            {22, "     Tel.: ", false},
        };
        for (const auto& row : rows)
            QTest::addRow("%d", row.number) << row.number << QString::fromUtf8(row.text)
                                            << row.exact << (row.number >= 10 && row.number <= 16);
        QTest::addRow("23") << 23 << QStringLiteral("     Internet: ") + web << true << false;
    }
    void textHasItsParagraphs() {
        QFETCH(int, number);
        QFETCH(QString, text);
        QFETCH(bool, exact);
        QFETCH(bool, bulleted);
        const QTextBlock block = Paragraph(text_, number);
        if (exact)
            QCOMPARE(block.text(), text);
        else
            QVERIFY2(block.text().startsWith(text) && block.text().size() > text.size() + 5,
                     qPrintable(block.text()));
        QCOMPARE(block.textList() != nullptr, bulleted);
        // No character attribute is ever set: every paragraph in the dialog's font.
        QCOMPARE(block.charFormat().fontWeight(), QTextCharFormat().fontWeight());
    }

    void textEndsAfterTheLastParagraph() {
        QTextDocument* document = text_->document();
        QCOMPARE(document->blockCount(), 24);
        QVERIFY(document->lastBlock().text().isEmpty());
        QVERIFY(!document->lastBlock().textList());
    }

    void bulletedTextStandsTenPointsRightOfItsBullet() {
        dialog_->show();
        const double tenPoints = 10.0 * text_->logicalDpiY() / 72.0;
        const double plain = TextStart(text_, 9);
        for (int number = 10; number <= 16; ++number)
            QVERIFY2(qAbs(TextStart(text_, number) - plain - tenPoints) < 0.5,
                     qPrintable(QString::number(TextStart(text_, number) - plain)));
        QCOMPARE(TextStart(text_, 17), plain);
    }

    void textIsReadOnlyButSelectableAndCopyable() {
        QVERIFY(text_->isReadOnly());
        QVERIFY(text_->textInteractionFlags() & Qt::TextSelectableByMouse);
        QVERIFY(text_->textInteractionFlags() & Qt::TextSelectableByKeyboard);
        const QString before = text_->toPlainText();
        dialog_->show();
        text_->setFocus();
        QTest::keyClicks(text_, QStringLiteral("xyz"));
        QCOMPARE(text_->toPlainText(), before);
        text_->selectAll();
        text_->copy();
        QVERIFY(QGuiApplication::clipboard()->text().startsWith(QStringLiteral("M i e t s p")));
    }

    void showingTwiceKeepsTheTextOnce() {
        dialog_->show();
        dialog_->close();
        dialog_->show();
        QCOMPARE(text_->document()->blockCount(), 24);
    }

    void everyShowingStartsAtTheBeginningOfTheText() {
        dialog_->show();
        QTextCursor end = text_->textCursor();
        end.movePosition(QTextCursor::End);
        text_->setTextCursor(end);
        text_->verticalScrollBar()->setValue(text_->verticalScrollBar()->maximum());
        QVERIFY(text_->verticalScrollBar()->value() > 0);
        dialog_->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        QVERIFY(!dialog_->isVisible());

        dialog_->show();
        QCOMPARE(text_->textCursor().position(), 0);
        QCOMPARE(text_->verticalScrollBar()->value(), 0);
    }

    void okHasTheFocusWhenTheDialogOpens() {
        dialog_->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog_));
        QCOMPARE(dialog_->focusWidget(),
                 dialog_->findChild<QPushButton*>(QStringLiteral("Button1")));
    }

    void enterPressesOk_data() {
        QTest::addColumn<QString>("focus");
        QTest::newRow("on OK") << "Button1";
        QTest::newRow("in the text") << "RichEdit1";
    }
    void enterPressesOk() {
        QFETCH(QString, focus);
        dialog_->open();
        QVERIFY(QTest::qWaitForWindowActive(dialog_));
        dialog_->findChild<QWidget*>(focus)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!dialog_->isVisible());
        dialog_->open();
        QVERIFY(QTest::qWaitForWindowActive(dialog_));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
        QVERIFY(!dialog_->isVisible());
    }

    // As drawn: each bullet at the left edge where the plain paragraphs start, its
    // paragraph's text 10 points right of it.
    void bulletsStandAtTheLeftEdgeAndTheTextTenPointsRight() {
        dialog_->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog_));
        const QTextBlock plain = Paragraph(text_, 9);
        text_->verticalScrollBar()->setValue(int(plain.layout()->position().y()) - 2);
        const QImage shown = text_->viewport()->grab().toImage();
        const double tenPoints = 10.0 * text_->logicalDpiY() / 72.0;
        const int plainLeft = InkColumns(shown, LineRows(text_, 9)).value(0, -1);
        QVERIFY(plainLeft >= 0);
        for (int number = 10; number <= 12; ++number) {
            const QList<int> ink = InkColumns(shown, LineRows(text_, number));
            QVERIFY(!ink.isEmpty());
            const int bulletLeft = ink.first();
            // The text starts after the first gap of blank columns.
            int textLeft = -1;
            for (int i = 1; i < ink.size() && textLeft < 0; ++i)
                if (ink[i] - ink[i - 1] > 2)
                    textLeft = ink[i];
            QVERIFY2(
                qAbs(bulletLeft - plainLeft) <= 1,
                qPrintable(
                    QStringLiteral("bullet %1, plain text %2").arg(bulletLeft).arg(plainLeft)));
            QVERIFY2(qAbs(textLeft - bulletLeft - tenPoints) <= 2,
                     qPrintable(
                         QStringLiteral("text %1 right of the bullet").arg(textLeft - bulletLeft)));
        }
    }

    // The caption is drawn whole within its 286-pixel box, whichever face stands in.
    void captionFitsItsBox() {
        dialog_->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog_));
        auto* label = dialog_->findChild<QLabel*>(QStringLiteral("Label3"));
        QCOMPARE(label->geometry().left(), 129);
        QVERIFY(label->geometry().right() < 129 + 286);
        const QImage shown =
            dialog_->grab(QRect(129, label->y(), 427 - 129, label->height())).toImage();
        int rightmostInk = -1;
        const QRgb background = shown.pixel(shown.width() - 1, 0);
        for (int x = 0; x < shown.width(); ++x)
            for (int y = 0; y < shown.height(); ++y)
                if (shown.pixel(x, y) != background)
                    rightmostInk = x;
        QVERIFY2(rightmostInk > 200 && rightmostInk < 286,
                 qPrintable(QString::number(rightmostInk)));
    }

    void escapeClosesLikeOk() {
        dialog_->open();
        QVERIFY(dialog_->isVisible());
        QTest::keyClick(dialog_, Qt::Key_Escape);
        QVERIFY(!dialog_->isVisible());
    }

    void appendInfoLineWritesIntoForm2() {
        TForm2 other;
        QCOMPARE(Form2, &other);
        AppendInfoLine("Noch eine Zeile");
        QTextDocument* document = other.infoText()->document();
        QCOMPARE(document->blockCount(), 25);
        QCOMPARE(document->findBlockByNumber(23).text(), QStringLiteral("Noch eine Zeile"));
        QCOMPARE(text_->document()->blockCount(), 24);
        Form2 = dialog_;
    }

private:
    TForm2* dialog_ = nullptr;
    QTextEdit* text_ = nullptr;
};

QTEST_MAIN(InformationDialogTest)
#include "test_information_dialog.moc"
