// The flat-size dialog: the size list, the whole-number check and the apartment limit.

#include "questionnaire_fixture.h"
#include "recorded_messages.h"

#include <QLineEdit>

namespace {

const QString kApartmentTooLarge = QStringLiteral(
    "Ein Appartment darf eine maximale Größe von 50 Quadratmetern haben. Sie haben jedoch "
    "eine größere Quadratmeterzahl ausgewählt. Bitte korrigieren Sie Ihre Eingabe.");

void TypeSize(const QString& text) {
    QLineEdit* edit = Find<QComboBox>(Form9, "ComboBox1")->lineEdit();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

enum class Outcome { Answered, ClosedUnanswered, Refused, ConversionError };

} // namespace

Q_DECLARE_METATYPE(Outcome)

class SizeDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init() { dialogs_ = std::make_unique<QuestionnaireDialogs>(); }
    void cleanup() { dialogs_.reset(); }

    void startsWithoutASize() {
        QCOMPARE(Find<QComboBox>(Form9, "ComboBox1")->currentText(),
                 QStringLiteral("Quadratmeter"));
        QCOMPARE(Find<QComboBox>(Form9, "ComboBox1")->currentIndex(), -1);
        QVERIFY(!Find<QCheckBox>(Form9, "CheckBox1")->isChecked());
    }

    void offersTheWholeNumbersFrom1To150() {
        QStringList entries;
        for (int i = 0; i < Find<QComboBox>(Form9, "ComboBox1")->count(); ++i)
            entries.append(Find<QComboBox>(Form9, "ComboBox1")->itemText(i));
        QStringList expected;
        for (int n = 1; n <= 150; ++n)
            expected.append(QString::number(n));
        QCOMPARE(entries, expected);
    }

    void pickingAnEntryPutsItsText() {
        OpenDialog open(Form9);
        Find<QComboBox>(Form9, "ComboBox1")->setCurrentIndex(44);
        QCOMPARE(Find<QComboBox>(Form9, "ComboBox1")->currentText(), QStringLiteral("45"));
    }

    void typedTextStaysAsTypedAndJoinsNoList() {
        OpenDialog open(Form9);
        TypeSize(QStringLiteral("200"));
        QTest::keyClick(Find<QComboBox>(Form9, "ComboBox1"), Qt::Key_Return);
        QCOMPARE(Find<QComboBox>(Form9, "ComboBox1")->currentText(), QStringLiteral("200"));
        QCOMPARE(Find<QComboBox>(Form9, "ComboBox1")->count(), 150);
    }

    void ok_data() {
        QTest::addColumn<QString>("size");
        QTest::addColumn<bool>("apartment");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("message");

        const QString none;
        QTest::newRow("no size yet")
            << "Quadratmeter" << false << Outcome::ClosedUnanswered << none;
        QTest::newRow("no size yet, apartment")
            << "Quadratmeter" << true << Outcome::ClosedUnanswered << none;
        QTest::newRow("apartment of 50") << "50" << true << Outcome::Answered << none;
        QTest::newRow("apartment of 51") << "51" << true << Outcome::Refused << kApartmentTooLarge;
        QTest::newRow("apartment of 120")
            << "120" << true << Outcome::Refused << kApartmentTooLarge;
        QTest::newRow("51 without apartment") << "51" << false << Outcome::Answered << none;
        QTest::newRow("120 without apartment") << "120" << false << Outcome::Answered << none;
        QTest::newRow("0 is not tested") << "0" << true << Outcome::Answered << none;
        QTest::newRow("negative is not tested") << "-7" << true << Outcome::Answered << none;
        QTest::newRow("beyond the list") << "200" << false << Outcome::Answered << none;
        QTest::newRow("decimal comma") << "55,5" << false << Outcome::ConversionError
                                       << "'55,5' ist kein gültiger Integerwert.";
        QTest::newRow("empty") << "" << true << Outcome::ConversionError
                               << "'' ist kein gültiger Integerwert.";
        QTest::newRow("letters") << "75qm" << false << Outcome::ConversionError
                                 << "'75qm' ist kein gültiger Integerwert.";
        QTest::newRow("the placeholder in other case")
            << "quadratmeter" << false << Outcome::ConversionError
            << "'quadratmeter' ist kein gültiger Integerwert.";
        QTest::newRow("beyond 32 bits") << "2147483648" << false << Outcome::ConversionError
                                        << "'2147483648' ist kein gültiger Integerwert.";
    }
    void ok() {
        QFETCH(QString, size);
        QFETCH(bool, apartment);
        QFETCH(Outcome, outcome);
        QFETCH(QString, message);
        RecordedMessages messages;
        OpenDialog open(Form9);
        TypeSize(size);
        if (apartment)
            ClickOption(Find<QCheckBox>(Form9, "CheckBox1"));

        Click(Find<QPushButton>(Form9, "Button1"));

        QCOMPARE(open.answered(), outcome == Outcome::Answered);
        const bool refused = outcome == Outcome::Refused || outcome == Outcome::ConversionError;
        QCOMPARE(open.stillOpen(), refused);
        QCOMPARE(messages.onlyText(), message);
        if (refused) {
            const auto icon = outcome == Outcome::Refused ? msr::gui::MessageIcon::Exclamation
                                                          : msr::gui::MessageIcon::Stop;
            QCOMPARE(messages.requests.first().icon, icon);
            QCOMPARE(messages.requests.first().buttons, msr::gui::MessageButtons::Ok);
        }
        // OK changes no input.
        QCOMPARE(Find<QComboBox>(Form9, "ComboBox1")->currentText(), size);
        QCOMPARE(Find<QCheckBox>(Form9, "CheckBox1")->isChecked(), apartment);
    }

    void placeholderAgainLeavesTheDialogUnmarked() {
        {
            OpenDialog first(Form9);
            TypeSize(QStringLiteral("75"));
            Click(Find<QPushButton>(Form9, "Button1"));
            QVERIFY(first.answered());
        }
        OpenDialog second(Form9);
        QCOMPARE(Find<QComboBox>(Form9, "ComboBox1")->currentText(), QStringLiteral("75"));
        TypeSize(QStringLiteral("Quadratmeter"));
        Click(Find<QPushButton>(Form9, "Button1"));
        QVERIFY(!second.answered());
        QVERIFY(!second.stillOpen());
    }

    void clearingReturnsToNoSize() {
        OpenDialog open(Form9);
        Find<QComboBox>(Form9, "ComboBox1")->setCurrentIndex(44);
        Find<QCheckBox>(Form9, "CheckBox1")->setChecked(true);
        Form9->ClearInputs();
        QCOMPARE(Find<QComboBox>(Form9, "ComboBox1")->currentIndex(), -1);
        QCOMPARE(Find<QComboBox>(Form9, "ComboBox1")->currentText(),
                 QStringLiteral("Quadratmeter"));
        QVERIFY(!Find<QCheckBox>(Form9, "CheckBox1")->isChecked());
    }

private:
    std::unique_ptr<QuestionnaireDialogs> dialogs_;
};

QTEST_MAIN(SizeDialogTest)
#include "test_questionnaire_size_dialog.moc"
