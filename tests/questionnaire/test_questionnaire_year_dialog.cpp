// The construction-year dialog: the coupling of class and side, and its OK.

#include "questionnaire/radio_group.h"
#include "questionnaire_fixture.h"
#include "recorded_messages.h"

#include <QRadioButton>

namespace {

const QString kSideMissing = QStringLiteral(
    "Sie haben angegeben, dass das Baujahr Ihrer Wohnung zwischen 1978 und 1994 liegt. "
    "Bitte geben Sie zusätzlich noch an, ob die Wohnung vor oder nach 1980 errichtet wurde.");

QRadioButton* Option(int number) {
    return Form12->findChild<QRadioButton*>(QStringLiteral("RadioButton%1").arg(number));
}

void ChooseInTurn(const QList<int>& options) {
    for (int number : options)
        ClickOption(Option(number));
}

msr::Choice YearClass() {
    return msr::questionnaire::SelectedChoice(
        {Find<QRadioButton>(Form12, "RadioButton1"), Find<QRadioButton>(Form12, "RadioButton2"),
         Find<QRadioButton>(Form12, "RadioButton3"), Find<QRadioButton>(Form12, "RadioButton4"),
         Find<QRadioButton>(Form12, "RadioButton5"), Find<QRadioButton>(Form12, "RadioButton6"),
         Find<QRadioButton>(Form12, "RadioButton7")});
}

msr::Choice Side() {
    return msr::questionnaire::SelectedChoice(
        {Find<QRadioButton>(Form12, "RadioButton8"), Find<QRadioButton>(Form12, "RadioButton9")});
}

// Puts the buttons into a state without running any handler, as no user could.
void SelectQuietly(QRadioButton* button) {
    const QSignalBlocker quiet(button);
    button->setChecked(true);
}

} // namespace

class YearDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init() { dialogs_ = std::make_unique<QuestionnaireDialogs>(); }
    void cleanup() { dialogs_.reset(); }

    void startsWithNothingChosen() {
        QCOMPARE(YearClass(), msr::kNone);
        QCOMPARE(Side(), msr::kNone);
    }

    // RadioButton1..7 are the classes, 8 and 9 the sides "vor 1980" and "nach 1980".
    void classAndSideStayCoupled_data() {
        QTest::addColumn<QList<int>>("chosen");
        QTest::addColumn<int>("yearClass");
        QTest::addColumn<int>("side");

        QTest::newRow("a side alone brings 1978 bis 1994") << QList<int>{9} << 4 << 2;
        QTest::newRow("a side replaces another class") << QList<int>{2, 8} << 4 << 1;
        QTest::newRow("a side after 1978 bis 1994") << QList<int>{4, 9} << 4 << 2;
        QTest::newRow("moving between the sides") << QList<int>{8, 9} << 4 << 2;
        QTest::newRow("1978 bis 1994 again keeps the side") << QList<int>{8, 4} << 4 << 1;
        for (int other : {1, 2, 3, 5, 6, 7})
            QTest::addRow("class %d forgets the side", other) << QList<int>{8, other} << other << 0;
        QTest::newRow("the side stays forgotten when coming back") << QList<int>{8, 5, 4} << 4 << 0;
        QTest::newRow("forgotten, then chosen again") << QList<int>{8, 1, 9} << 4 << 2;
        QTest::newRow("classes alone choose no side") << QList<int>{1, 2, 3, 4} << 4 << 0;
    }
    void classAndSideStayCoupled() {
        QFETCH(QList<int>, chosen);
        QFETCH(int, yearClass);
        QFETCH(int, side);
        OpenDialog open(Form12);
        ChooseInTurn(chosen);
        QCOMPARE(YearClass(), yearClass);
        QCOMPARE(Side(), side);
    }

    void reselectingTheSelectedClassRunsNothing() {
        // If the handler of "1995 bis 2001" ran again, the side would go.
        SelectQuietly(Find<QRadioButton>(Form12, "RadioButton5"));
        SelectQuietly(Find<QRadioButton>(Form12, "RadioButton8"));
        OpenDialog open(Form12);
        ClickOption(Find<QRadioButton>(Form12, "RadioButton5"));
        QVERIFY(Find<QRadioButton>(Form12, "RadioButton8")->isChecked());
    }

    void deselectingRunsNothing() {
        SelectQuietly(Find<QRadioButton>(Form12, "RadioButton2"));
        SelectQuietly(Find<QRadioButton>(Form12, "RadioButton8"));
        msr::questionnaire::Deselect(Find<QRadioButton>(Form12, "RadioButton2"));
        QCOMPARE(YearClass(), msr::kNone);
        QVERIFY(Find<QRadioButton>(Form12, "RadioButton8")->isChecked());
        msr::questionnaire::Deselect(Find<QRadioButton>(Form12, "RadioButton8"));
        QCOMPARE(Side(), msr::kNone);
        QCOMPARE(YearClass(), msr::kNone);
    }

    void choosingBySideRunsNoHandlerFor1978To1994() {
        // Selecting RadioButton4 from a side handler must not forget the side just chosen.
        OpenDialog open(Form12);
        ClickOption(Find<QRadioButton>(Form12, "RadioButton3"));
        ClickOption(Find<QRadioButton>(Form12, "RadioButton9"));
        QVERIFY(Find<QRadioButton>(Form12, "RadioButton9")->isChecked());
        QVERIFY(!Find<QRadioButton>(Form12, "RadioButton3")->isChecked());
    }

    void ok_data() {
        QTest::addColumn<QList<int>>("chosen");
        QTest::addColumn<bool>("answered");
        QTest::addColumn<bool>("stillOpen");
        QTest::addColumn<QString>("message");

        QTest::newRow("nothing chosen closes unmarked") << QList<int>{} << false << false << "";
        for (int other : {1, 2, 3, 5, 6, 7})
            QTest::addRow("class %d", other) << QList<int>{other} << true << false << "";
        QTest::newRow("1978 bis 1994 vor 1980") << QList<int>{4, 8} << true << false << "";
        QTest::newRow("1978 bis 1994 nach 1980") << QList<int>{4, 9} << true << false << "";
        QTest::newRow("only nach 1980") << QList<int>{9} << true << false << "";
        QTest::newRow("1978 bis 1994 without a side")
            << QList<int>{4} << false << true << kSideMissing;
        QTest::newRow("side forgotten, 1978 bis 1994 again")
            << QList<int>{8, 5, 4} << false << true << kSideMissing;
    }
    void ok() {
        QFETCH(QList<int>, chosen);
        QFETCH(bool, answered);
        QFETCH(bool, stillOpen);
        QFETCH(QString, message);
        RecordedMessages messages;
        OpenDialog open(Form12);
        ChooseInTurn(chosen);
        const msr::Choice yearClassBefore = YearClass();
        const msr::Choice sideBefore = Side();

        Click(Find<QPushButton>(Form12, "Button1"));

        QCOMPARE(open.answered(), answered);
        QCOMPARE(open.stillOpen(), stillOpen);
        QCOMPARE(messages.onlyText(), message);
        if (stillOpen) {
            QCOMPARE(messages.requests.first().icon, msr::gui::MessageIcon::Exclamation);
            QCOMPARE(messages.requests.first().buttons, msr::gui::MessageButtons::Ok);
            // The side is what is to be given: the focus waits on its first option.
            QCOMPARE(Form12->focusWidget(), Find<QRadioButton>(Form12, "RadioButton8"));
        }
        QCOMPARE(YearClass(), yearClassBefore);
        QCOMPARE(Side(), sideBefore);
    }

    void okAgainAfterReopeningMarksAgain() {
        {
            OpenDialog first(Form12);
            ClickOption(Find<QRadioButton>(Form12, "RadioButton6"));
            Click(Find<QPushButton>(Form12, "Button1"));
            QVERIFY(first.answered());
        }
        OpenDialog second(Form12);
        QVERIFY(Find<QRadioButton>(Form12, "RadioButton6")->isChecked());
        Click(Find<QPushButton>(Form12, "Button1"));
        QVERIFY(second.answered());
    }

    void clearingEmptiesClassAndSide() {
        OpenDialog open(Form12);
        ChooseInTurn({8});
        Form12->ClearInputs();
        QCOMPARE(YearClass(), msr::kNone);
        QCOMPARE(Side(), msr::kNone);
        // Afterwards the rules hold as before.
        ChooseInTurn({9});
        QCOMPARE(YearClass(), 4);
    }

private:
    std::unique_ptr<QuestionnaireDialogs> dialogs_;
};

QTEST_MAIN(YearDialogTest)
#include "test_questionnaire_year_dialog.moc"
