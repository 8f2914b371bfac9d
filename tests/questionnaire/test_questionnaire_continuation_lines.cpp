// Options whose caption runs on in labels beneath them: what a screen reader announces,
// and where the continuation lines stand.

#include "questionnaire/continuation_lines.h"
#include "questionnaire_fixture.h"

#include <QAccessible>
#include <QLineEdit>
#include <QStyleOptionButton>

using msr::questionnaire::QuestionnaireDialog;

namespace {

QuestionnaireDialog* Dialog(const QString& form) {
    for (QuestionnaireDialog* dialog : std::initializer_list<QuestionnaireDialog*>{
             Form3, Form4, Form5, Form6, Form7, Form9, Form10, Form11, Form12})
        if (dialog->objectName() == form)
            return dialog;
    return nullptr;
}

// What assistive technology reads out for the control.
QString AnnouncedName(QWidget* control) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

// Where the option's text starts, in its container, as its style draws it.
int OptionTextLeft(const QAbstractButton* option) {
    QStyleOptionButton style;
    style.initFrom(option);
    const bool radio = qobject_cast<const QRadioButton*>(option);
    const QRect text = option->style()->subElementRect(
        radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &style, option);
    return option->x() + text.left();
}

int OptionTextTop(const QAbstractButton* option) {
    return option->y() + (option->height() - option->fontMetrics().height()) / 2;
}

} // namespace

class ContinuationLinesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QAccessible::setActive(true); }
    void init() { dialogs_ = std::make_unique<QuestionnaireDialogs>(); }
    void cleanup() { dialogs_.reset(); }

    void screenReadersHearTheWholeCaption_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::newRow("heating, runs on in one line")
            << "TForm6"
            << "RadioButton4"
            << "Wohnung (Aufenthaltsräume wie Wohn- und Schlafräume) nur teilweise beheizt "
               "oder keine Heizung vom Vermieter gestellt";
        QTest::newRow("noise, split words joined, the note below left out")
            << "TForm10"
            << "CheckBox1"
            << "Beeinträchtigung des Gebäudes durch Lärm bei Lage an einer viel befahrenen "
               "Straße (Durchgangsverkehr, Einfallstraße, Verbindungsstraße zwischen "
               "Stadtteilen) und/oder an einer viel befahrenen Eisenbahnlinie mit einer "
               "durchschnittlichen Lärmbelastung von mehr als 65 dB(A).";
        QTest::newRow("barrier-free, inside its panel")
            << "TForm4"
            << "RadioButton1"
            << "Barrierefreie Erreichbarkeit der Wohnung (Die Wohnung ist barrierefrei, d. h. "
               "ohne Schwellen und Stufen erreichbar).";
        QTest::newRow("the sides' panel, by its own name") << "TForm12"
                                                           << "Panel1"
                                                           << "Baujahr vor oder nach 1980";
        QTest::newRow("the frame around 1978 bis 1994") << "TForm12"
                                                        << "Bevel1"
                                                        << "1978 bis 1994";
        QTest::newRow("the noise map's link, by its address") << "TForm10"
                                                              << "Label8"
                                                              << "www.umgebungslaerm.nrw.de";
        QTest::newRow("captive rooms")
            << "TForm4"
            << "CheckBox1"
            << "Einen oder mehrere gefangene Räume (Räume, die nur direkt über vorgelagerte "
               "Wohnräume zu erreichen sind)";
        QTest::newRow("a caption of one line stays as it is") << "TForm3"
                                                              << "CheckBox1"
                                                              << "Gäste-WC";
    }
    void screenReadersHearTheWholeCaption() {
        QFETCH(QString, form);
        QFETCH(QString, control);
        QFETCH(QString, name);
        QCOMPARE(AnnouncedName(Find<QWidget>(Dialog(form), qPrintable(control))), name);
    }

    // The size box's edit field, which takes what is typed, goes by the caption that asks
    // for the size, not by whatever number it holds.
    void theSizeFieldIsNamedByItsCaption() {
        const QString caption = QStringLiteral("Geben Sie die Größe der Wohnung an");
        auto* box = Find<QComboBox>(Form9, "ComboBox1");
        QCOMPARE(AnnouncedName(box->lineEdit()), caption);
        box->setCurrentIndex(44);
        QCOMPARE(AnnouncedName(box->lineEdit()), caption);
    }

    // Every continuation line starts where its option's text starts, and the lines keep
    // one pitch, the first one below the option's text included.
    void linesStandUnderTheOptionText_data() {
        QTest::addColumn<QString>("form");
        for (const char* form : {"TForm4", "TForm5", "TForm6", "TForm7", "TForm10"})
            QTest::newRow(form) << QString(form);
    }
    void linesStandUnderTheOptionText() {
        QFETCH(QString, form);
        QuestionnaireDialog* dialog = Dialog(form);
        OpenDialog open(dialog);
        int options = 0;
        for (QAbstractButton* option : dialog->findChildren<QAbstractButton*>()) {
            const QList<QLabel*> lines = msr::questionnaire::ContinuationLines(option);
            if (lines.isEmpty())
                continue;
            ++options;
            int previousTop = OptionTextTop(option);
            for (const QLabel* line : lines) {
                QCOMPARE(line->x(), OptionTextLeft(option));
                QCOMPARE(line->y() - previousTop, 16);
                previousTop = line->y();
            }
        }
        QVERIFY(options > 0);
    }

private:
    std::unique_ptr<QuestionnaireDialogs> dialogs_;
};

QTEST_MAIN(ContinuationLinesTest)
#include "test_questionnaire_continuation_lines.moc"
