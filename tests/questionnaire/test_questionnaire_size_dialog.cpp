// The flat-size dialog: the size list, the whole-number check and the apartment limit.

#include "questionnaire_fixture.h"
#include "recorded_messages.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>

namespace {

const QString kApartmentTooLarge = QStringLiteral(
    "Ein Appartment darf eine maximale Größe von 50 Quadratmetern haben. Sie haben jedoch "
    "eine größere Quadratmeterzahl ausgewählt. Bitte korrigieren Sie Ihre Eingabe.");

const QString kFlatTooSmall = QStringLiteral(
    "Die Wohnfläche muss mindestens 1 Quadratmeter betragen. Sie haben jedoch eine kleinere "
    "Quadratmeterzahl eingegeben. Bitte korrigieren Sie Ihre Eingabe.");

void TypeSize(const QString& text) {
    QLineEdit* edit = Find<QComboBox>(Form9, "ComboBox1")->lineEdit();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

QComboBox* SizeBox() {
    return Find<QComboBox>(Form9, "ComboBox1");
}

// Types into the size box after clicking into its edit field.
void ClickIntoSizeBoxAndType(const QString& text) {
    QLineEdit* edit = SizeBox()->lineEdit();
    QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, edit->rect().center());
    TypeSize(text);
}

// One notch of the mouse wheel over the middle of the size box, towards the user.
void TurnWheelOverSizeBox() {
    QComboBox* box = SizeBox();
    const QPoint centre = box->rect().center();
    QWheelEvent wheel(centre, box->mapToGlobal(centre), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    QApplication::sendEvent(box, &wheel);
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
        // The control that has the focus once a refusal's message has closed.
        QTest::addColumn<QString>("toCorrect");

        const QString none;
        QTest::newRow("no size yet")
            << "Quadratmeter" << false << Outcome::ClosedUnanswered << none << "";
        QTest::newRow("no size yet, apartment")
            << "Quadratmeter" << true << Outcome::ClosedUnanswered << none << "";
        QTest::newRow("apartment of 50") << "50" << true << Outcome::Answered << none << "";
        QTest::newRow("apartment of 51")
            << "51" << true << Outcome::Refused << kApartmentTooLarge << "CheckBox1";
        QTest::newRow("apartment of 120")
            << "120" << true << Outcome::Refused << kApartmentTooLarge << "CheckBox1";
        QTest::newRow("51 without apartment") << "51" << false << Outcome::Answered << none << "";
        QTest::newRow("120 without apartment") << "120" << false << Outcome::Answered << none << "";
        QTest::newRow("1") << "1" << true << Outcome::Answered << none << "";
        QTest::newRow("0") << "0" << true << Outcome::Refused << kFlatTooSmall << "ComboBox1";
        QTest::newRow("negative") << "-7" << false << Outcome::Refused << kFlatTooSmall
                                  << "ComboBox1";
        QTest::newRow("beyond the list") << "200" << false << Outcome::Answered << none << "";
        QTest::newRow("decimal comma") << "55,5" << false << Outcome::ConversionError
                                       << "'55,5' ist kein gültiger Integerwert."
                                       << "ComboBox1";
        QTest::newRow("empty") << "" << true << Outcome::ConversionError
                               << "'' ist kein gültiger Integerwert."
                               << "ComboBox1";
        QTest::newRow("letters") << "75qm" << false << Outcome::ConversionError
                                 << "'75qm' ist kein gültiger Integerwert."
                                 << "ComboBox1";
        QTest::newRow("the placeholder in other case")
            << "quadratmeter" << false << Outcome::ConversionError
            << "'quadratmeter' ist kein gültiger Integerwert."
            << "ComboBox1";
        QTest::newRow("beyond 32 bits") << "2147483648" << false << Outcome::ConversionError
                                        << "'2147483648' ist kein gültiger Integerwert."
                                        << "ComboBox1";
    }
    void ok() {
        QFETCH(QString, size);
        QFETCH(bool, apartment);
        QFETCH(Outcome, outcome);
        QFETCH(QString, message);
        QFETCH(QString, toCorrect);
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
        if (!toCorrect.isEmpty()) {
            QWidget* concerned = Find<QWidget>(Form9, qPrintable(toCorrect));
            QVERIFY2(concerned == Form9->focusWidget() ||
                         concerned->isAncestorOf(Form9->focusWidget()),
                     qPrintable(Form9->focusWidget()->objectName()));
            if (auto* box = qobject_cast<QComboBox*>(concerned))
                QCOMPARE(box->lineEdit()->selectedText(), size);
        }
        // OK changes no input.
        QCOMPARE(Find<QComboBox>(Form9, "ComboBox1")->currentText(), size);
        QCOMPARE(Find<QCheckBox>(Form9, "CheckBox1")->isChecked(), apartment);
    }

    // With the real message box: once it is closed, the dialog is the active window again
    // and the focus is on what is to be corrected, the typed size still selected.
    void focusComesBackWhenTheMessageCloses_data() {
        QTest::addColumn<QString>("size");
        QTest::addColumn<bool>("apartment");
        QTest::addColumn<QString>("toCorrect");
        QTest::newRow("decimal comma") << "75,5" << false << "ComboBox1";
        QTest::newRow("too small") << "0" << false << "ComboBox1";
        QTest::newRow("apartment of 51") << "51" << true << "CheckBox1";
    }
    void focusComesBackWhenTheMessageCloses() {
        QFETCH(QString, size);
        QFETCH(bool, apartment);
        QFETCH(QString, toCorrect);
        OpenDialog open(Form9);
        TypeSize(size);
        if (apartment)
            ClickOption(Find<QCheckBox>(Form9, "CheckBox1"));
        bool messageShown = false;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                messageShown = true;
                box->buttons().constFirst()->click();
            }
        });
        answer.start(10);
        Click(Find<QPushButton>(Form9, "Button1"));
        answer.stop();
        QVERIFY(messageShown);
        QVERIFY(open.stillOpen());
        QWidget* concerned = Find<QWidget>(Form9, qPrintable(toCorrect));
        QTRY_VERIFY(QApplication::focusWidget() == concerned ||
                    concerned->isAncestorOf(QApplication::focusWidget()));
        if (auto* box = qobject_cast<QComboBox*>(concerned))
            QCOMPARE(box->lineEdit()->selectedText(), size);
        QCOMPARE(SizeBox()->currentText(), size);
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

    // The arrow and page keys step on from the number typed, where it stands in the list.
    void stepsOnFromTheTypedNumber_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("shown");
        QTest::newRow("45, Down") << "45" << int(Qt::Key_Down) << "46";
        QTest::newRow("45, Up") << "45" << int(Qt::Key_Up) << "44";
        QTest::newRow("150, Down stays at the end") << "150" << int(Qt::Key_Down) << "150";
        QTest::newRow("1, Up stays at the start") << "1" << int(Qt::Key_Up) << "1";
        QTest::newRow("45, Page Down") << "45" << int(Qt::Key_PageDown) << "46";
    }
    void stepsOnFromTheTypedNumber() {
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(QString, shown);
        OpenDialog open(Form9);
        SizeBox()->setCurrentIndex(9); // an earlier pick, "10"
        ClickIntoSizeBoxAndType(typed);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QCOMPARE(SizeBox()->currentText(), shown);
    }

    // The wheel steps like Down while the box has the focus, and does nothing otherwise.
    void theWheelStepsOnlyWithTheFocus_data() {
        QTest::addColumn<bool>("focused");
        QTest::addColumn<QString>("shown");
        QTest::newRow("box has the focus") << true << "46";
        QTest::newRow("OK has the focus") << false << "45";
    }
    void theWheelStepsOnlyWithTheFocus() {
        QFETCH(bool, focused);
        QFETCH(QString, shown);
        OpenDialog open(Form9);
        ClickIntoSizeBoxAndType(QStringLiteral("45"));
        if (!focused) // Tab moves on to OK, the next in the tab order
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(SizeBox()->hasFocus(), focused);
        TurnWheelOverSizeBox();
        QCOMPARE(SizeBox()->currentText(), shown);
    }

    // "Quadratmeter" is replaced by what the user types, however the box got the focus;
    // a size already typed is edited where the user clicks.
    void focusingTheBox_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("byClick");
        QTest::addColumn<QString>("shown");
        QTest::newRow("click into the placeholder") << "Quadratmeter" << true << "75";
        QTest::newRow("Tab into the placeholder") << "Quadratmeter" << false << "75";
        QTest::newRow("click behind a typed size") << "4" << true << "475";
    }
    void focusingTheBox() {
        QFETCH(QString, before);
        QFETCH(bool, byClick);
        QFETCH(QString, shown);
        OpenDialog open(Form9);
        SizeBox()->setEditText(before);
        QLineEdit* edit = SizeBox()->lineEdit();
        if (byClick) {
            QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier,
                              QPoint(edit->width() - 2, edit->height() / 2));
        } else {
            Find<QPushButton>(Form9, "Button1")->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        }
        QVERIFY(SizeBox()->hasFocus());
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("75"));
        QCOMPARE(SizeBox()->currentText(), shown);
    }

    void theWheelLeavesAnUntouchedBoxAlone() {
        OpenDialog open(Form9);
        Find<QPushButton>(Form9, "Button1")->setFocus();
        TurnWheelOverSizeBox();
        QCOMPARE(SizeBox()->currentText(), QStringLiteral("Quadratmeter"));
        QCOMPARE(SizeBox()->currentIndex(), -1);
    }

private:
    std::unique_ptr<QuestionnaireDialogs> dialogs_;
};

QTEST_MAIN(SizeDialogTest)
#include "test_questionnaire_size_dialog.moc"
