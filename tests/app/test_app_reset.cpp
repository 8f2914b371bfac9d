// "Werte zurücksetzen": after Ja every input and every flag is as at start-up; after Nein
// nothing has changed.

#include "program_fixture.h"
#include "questionnaire/read_answers.h"
#include "recorded_messages.h"

#include <QCheckBox>
#include <QRadioButton>

using msr::app::PictureButton;
using msr::gui::MessageResult;

namespace {

const QString kConfirmReset = QStringLiteral(
    "Wollen Sie wirklich alle Daten zurücksetzen? Ihre bisherigen Eingaben gehen dann "
    "verloren.");

// Every answer in one line, so that two states compare at a glance.
QString Describe(const msr::Answers& a) {
    const QList<int> values{a.YearClass,       a.Built1980Side,   a.IsApartment,
                            a.GuestToilet,     a.TubAndShower,    a.FloorCovering,
                            a.HeatingKind,     a.CaptiveRooms,    a.NoKitchenHotWater,
                            a.BalconyOrLoggia, a.Terrace,         a.SoundproofWindows,
                            a.BarrierFree,     a.HeatingRenewed,  a.BathRenewed,
                            a.Insulation,      a.NoiseImpairment, a.CityArea};
    QStringList parts{QString::fromStdString(a.LivingArea)};
    for (int value : values)
        parts.append(QString::number(value));
    return parts.join(' ');
}

QString CurrentAnswers() {
    return Describe(msr::questionnaire::ReadAnswers());
}

QStringList Flags() {
    QStringList flags;
    for (const PictureButton* button : Form1->QuestionnaireButtons())
        flags.append(QStringLiteral("%1:%2:%3:%4")
                         .arg(button->objectName())
                         .arg(button->tag())
                         .arg(ShowsTick(button)           ? "tick"
                              : ShowsQuestionMark(button) ? "?"
                                                          : "-")
                         .arg(button->accessibleDescription()));
    return flags;
}

void Select(QRadioButton* button) {
    button->setChecked(true);
}

// Answers every dialog, each with something chosen, and marks every button.
void AnswerEverything() {
    Select(Find<QRadioButton>(Form12, "RadioButton4"));
    Select(Find<QRadioButton>(Form12, "RadioButton9"));
    Find<QComboBox>(Form9, "ComboBox1")->setCurrentIndex(44);
    Find<QCheckBox>(Form9, "CheckBox1")->setChecked(true);
    for (QCheckBox* box : QList<QCheckBox*>{
             Find<QCheckBox>(Form3, "CheckBox1"), Find<QCheckBox>(Form3, "CheckBox2"),
             Find<QCheckBox>(Form4, "CheckBox1"), Find<QCheckBox>(Form4, "CheckBox2"),
             Find<QCheckBox>(Form4, "CheckBox3"), Find<QCheckBox>(Form4, "CheckBox4"),
             Find<QCheckBox>(Form4, "CheckBox5"), Find<QCheckBox>(Form5, "CheckBox1"),
             Find<QCheckBox>(Form5, "CheckBox2"), Find<QCheckBox>(Form10, "CheckBox1")})
        box->setChecked(true);
    Select(Find<QRadioButton>(Form4, "RadioButton2"));
    Select(Find<QRadioButton>(Form5, "RadioButton3"));
    Select(Find<QRadioButton>(Form6, "RadioButton4"));
    Select(Find<QRadioButton>(Form7, "RadioButton1"));
    Select(Find<QRadioButton>(Form11, "RadioButton7"));
    for (PictureButton* button : Form1->QuestionnaireButtons())
        Form1->MarkAnswered(button);
}

} // namespace

class ResetTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { msr::app::PrepareApplication(*qApp); }
    void init() {
        windows_ = std::make_unique<ProgramWindows>();
        startUpAnswers_ = CurrentAnswers();
        startUpFlags_ = Flags();
    }
    void cleanup() { windows_.reset(); }

    void asksFirst() {
        RecordedMessages messages(MessageResult::No);
        Click(Find<QPushButton>(Form1, "Button2"));
        QCOMPARE(messages.onlyText(), kConfirmReset);
        QCOMPARE(messages.requests.first().icon, msr::gui::MessageIcon::Question);
        QCOMPARE(messages.requests.first().buttons, msr::gui::MessageButtons::YesNo);
    }

    void jaReturnsEverythingToStartUp() {
        AnswerEverything();
        QVERIFY(CurrentAnswers() != startUpAnswers_);
        RecordedMessages messages(MessageResult::Yes);

        Click(Find<QPushButton>(Form1, "Button2"));

        QCOMPARE(CurrentAnswers(), startUpAnswers_);
        QCOMPARE(Flags(), startUpFlags_);
        QCOMPARE(Find<QComboBox>(Form9, "ComboBox1")->currentIndex(), -1);
        QCOMPARE(Find<QComboBox>(Form9, "ComboBox1")->currentText(),
                 QStringLiteral("Quadratmeter"));
        for (QWidget* window : QApplication::topLevelWidgets())
            QCOMPARE(window->isVisible(), window == Form1);
        messages.requests.clear();
        Click(Find<QPushButton>(Form1, "Button1"));
        QCOMPARE(messages.requests.size(), 1); // the evaluation is refused again
    }

    void neinChangesNothing() {
        AnswerEverything();
        const QString answers = CurrentAnswers();
        const QStringList flags = Flags();
        RecordedMessages messages(MessageResult::No);

        Click(Find<QPushButton>(Form1, "Button2"));

        QCOMPARE(CurrentAnswers(), answers);
        QCOMPARE(Flags(), flags);
    }

    void jaRightAfterStartUpChangesNothing() {
        RecordedMessages messages(MessageResult::Yes);
        Click(Find<QPushButton>(Form1, "Button2"));
        QCOMPARE(CurrentAnswers(), startUpAnswers_);
        QCOMPARE(Flags(), startUpFlags_);
    }

    void yearAndSideAnsweredAreBothCleared() {
        WhenModal(Form12, [] {
            ClickOption(Find<QRadioButton>(Form12, "RadioButton4"));
            ClickOption(Find<QRadioButton>(Form12, "RadioButton8"));
            Click(Find<QPushButton>(Form12, "Button1"));
        });
        Click(Find<msr::app::PictureButton>(Form1, "SpeedButton11"));
        QVERIFY(ShowsTick(Find<msr::app::PictureButton>(Form1, "SpeedButton11")));
        RecordedMessages messages(MessageResult::Yes);

        Click(Find<QPushButton>(Form1, "Button2"));

        QVERIFY(!Find<QRadioButton>(Form12, "RadioButton4")->isChecked());
        QVERIFY(!Find<QRadioButton>(Form12, "RadioButton8")->isChecked());
        QVERIFY(ShowsQuestionMark(Find<msr::app::PictureButton>(Form1, "SpeedButton11")));
        // The coupling works as before.
        Select(Find<QRadioButton>(Form12, "RadioButton9"));
        QVERIFY(Find<QRadioButton>(Form12, "RadioButton4")->isChecked());
    }

    void leavesTheLastEvaluationAlone() {
        Form8->document().appendBody("Auswertung");
        RecordedMessages messages(MessageResult::Yes);
        Click(Find<QPushButton>(Form1, "Button2"));
        QCOMPARE(Form8->document().paragraphs().size(), std::size_t{1});
    }

private:
    std::unique_ptr<ProgramWindows> windows_;
    QString startUpAnswers_;
    QStringList startUpFlags_;
};

QTEST_MAIN(ResetTest)
#include "test_app_reset.moc"
