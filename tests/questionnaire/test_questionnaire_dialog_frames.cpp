// What all nine questionnaire dialogs share: frame, size, centring, tab order, radio
// groups by container, and that OK is the only way out, by mouse or by keyboard alone.

#include "questionnaire_fixture.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QScreen>

using msr::questionnaire::QuestionnaireDialog;

namespace {

QuestionnaireDialog* Dialog(const QString& form) {
    for (QuestionnaireDialog* dialog : QList<QuestionnaireDialog*>{
             Form3, Form4, Form5, Form6, Form7, Form9, Form10, Form11, Form12})
        if (dialog->objectName() == form)
            return dialog;
    return nullptr;
}

// The controls that Tab visits, in order, starting from the first.
QStringList TabChain(QWidget* window) {
    QStringList chain;
    for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(window) && !w->focusProxy())
            chain.append(w->objectName());
    return chain;
}

// Each radio group as the names of its buttons.
QStringList RadioGroups(QWidget* window) {
    QMap<const QButtonGroup*, QStringList> groups;
    for (QRadioButton* button : window->findChildren<QRadioButton*>())
        groups[button->group()].append(button->objectName());
    QStringList described;
    for (QStringList names : groups) {
        names.sort();
        described.append(names.join(' '));
    }
    described.sort();
    return described;
}

QStringList Numbered(const QString& stem, int count) {
    QStringList names;
    for (int n = 1; n <= count; ++n)
        names.append(stem + QString::number(n));
    return names;
}

QString Group(const QStringList& names) {
    QStringList sorted = names;
    sorted.sort();
    return sorted.join(' ');
}

} // namespace

class DialogFramesTest : public QObject {
    Q_OBJECT

private slots:
    void init() { dialogs_ = std::make_unique<QuestionnaireDialogs>(); }
    void cleanup() { dialogs_.reset(); }

    void everyDialog_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QSize>("clientSize");
        QTest::addColumn<QStringList>("tabChain");
        QTest::addColumn<QStringList>("radioGroups");

        const QStringList four = Numbered("RadioButton", 4);
        QTest::newRow("TForm3") << "TForm3"
                                << "Bad-Ausstattung" << QSize(393, 231)
                                << QStringList{"CheckBox1", "CheckBox2", "Button1"}
                                << QStringList{};
        QTest::newRow("TForm4") << "TForm4"
                                << "Weitere Zu- und Abschläge" << QSize(545, 513)
                                << QStringList{"Button1"} + Numbered("CheckBox", 5) +
                                       QStringList{"RadioButton1", "RadioButton2", "Button2"}
                                << QStringList{Group({"RadioButton1", "RadioButton2"})};
        QTest::newRow("TForm5") << "TForm5"
                                << "Modernisierungsmaßnahmen" << QSize(494, 452)
                                << Numbered("CheckBox", 2) + Numbered("RadioButton", 3) +
                                       QStringList{"Button1", "Button2"}
                                << QStringList{Group(Numbered("RadioButton", 3))};
        QTest::newRow("TForm6") << "TForm6"
                                << "Beheizungsart" << QSize(409, 303)
                                << four + QStringList{"Button1", "Button2"}
                                << QStringList{Group(four)};
        QTest::newRow("TForm7") << "TForm7"
                                << "Bodenbeläge" << QSize(457, 309)
                                << four + QStringList{"Button1", "Button2"}
                                << QStringList{Group(four)};
        QTest::newRow("TForm9") << "TForm9"
                                << "Wohnungsgröße" << QSize(399, 312)
                                << QStringList{"Button1", "CheckBox1", "ComboBox1"}
                                << QStringList{};
        QTest::newRow("TForm10") << "TForm10"
                                 << "Wohnumfeld" << QSize(424, 293)
                                 << QStringList{"CheckBox1", "Label8", "Button1"} << QStringList{};
        QTest::newRow("TForm11") << "TForm11"
                                 << "Gebietseinteilung" << QSize(391, 345)
                                 << QStringList{"Button1"} + Numbered("RadioButton", 7)
                                 << QStringList{Group(Numbered("RadioButton", 7))};
        QTest::newRow("TForm12") << "TForm12"
                                 << "Baujahr" << QSize(306, 317)
                                 << Numbered("RadioButton", 9) + QStringList{"Button1"}
                                 << QStringList{Group(Numbered("RadioButton", 7)),
                                                Group({"RadioButton8", "RadioButton9"})};
    }

    void everyDialog() {
        QFETCH(QString, form);
        QFETCH(QString, title);
        QFETCH(QSize, clientSize);
        QFETCH(QStringList, tabChain);
        QFETCH(QStringList, radioGroups);
        QuestionnaireDialog* dialog = Dialog(form);

        QCOMPARE(dialog->windowTitle(), title);
        QCOMPARE(dialog->size(), clientSize);
        QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
        const Qt::WindowFlags flags = dialog->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowTitleHint));
        QVERIFY(!flags.testFlag(Qt::WindowSystemMenuHint));
        QVERIFY(!flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QCOMPARE(TabChain(dialog), tabChain);
        QCOMPARE(RadioGroups(dialog), radioGroups);
    }

    void everyDialogIsCentredOnTheScreen_data() { everyDialog_data(); }
    void everyDialogIsCentredOnTheScreen() {
        QFETCH(QString, form);
        QuestionnaireDialog* dialog = Dialog(form);
        OpenDialog open(dialog);
        const QPoint offset =
            dialog->geometry().center() - QGuiApplication::primaryScreen()->geometry().center();
        QVERIFY2(offset.manhattanLength() <= 2,
                 qPrintable(QString("off by %1, %2").arg(offset.x()).arg(offset.y())));
    }

    void okIsTheOnlyWayOut_data() { everyDialog_data(); }
    void okIsTheOnlyWayOut() {
        QFETCH(QString, form);
        QFETCH(QStringList, tabChain);
        QuestionnaireDialog* dialog = Dialog(form);
        OpenDialog open(dialog);

        QTest::keyClick(dialog, Qt::Key_Escape);
        QVERIFY(open.stillOpen());
        // Enter presses no button while an option has the focus.
        QWidget* option = dialog->findChild<QWidget*>(
            tabChain.first() == "Button1" ? tabChain.at(1) : tabChain.first());
        option->setFocus();
        QTest::keyClick(option, Qt::Key_Return);
        QVERIFY(open.stillOpen());
        QVERIFY(!open.answered());
    }

    // A close box that a window manager shows all the same does what OK does: the three
    // required dialogs close unmarked with nothing chosen, the others marked.
    void closeBoxDoesWhatOkDoes_data() { everyDialog_data(); }
    void closeBoxDoesWhatOkDoes() {
        QFETCH(QString, form);
        QuestionnaireDialog* dialog = Dialog(form);
        OpenDialog open(dialog);
        dialog->close();
        QVERIFY(!open.stillOpen());
        const bool required = form == "TForm9" || form == "TForm11" || form == "TForm12";
        QCOMPARE(open.answered(), !required);
    }

    void okByKeyboardAlone_data() { everyDialog_data(); }
    void okByKeyboardAlone() {
        QFETCH(QString, form);
        QFETCH(QStringList, tabChain);
        QuestionnaireDialog* dialog = Dialog(form);
        OpenDialog open(dialog);
        QCOMPARE(dialog->focusWidget()->objectName(), tabChain.first());

        for (int presses = 0; presses < tabChain.size() && open.stillOpen(); ++presses) {
            if (dialog->focusWidget()->objectName() == "Button1")
                QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
            else
                QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
        }
        QVERIFY(!open.stillOpen());
    }

    void yearAnsweredByKeyboardAlone() {
        OpenDialog open(Form12);
        QTest::keyClick(Form12->focusWidget(), Qt::Key_Space);
        QVERIFY(Find<QRadioButton>(Form12, "RadioButton1")->isChecked());
        // The arrows move the choice within the group.
        QTest::keyClick(Form12->focusWidget(), Qt::Key_Down);
        QVERIFY(Find<QRadioButton>(Form12, "RadioButton2")->isChecked());
        while (Form12->focusWidget() != Find<QPushButton>(Form12, "Button1"))
            QTest::keyClick(Form12->focusWidget(), Qt::Key_Tab);
        QTest::keyClick(Find<QPushButton>(Form12, "Button1"), Qt::Key_Return);
        QVERIFY(open.answered());
    }

private:
    std::unique_ptr<QuestionnaireDialogs> dialogs_;
};

QTEST_MAIN(DialogFramesTest)
#include "test_questionnaire_dialog_frames.moc"
