// Reading the dialogs' controls into the answers the evaluation works on.

#include "evaluation/answers/choice_captions.h"
#include "evaluation/answers/inputs.h"
#include "questionnaire/continuation_lines.h"
#include "questionnaire/read_answers.h"
#include "questionnaire_fixture.h"

#include <QLineEdit>

#include <set>

using msr::questionnaire::ReadAnswers;

class ReadingAnswersTest : public QObject {
    Q_OBJECT

private slots:
    void init() { dialogs_ = std::make_unique<QuestionnaireDialogs>(); }
    void cleanup() { dialogs_.reset(); }

    void startUpReadsAsNothingAnswered() {
        const msr::Answers read = ReadAnswers();
        const msr::Answers nothing;
        QCOMPARE(read.YearClass, nothing.YearClass);
        QCOMPARE(read.Built1980Side, nothing.Built1980Side);
        QCOMPARE(read.LivingArea, std::string("Quadratmeter"));
        QCOMPARE(read.CityArea, nothing.CityArea);
        QCOMPARE(read.FloorCovering, nothing.FloorCovering);
        QCOMPARE(read.HeatingKind, nothing.HeatingKind);
        QCOMPARE(read.BarrierFree, nothing.BarrierFree);
        QCOMPARE(read.Insulation, nothing.Insulation);
        QVERIFY(!read.IsApartment && !read.GuestToilet && !read.TubAndShower);
        QVERIFY(!read.CaptiveRooms && !read.NoKitchenHotWater && !read.BalconyOrLoggia);
        QVERIFY(!read.Terrace && !read.SoundproofWindows && !read.HeatingRenewed);
        QVERIFY(!read.BathRenewed && !read.NoiseImpairment);
    }

    // Each input on its own, so that a mix-up of two controls shows.
    void everyInputReadsFromItsControl_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("value");

        QTest::newRow("year class") << "TForm12"
                                    << "RadioButton6"
                                    << "YearClass" << 6;
        QTest::newRow("before 1980") << "TForm12"
                                     << "RadioButton8"
                                     << "Built1980Side" << 1;
        QTest::newRow("after 1980") << "TForm12"
                                    << "RadioButton9"
                                    << "Built1980Side" << 2;
        QTest::newRow("apartment") << "TForm9"
                                   << "CheckBox1"
                                   << "IsApartment" << 1;
        QTest::newRow("guest toilet") << "TForm3"
                                      << "CheckBox1"
                                      << "GuestToilet" << 1;
        QTest::newRow("tub and shower") << "TForm3"
                                        << "CheckBox2"
                                        << "TubAndShower" << 1;
        QTest::newRow("floor covering") << "TForm7"
                                        << "RadioButton3"
                                        << "FloorCovering" << 3;
        QTest::newRow("heating") << "TForm6"
                                 << "RadioButton4"
                                 << "HeatingKind" << 4;
        QTest::newRow("captive rooms") << "TForm4"
                                       << "CheckBox1"
                                       << "CaptiveRooms" << 1;
        QTest::newRow("no hot water") << "TForm4"
                                      << "CheckBox2"
                                      << "NoKitchenHotWater" << 1;
        QTest::newRow("balcony") << "TForm4"
                                 << "CheckBox3"
                                 << "BalconyOrLoggia" << 1;
        QTest::newRow("terrace") << "TForm4"
                                 << "CheckBox4"
                                 << "Terrace" << 1;
        QTest::newRow("soundproof") << "TForm4"
                                    << "CheckBox5"
                                    << "SoundproofWindows" << 1;
        QTest::newRow("barrier-free") << "TForm4"
                                      << "RadioButton2"
                                      << "BarrierFree" << 2;
        QTest::newRow("heating renewed") << "TForm5"
                                         << "CheckBox1"
                                         << "HeatingRenewed" << 1;
        QTest::newRow("bath renewed") << "TForm5"
                                      << "CheckBox2"
                                      << "BathRenewed" << 1;
        QTest::newRow("insulation") << "TForm5"
                                    << "RadioButton1"
                                    << "Insulation" << 1;
        QTest::newRow("noise") << "TForm10"
                               << "CheckBox1"
                               << "NoiseImpairment" << 1;
        QTest::newRow("area") << "TForm11"
                              << "RadioButton7"
                              << "CityArea" << 7;
    }
    void everyInputReadsFromItsControl() {
        QFETCH(QString, form);
        QFETCH(QString, control);
        QFETCH(QString, input);
        QFETCH(int, value);
        QWidget* dialog = nullptr;
        for (QWidget* candidate :
             QList<QWidget*>{Form3, Form4, Form5, Form6, Form7, Form9, Form10, Form11, Form12})
            if (candidate->objectName() == form)
                dialog = candidate;
        // Only this control: the year dialog's coupling stays out of the way.
        QAbstractButton* button = dialog->findChild<QAbstractButton*>(control);
        const QSignalBlocker quiet(button);
        button->setChecked(true);

        const msr::Answers read = ReadAnswers();

        const std::map<QString, int> inputs{
            {"YearClass", read.YearClass},
            {"Built1980Side", read.Built1980Side},
            {"IsApartment", read.IsApartment},
            {"GuestToilet", read.GuestToilet},
            {"TubAndShower", read.TubAndShower},
            {"FloorCovering", read.FloorCovering},
            {"HeatingKind", read.HeatingKind},
            {"CaptiveRooms", read.CaptiveRooms},
            {"NoKitchenHotWater", read.NoKitchenHotWater},
            {"BalconyOrLoggia", read.BalconyOrLoggia},
            {"Terrace", read.Terrace},
            {"SoundproofWindows", read.SoundproofWindows},
            {"BarrierFree", read.BarrierFree},
            {"HeatingRenewed", read.HeatingRenewed},
            {"BathRenewed", read.BathRenewed},
            {"Insulation", read.Insulation},
            {"NoiseImpairment", read.NoiseImpairment},
            {"CityArea", read.CityArea},
        };
        for (const auto& [name, read] : inputs)
            QCOMPARE(std::make_pair(name, read), std::make_pair(name, name == input ? value : 0));
    }

    // The core's captions of the choices (which --help prints) against the dialogs: each
    // radio button, chosen on its own, names the choice it reads as and the dialog its input
    // names, and every caption of the core belongs to a button.
    void everyChoiceIsCaptionedAsItsButtonReads() {
        QList<std::pair<QString, QString>> buttons;
        for (const QWidget* dialog :
             QList<QWidget*>{Form3, Form4, Form5, Form6, Form7, Form9, Form10, Form11, Form12})
            for (const QRadioButton* button : dialog->findChildren<QRadioButton*>())
                buttons.append({dialog->objectName(), button->objectName()});
        std::set<std::pair<std::string, int>> captioned;
        for (const auto& [form, name] : buttons) {
            dialogs_.reset(); // afresh: nothing chosen
            dialogs_ = std::make_unique<QuestionnaireDialogs>();
            QWidget* dialog = nullptr;
            for (QWidget* candidate :
                 QList<QWidget*>{Form3, Form4, Form5, Form6, Form7, Form9, Form10, Form11, Form12})
                if (candidate->objectName() == form)
                    dialog = candidate;
            auto* button = dialog->findChild<QRadioButton*>(name);
            const QSignalBlocker quiet(button);
            button->setChecked(true);
            const msr::Answers read = ReadAnswers();
            for (const msr::InputRow& input : msr::Inputs()) {
                if (input.kind != msr::InputKind::Choice || read.*input.choice == msr::kNone)
                    continue;
                const msr::Choice choice = read.*input.choice;
                const char* caption = msr::CaptionOf(input.name, choice);
                QVERIFY2(caption, qPrintable(form + " " + name));
                QCOMPARE(QString::fromUtf8(caption), msr::questionnaire::WholeCaption(button));
                QCOMPARE(QString::fromUtf8(input.dialog), dialog->windowTitle());
                captioned.insert({input.name, choice});
            }
        }
        QCOMPARE(captioned.size(), std::size(msr::ChoiceCaptions()));
    }

    // The core's captions of the yes/no inputs (which --help prints) against the dialogs:
    // each check box, ticked on its own, names the input it reads as, in the dialog it names.
    void everyYesNoIsCaptionedAsItsBoxReads() {
        std::set<std::string> captioned;
        for (QWidget* dialog :
             QList<QWidget*>{Form3, Form4, Form5, Form6, Form7, Form9, Form10, Form11, Form12}) {
            for (QCheckBox* box : dialog->findChildren<QCheckBox*>()) {
                const QSignalBlocker quiet(box);
                box->setChecked(true);
                const msr::Answers read = ReadAnswers();
                box->setChecked(false);
                for (const msr::InputRow& input : msr::Inputs()) {
                    if (input.kind != msr::InputKind::YesNo || !(read.*input.yesNo))
                        continue;
                    QCOMPARE(QString::fromUtf8(input.caption),
                             msr::questionnaire::WholeCaption(box));
                    QCOMPARE(QString::fromUtf8(input.dialog), dialog->windowTitle());
                    captioned.insert(input.name);
                }
            }
        }
        QCOMPARE(captioned.size(), std::size_t{11});
    }

    void livingAreaIsTheTextAsTyped() {
        OpenDialog open(Form9);
        QTest::keyClicks(Find<QComboBox>(Form9, "ComboBox1")->lineEdit(), QStringLiteral(" 55,5"));
        QCOMPARE(ReadAnswers().LivingArea, std::string("Quadratmeter 55,5"));
        Find<QComboBox>(Form9, "ComboBox1")->setEditText(QStringLiteral("Größe"));
        QCOMPARE(ReadAnswers().LivingArea, std::string("Größe"));
    }

private:
    std::unique_ptr<QuestionnaireDialogs> dialogs_;
};

QTEST_MAIN(ReadingAnswersTest)
#include "test_questionnaire_reading_answers.moc"
