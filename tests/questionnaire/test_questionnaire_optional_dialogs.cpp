// The optional dialogs (bathroom, flooring, heating, further surcharges, modernisation,
// residential environment): OK always marks them answered, "Eingaben löschen" empties
// them and leaves them open.

#include "questionnaire_fixture.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QRadioButton>

using msr::questionnaire::QuestionnaireDialog;

namespace {

// Every option of a dialog: its check boxes and radio buttons.
QList<QAbstractButton*> Options(QuestionnaireDialog* dialog) {
    QList<QAbstractButton*> options;
    for (QCheckBox* box : dialog->findChildren<QCheckBox*>())
        options.append(box);
    for (QRadioButton* button : dialog->findChildren<QRadioButton*>())
        options.append(button);
    return options;
}

QStringList ChosenOptions(QuestionnaireDialog* dialog) {
    QStringList chosen;
    for (QAbstractButton* option : Options(dialog))
        if (option->isChecked())
            chosen.append(option->objectName());
    chosen.sort();
    return chosen;
}

QAbstractButton* Control(QuestionnaireDialog* dialog, const QString& name) {
    return dialog->findChild<QAbstractButton*>(name);
}

void ChooseInTurn(QuestionnaireDialog* dialog, const QStringList& names) {
    for (const QString& name : names)
        ClickOption(Control(dialog, name));
}

// The global instance of a dialog, by the name of its class.
QuestionnaireDialog* Dialog(const QString& form) {
    const QList<QuestionnaireDialog*> dialogs{Form3, Form4,  Form5,  Form6, Form7,
                                              Form9, Form10, Form11, Form12};
    for (QuestionnaireDialog* dialog : dialogs)
        if (dialog->objectName() == form)
            return dialog;
    return nullptr;
}

} // namespace

class OptionalDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { dialogs_ = std::make_unique<QuestionnaireDialogs>(); }
    void cleanup() { dialogs_.reset(); }

    void okMarksAnsweredWhateverIsChosen_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QStringList>("chosen");

        QTest::newRow("bathroom, nothing") << QString("TForm3") << QStringList{};
        QTest::newRow("bathroom, both")
            << QString("TForm3") << QStringList{"CheckBox1", "CheckBox2"};
        QTest::newRow("further, nothing") << QString("TForm4") << QStringList{};
        QTest::newRow("further, all boxes and a barrier-free option")
            << QString("TForm4") << QStringList{"CheckBox1", "CheckBox2", "CheckBox3",
                                                "CheckBox4", "CheckBox5", "RadioButton2"};
        QTest::newRow("modernisation, nothing") << QString("TForm5") << QStringList{};
        QTest::newRow("modernisation, all kinds")
            << QString("TForm5") << QStringList{"CheckBox1", "CheckBox2", "RadioButton3"};
        QTest::newRow("heating, nothing") << QString("TForm6") << QStringList{};
        QTest::newRow("heating, one kind") << QString("TForm6") << QStringList{"RadioButton2"};
        QTest::newRow("flooring, nothing") << QString("TForm7") << QStringList{};
        QTest::newRow("flooring, one covering") << QString("TForm7") << QStringList{"RadioButton4"};
        QTest::newRow("surroundings, box unticked") << QString("TForm10") << QStringList{};
        QTest::newRow("surroundings, noise") << QString("TForm10") << QStringList{"CheckBox1"};
    }
    void okMarksAnsweredWhateverIsChosen() {
        QFETCH(QString, form);
        QuestionnaireDialog* const dialog = Dialog(form);
        QFETCH(QStringList, chosen);
        OpenDialog open(dialog);
        ChooseInTurn(dialog, chosen);

        Click(Control(dialog, QStringLiteral("Button1")));

        QVERIFY(open.answered());
        QVERIFY(!open.stillOpen());
        chosen.sort();
        QCOMPARE(ChosenOptions(dialog), chosen);
    }

    // Which options stay chosen after choosing some in turn: check boxes are independent,
    // the radio buttons of one container exclude each other.
    void optionsExcludeEachOtherOnlyWithinAGroup_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QStringList>("chosenInTurn");
        QTest::addColumn<QStringList>("chosen");

        QTest::newRow("barrier-free: only one")
            << QString("TForm4") << QStringList{"RadioButton1", "CheckBox3", "RadioButton2"}
            << QStringList{"CheckBox3", "RadioButton2"};
        QTest::newRow("insulation periods exclude each other, the boxes stay")
            << QString("TForm5")
            << QStringList{"CheckBox2", "RadioButton1", "RadioButton2", "CheckBox1"}
            << QStringList{"CheckBox1", "CheckBox2", "RadioButton2"};
        QTest::newRow("one kind of heating")
            << QString("TForm6") << QStringList{"RadioButton1", "RadioButton4", "RadioButton3"}
            << QStringList{"RadioButton3"};
        QTest::newRow("one floor covering, chosen again")
            << QString("TForm7") << QStringList{"RadioButton2", "RadioButton2"}
            << QStringList{"RadioButton2"};
    }
    void optionsExcludeEachOtherOnlyWithinAGroup() {
        QFETCH(QString, form);
        QuestionnaireDialog* const dialog = Dialog(form);
        QFETCH(QStringList, chosenInTurn);
        QFETCH(QStringList, chosen);
        OpenDialog open(dialog);
        ChooseInTurn(dialog, chosenInTurn);
        QCOMPARE(ChosenOptions(dialog), chosen);
    }

    void clearingInputsEmptiesTheDialogAndKeepsItOpen_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QStringList>("chosen");

        QTest::newRow("further surcharges")
            << QString("TForm4") << QStringList{"CheckBox1", "CheckBox2", "CheckBox3",
                                                "CheckBox4", "CheckBox5", "RadioButton1"};
        QTest::newRow("modernisation")
            << QString("TForm5") << QStringList{"CheckBox1", "CheckBox2", "RadioButton2"};
        QTest::newRow("heating") << QString("TForm6") << QStringList{"RadioButton4"};
        QTest::newRow("flooring") << QString("TForm7") << QStringList{"RadioButton2"};
    }
    void clearingInputsEmptiesTheDialogAndKeepsItOpen() {
        QFETCH(QString, form);
        QuestionnaireDialog* const dialog = Dialog(form);
        QFETCH(QStringList, chosen);
        OpenDialog open(dialog);
        ChooseInTurn(dialog, chosen);

        Click(Control(dialog, QStringLiteral("Button2")));

        QCOMPARE(ChosenOptions(dialog), QStringList{});
        QVERIFY(open.stillOpen());
        QVERIFY(!open.answered());
        // The emptied groups work as before.
        ChooseInTurn(dialog, chosen);
        chosen.sort();
        QCOMPARE(ChosenOptions(dialog), chosen);
        Click(Control(dialog, QStringLiteral("Button1")));
        QVERIFY(open.answered());
    }

    void onlyTheFourEquipmentDialogsHaveClearInputs() {
        for (QuestionnaireDialog* dialog :
             std::initializer_list<QuestionnaireDialog*>{Form4, Form5, Form6, Form7})
            QCOMPARE(Control(dialog, QStringLiteral("Button2"))->text(),
                     QStringLiteral("Eingaben löschen"));
        for (QuestionnaireDialog* dialog :
             std::initializer_list<QuestionnaireDialog*>{Form3, Form9, Form10, Form11, Form12})
            QVERIFY(!Control(dialog, QStringLiteral("Button2")));
    }

private:
    std::unique_ptr<QuestionnaireDialogs> dialogs_;
};

QTEST_MAIN(OptionalDialogsTest)
#include "test_questionnaire_optional_dialogs.moc"
