// The main window at work: the questionnaire buttons open their dialogs modally and show
// what the dialogs' OK decided, "Auswerten" checks its three flags and runs the
// evaluation up to the preview and back, "Info" and "Beenden".

#include "program_fixture.h"
#include "questionnaire/read_answers.h"
#include "recorded_messages.h"
#include "report/entry_points.h"

#include <QAccessible>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>

using msr::app::PictureButton;

namespace {

const QString kRequiredAnswersMissing = QStringLiteral(
    "Sie müssen vor der Auswertung das Baujahr und die Wohnungsröße festlegen sowie das "
    "Gebiet angeben, in dem sich die Wohnung befindet. Mindestens eine dieser Angaben fehlt.");

// What screen readers are told: the dialog is modal.
bool AnnouncedModal(QWidget* dialog) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(dialog);
    return accessible && accessible->role() == QAccessible::Dialog && accessible->state().modal;
}

void TypeSize(const QString& text) {
    QLineEdit* edit = Find<QComboBox>(Form9, "ComboBox1")->lineEdit();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

// The user answers the three required dialogs from the main window.
void AnswerYear() {
    WhenModal(Form12, [] {
        ClickOption(Find<QRadioButton>(Form12, "RadioButton4"));
        ClickOption(Find<QRadioButton>(Form12, "RadioButton8"));
        Click(Find<QPushButton>(Form12, "Button1"));
    });
    Click(Find<msr::app::PictureButton>(Form1, "SpeedButton11"));
}

void AnswerSize(const QString& size) {
    WhenModal(Form9, [size] {
        TypeSize(size);
        Click(Find<QPushButton>(Form9, "Button1"));
    });
    Click(Find<msr::app::PictureButton>(Form1, "SpeedButton8"));
}

void AnswerArea() {
    WhenModal(Form11, [] {
        ClickOption(Find<QRadioButton>(Form11, "RadioButton3"));
        Click(Find<QPushButton>(Form11, "Button1"));
    });
    Click(Find<msr::app::PictureButton>(Form1, "SpeedButton10"));
}

QStringList DocumentText() {
    QStringList paragraphs;
    for (const msr::Paragraph& paragraph : Form8->document().paragraphs())
        paragraphs.append(QString::fromStdString(paragraph.text));
    return paragraphs;
}

// What the evaluation writes for the given answers.
QStringList EvaluationOf(const msr::Answers& answers) {
    SetAnswersSource([answers] { return answers; });
    Form8->document().clear();
    BuildEvaluationReport();
    SetAnswersSource(&msr::questionnaire::ReadAnswers);
    return DocumentText();
}

bool PreviewOpen() {
    return Form8->openPreview() && Form8->openPreview()->isVisible();
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { msr::app::PrepareApplication(*qApp); }
    void init() { windows_ = std::make_unique<ProgramWindows>(); }
    void cleanup() { windows_.reset(); }

    void evaluationIsRefusedAfterStartUp() {
        RecordedMessages messages;
        Click(Find<QPushButton>(Form1, "Button1"));
        QCOMPARE(messages.onlyText(), kRequiredAnswersMissing);
        QCOMPARE(messages.requests.first().icon, msr::gui::MessageIcon::Exclamation);
        QCOMPARE(messages.requests.first().buttons, msr::gui::MessageButtons::Ok);
        QVERIFY(Form8->document().paragraphs().empty());
    }

    // Which flags "Auswerten" asks for: those of year, size and area, and no other.
    void evaluationNeedsTheThreeRequiredFlags_data() {
        QTest::addColumn<QStringList>("answered");
        QTest::addColumn<bool>("evaluates");

        const QStringList optional{"SpeedButton1", "SpeedButton2", "SpeedButton3",
                                   "SpeedButton4", "SpeedButton5", "SpeedButton9"};
        QTest::newRow("all optional, none required") << optional << false;
        QTest::newRow("without the year") << QStringList{"SpeedButton8", "SpeedButton10"} << false;
        QTest::newRow("without the size") << QStringList{"SpeedButton11", "SpeedButton10"} << false;
        QTest::newRow("without the area") << QStringList{"SpeedButton11", "SpeedButton8"} << false;
        QTest::newRow("the three required")
            << QStringList{"SpeedButton11", "SpeedButton8", "SpeedButton10"} << true;
    }
    void evaluationNeedsTheThreeRequiredFlags() {
        QFETCH(QStringList, answered);
        QFETCH(bool, evaluates);
        // Inputs an evaluation can work with, whatever the flags say.
        Find<QRadioButton>(Form12, "RadioButton2")->setChecked(true);
        Find<QComboBox>(Form9, "ComboBox1")->setEditText(QStringLiteral("60"));
        Find<QRadioButton>(Form11, "RadioButton1")->setChecked(true);
        for (const QString& name : answered)
            Form1->MarkAnswered(Form1->findChild<PictureButton*>(name));
        RecordedMessages messages;
        bool previewShown = false;
        WhenPreviewShown([&previewShown] { previewShown = true; });

        Click(Find<QPushButton>(Form1, "Button1"));

        QCOMPARE(previewShown, evaluates);
        QCOMPARE(messages.onlyText(), evaluates ? QString() : kRequiredAnswersMissing);
    }

    void wholeEvaluationFromTheMainWindowToThePreviewAndBack() {
        RecordedMessages messages;
        AnswerYear();
        AnswerSize(QStringLiteral("75"));
        AnswerArea();
        for (PictureButton* button : Form1->QuestionnaireButtons()) {
            const bool required = button == Find<msr::app::PictureButton>(Form1, "SpeedButton11") ||
                                  button == Find<msr::app::PictureButton>(Form1, "SpeedButton8") ||
                                  button == Find<msr::app::PictureButton>(Form1, "SpeedButton10");
            QCOMPARE(ShowsTick(button), required);
            QCOMPARE(ShowsQuestionMark(button), !required);
            QCOMPARE(button->tag(), required ? 1 : 0);
            QCOMPARE(button->accessibleDescription(),
                     required ? QStringLiteral("beantwortet") : QStringLiteral("offen"));
        }
        QStringList shown;
        WhenPreviewShown([&shown] { shown = DocumentText(); });

        Click(Find<QPushButton>(Form1, "Button1")); // returns once the preview has closed

        QVERIFY(!PreviewOpen());
        QVERIFY(Form1->isVisible());
        QVERIFY(!Form8->isVisible());
        QVERIFY(messages.requests.isEmpty());
        msr::Answers expected;
        expected.YearClass = 4;
        expected.Built1980Side = 1;
        expected.LivingArea = "75";
        expected.CityArea = 3;
        QVERIFY(!shown.isEmpty());
        QCOMPARE(shown, EvaluationOf(expected));
    }

    // A printing error in the preview is told over the preview, and the keys go back
    // there: Enter does not run "Auswerten" again in the main window hidden behind it, and
    // Ctrl+P prints again.
    void keysAfterAPrintErrorStayInThePreview() {
        AnswerYear();
        AnswerSize(QStringLiteral("75"));
        AnswerArea();
        QSignalSpy evaluations(Find<QPushButton>(Form1, "Button1"), &QPushButton::clicked);
        QTemporaryDir folder;
        const QString missing = folder.filePath(QStringLiteral("fehlt/bericht.pdf"));
        int asked = 0;
        QList<QWidget*> owners;
        QWidget* preview = nullptr;
        QWidget* activeAfterMessage = nullptr;
        // Each message is the real box, answered with Enter as a user does.
        const auto answerNextMessage = [&owners] {
            WhenReady([] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); },
                      [&owners] {
                          QWidget* box = QApplication::activeModalWidget();
                          owners << box->parentWidget();
                          QTest::keyClick(box, Qt::Key_Return);
                      });
        };
        WhenPreviewShown([&] {
            msr::report::PreviewWindow* window = Form8->openPreview();
            preview = window;
            window->printer().setOutputFileName(missing);
            window->setPrintFileChooser([&](QWidget*, const QString&) {
                ++asked;
                return missing;
            });
            if (!QTest::qWaitForWindowActive(window))
                return;
            answerNextMessage();
            QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_P, Qt::ControlModifier);
            // The window system's word on the active window comes as an event.
            QCoreApplication::processEvents();
            activeAfterMessage = QApplication::activeWindow();
            if (!QGuiApplication::focusWindow())
                return;
            QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_Return);
            answerNextMessage();
            QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_P, Qt::ControlModifier);
        });
        Click(Find<QPushButton>(Form1, "Button1"));

        QCOMPARE(evaluations.count(), 1);
        QCOMPARE(asked, 2);
        QCOMPARE(owners, QList<QWidget*>({preview, preview}));
        QCOMPARE(activeAfterMessage, preview);
    }

    void optionalDialogOkMarksButDoesNotAllowEvaluation_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("form");
        QTest::newRow("Bad-Ausstattung") << "SpeedButton2"
                                         << "TForm3";
        QTest::newRow("Bodenbeläge") << "SpeedButton1"
                                     << "TForm7";
        QTest::newRow("Beheizungsart") << "SpeedButton3"
                                       << "TForm6";
        QTest::newRow("Weitere Zu- und Abschläge") << "SpeedButton4"
                                                   << "TForm4";
        QTest::newRow("Modernisierungsmaßnahmen") << "SpeedButton5"
                                                  << "TForm5";
        QTest::newRow("Wohnumfeld") << "SpeedButton9"
                                    << "TForm10";
    }
    void optionalDialogOkMarksButDoesNotAllowEvaluation() {
        QFETCH(QString, button);
        QFETCH(QString, form);
        auto* questionnaireButton = Form1->findChild<PictureButton*>(button);
        QDialog* dialog = nullptr;
        for (QDialog* candidate : QList<QDialog*>{Form3, Form4, Form5, Form6, Form7, Form10})
            if (candidate->objectName() == form)
                dialog = candidate;
        bool shownModally = false;
        WhenModal(dialog, [dialog, &shownModally] {
            shownModally = dialog->isModal() && AnnouncedModal(dialog);
            Click(dialog->findChild<QWidget*>(QStringLiteral("Button1")));
        });

        Click(questionnaireButton);

        QVERIFY(shownModally);
        QVERIFY(ShowsTick(questionnaireButton));
        QCOMPARE(questionnaireButton->tag(), 1);
        RecordedMessages messages;
        Click(Find<QPushButton>(Form1, "Button1"));
        QCOMPARE(messages.onlyText(), kRequiredAnswersMissing);
    }

    void areaOkWithoutAnAreaLeavesTheQuestionMark() {
        WhenModal(Form11, [] { Click(Find<QPushButton>(Form11, "Button1")); });
        Click(Find<msr::app::PictureButton>(Form1, "SpeedButton10"));
        QVERIFY(ShowsQuestionMark(Find<msr::app::PictureButton>(Form1, "SpeedButton10")));
        QCOMPARE(Find<msr::app::PictureButton>(Form1, "SpeedButton10")->tag(), 0);
    }

    void sizeErrorsKeepTheDialogOpen_data() {
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("message");
        QTest::newRow("decimal comma") << "55,5"
                                       << "'55,5' ist kein gültiger Integerwert.";
        QTest::newRow("empty") << ""
                               << "'' ist kein gültiger Integerwert.";
    }
    void sizeErrorsKeepTheDialogOpen() {
        QFETCH(QString, size);
        QFETCH(QString, message);
        RecordedMessages messages;
        bool openAfterError = false;
        WhenModal(Form9, [size, &openAfterError] {
            TypeSize(size);
            Click(Find<QPushButton>(Form9, "Button1"));
            openAfterError = Form9->isVisible() &&
                             Find<msr::app::PictureButton>(Form1, "SpeedButton8")->tag() == 0;
            TypeSize(QStringLiteral("55"));
            Click(Find<QPushButton>(Form9, "Button1"));
        });

        Click(Find<msr::app::PictureButton>(Form1, "SpeedButton8"));

        QVERIFY(openAfterError);
        QCOMPARE(messages.onlyText(), message);
        QCOMPARE(messages.requests.first().icon, msr::gui::MessageIcon::Stop);
        QVERIFY(ShowsTick(Find<msr::app::PictureButton>(Form1, "SpeedButton8")));
    }

    void placeholderAfterASuccessfulOkMeetsTheEvaluationsConversion() {
        AnswerYear();
        AnswerSize(QStringLiteral("75"));
        AnswerArea();
        AnswerSize(QStringLiteral("Quadratmeter"));
        QVERIFY(ShowsTick(Find<msr::app::PictureButton>(Form1, "SpeedButton8")));
        RecordedMessages messages;
        bool previewShown = false;
        WhenPreviewShown([&previewShown] { previewShown = true; });

        Click(Find<QPushButton>(Form1, "Button1"));

        QVERIFY(!previewShown);
        QCOMPARE(messages.onlyText(),
                 QStringLiteral("'Quadratmeter' ist kein gültiger Gleitkommawert."));
        QCOMPARE(messages.requests.first().icon, msr::gui::MessageIcon::Stop);
        QVERIFY(Form1->isVisible());
    }

    void clearingInputsKeepsTheTick() {
        WhenModal(Form7, [] {
            ClickOption(Find<QRadioButton>(Form7, "RadioButton2"));
            Click(Find<QPushButton>(Form7, "Button1"));
        });
        Click(Find<msr::app::PictureButton>(Form1, "SpeedButton1"));
        QVERIFY(ShowsTick(Find<msr::app::PictureButton>(Form1, "SpeedButton1")));
        bool tickWhileCleared = false;
        WhenModal(Form7, [&tickWhileCleared] {
            Click(Find<QPushButton>(Form7, "Button2"));
            tickWhileCleared = !Find<QRadioButton>(Form7, "RadioButton2")->isChecked() &&
                               ShowsTick(Find<msr::app::PictureButton>(Form1, "SpeedButton1")) &&
                               Find<msr::app::PictureButton>(Form1, "SpeedButton1")->tag() == 1;
            Click(Find<QPushButton>(Form7, "Button1"));
        });
        Click(Find<msr::app::PictureButton>(Form1, "SpeedButton1"));
        QVERIFY(tickWhileCleared);
        QVERIFY(ShowsTick(Find<msr::app::PictureButton>(Form1, "SpeedButton1")));
    }

    void infoShowsTheInformationDialogModally() {
        bool shownModally = false;
        WhenModal(Form2, [&shownModally] {
            shownModally = Form2->isModal() && AnnouncedModal(Form2);
            Form2->Button1Click(nullptr);
        });
        Find<QAction>(Form1, "Info1")->trigger();
        QVERIFY(shownModally);
        QVERIFY(!Form2->isVisible());
    }

    void beendenClosesWithoutAQuestion() {
        RecordedMessages messages;
        Find<QAction>(Form1, "Beenden1")->trigger();
        QVERIFY(!Form1->isVisible());
        QVERIFY(messages.requests.isEmpty());
    }

    void closeBoxClosesWithoutAQuestion() {
        RecordedMessages messages;
        QVERIFY(Form1->close());
        QVERIFY(messages.requests.isEmpty());
    }

    // A questionnaire dialog minimised on its own would leave a main window that takes no
    // click and nothing to restore: the program goes down as a whole, and restoring the
    // main window brings the dialog back, still the one to answer.
    void minimisingADialogMinimisesTheProgram() {
        bool mainWindowWentDown = false;
        bool dialogCameBack = false;
        WhenModal(Form3, [&] {
            Form3->showMinimized();
            mainWindowWentDown = Form1->isMinimized();
            Form1->showNormal();
            dialogCameBack = Form3->isVisible() && !Form3->isMinimized() &&
                             QApplication::activeModalWidget() == Form3;
            Click(Find<QPushButton>(Form3, "Button1"));
        });
        Click(Find<msr::app::PictureButton>(Form1, "SpeedButton2"));
        QVERIFY(mainWindowWentDown);
        QVERIFY(dialogCameBack);
        QVERIFY(!Form1->isMinimized());
        QVERIFY(ShowsTick(Find<msr::app::PictureButton>(Form1, "SpeedButton2")));
    }

private:
    std::unique_ptr<ProgramWindows> windows_;
};

QTEST_MAIN(MainWindowTest)
#include "test_app_main_window.moc"
