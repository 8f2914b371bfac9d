// Start-up: the twelve windows, the main window as it first shows, and its buttons.

#include "program_fixture.h"
#include "recorded_messages.h"

#include <QAccessible>
#include <QFile>
#include <QMenuBar>
#include <QScreen>

using msr::app::PictureButton;

namespace {

PictureButton* Button(const QString& name) {
    return Form1->findChild<PictureButton*>(name);
}

// The controls that Tab visits from the one that has the focus, once round.
QStringList TabChainFrom(QWidget* first) {
    QStringList chain{first->objectName()};
    for (QWidget* w = first->nextInFocusChain(); w != first; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(first->window()))
            chain.append(w->objectName());
    return chain;
}

} // namespace

class StartUpTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { msr::app::PrepareApplication(*qApp); }
    void init() { windows_ = std::make_unique<ProgramWindows>(); }
    void cleanup() { windows_.reset(); }

    void everyMessageCarriesTheApplicationTitle() {
        RecordedMessages messages;
        Click(Find<QPushButton>(Form1, "Button1"));
        QCOMPARE(messages.requests.size(), 1);
        QCOMPARE(messages.requests.first().caption, QStringLiteral("Mietspiegel Varlstadt"));
    }

    void createsTwelveWindowsOnlyTheMainOneShown() {
        const QList<QWidget*> windows{Form1, Form2, Form3, Form4,  Form5,  Form6,
                                      Form7, Form8, Form9, Form10, Form11, Form12};
        for (int n = 1; n <= 12; ++n) {
            QWidget* window = windows.at(n - 1);
            QVERIFY2(window, qPrintable(QString("Form%1").arg(n)));
            QCOMPARE(window->metaObject()->className(), qPrintable(QString("TForm%1").arg(n)));
            QCOMPARE(window->isVisible(), n == 1);
            // The hidden windows are styled when first shown, not before the first frame.
            QCOMPARE(window->testAttribute(Qt::WA_WState_Polished), n == 1);
        }
        QCOMPARE(Form1->windowTitle(), QStringLiteral("Larkhaus e. V. - Mietspiegel"));
    }

    void destroyingLeavesNoWindowBehind() {
        windows_.reset();
        const QList<QWidget*> windows{Form1, Form2, Form3, Form4,  Form5,  Form6,
                                      Form7, Form8, Form9, Form10, Form11, Form12};
        for (QWidget* window : windows)
            QVERIFY(!window);
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void mainWindowHasAFixedClientAreaCentredOnTheScreen() {
        QCOMPARE(Form1->centralWidget()->size(), QSize(363, 663));
        QCOMPARE(Form1->centralWidget()->y(), Form1->menuBar()->height());
        QCOMPARE(Form1->minimumSize(), Form1->maximumSize());
        const Qt::WindowFlags flags = Form1->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
        QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        const QPoint offset =
            Form1->geometry().center() - QGuiApplication::primaryScreen()->geometry().center();
        QVERIFY(offset.manhattanLength() <= 2);
    }

    void menuOffersBeendenAndInfo() {
        const QList<QAction*> menus = Find<QMenuBar>(Form1, "MainMenu1")->actions();
        QCOMPARE(menus.size(), 2);
        QCOMPARE(menus.at(0)->text(), QStringLiteral("&Datei"));
        QCOMPARE(menus.at(0)->menu()->actions(), QList<QAction*>{Find<QAction>(Form1, "Beenden1")});
        QCOMPARE(menus.at(1)->text(), QStringLiteral("&?"));
        QCOMPARE(menus.at(1)->menu()->actions(), QList<QAction*>{Find<QAction>(Form1, "Info1")});
        QCOMPARE(Find<QAction>(Form1, "Beenden1")->text(), QStringLiteral("&Beenden"));
        QCOMPARE(Find<QAction>(Form1, "Info1")->text(), QStringLiteral("&Info"));
    }

    void questionnaireButtonsStartOpen_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("leadingBlanks");

        QTest::newRow("Baujahr") << "SpeedButton11" << 32 << 46 << "Baujahr" << 37;
        QTest::newRow("Wohnungsgröße")
            << "SpeedButton8" << 88 << 49 << "Wohnungsgröße und Räume" << 0;
        QTest::newRow("Bad") << "SpeedButton2" << 144 << 49 << "Bad-Ausstattung" << 23;
        QTest::newRow("Bodenbeläge") << "SpeedButton1" << 201 << 49 << "Bodenbeläge" << 28;
        QTest::newRow("Beheizungsart") << "SpeedButton3" << 256 << 49 << "Beheizungsart" << 27;
        QTest::newRow("Weitere") << "SpeedButton4" << 312 << 49 << "Weitere Zu- und Abschläge" << 6;
        QTest::newRow("Modernisierung")
            << "SpeedButton5" << 368 << 49 << "Modernisierungsmaßnahmen" << 4;
        QTest::newRow("Wohnumfeld") << "SpeedButton9" << 424 << 49 << "Wohnumfeld" << 29;
        QTest::newRow("Gebiet") << "SpeedButton10" << 480 << 49 << "Gebietseinteilung" << 22;
    }
    void questionnaireButtonsStartOpen() {
        QFETCH(QString, name);
        QFETCH(int, top);
        QFETCH(int, height);
        QFETCH(QString, caption);
        QFETCH(int, leadingBlanks);
        PictureButton* button = Button(name);
        QCOMPARE(button->text(), QString(leadingBlanks, ' ') + caption);
        QCOMPARE(button->geometry(), QRect(64, top, 209, height));
        QCOMPARE(button->parentWidget(), Find<QGroupBox>(Form1, "GroupBox1"));
        QCOMPARE(button->tag(), 0);
        QVERIFY(ShowsQuestionMark(button));
        QCOMPARE(button->accessibleName(), caption);
        QCOMPARE(button->accessibleDescription(), QStringLiteral("offen"));
    }

    // Screen readers hear the group's eleven buttons, not the two hidden picture holders.
    void hiddenPictureHoldersAreNotExposed() {
        QAccessibleInterface* group =
            QAccessible::queryAccessibleInterface(Find<QGroupBox>(Form1, "GroupBox1"));
        QStringList heard;
        for (int i = 0; i < group->childCount(); ++i)
            heard << group->child(i)->object()->objectName();
        QCOMPARE(heard.size(), 11);
        QVERIFY(!heard.contains(QStringLiteral("SpeedButton6")));
        QVERIFY(!heard.contains(QStringLiteral("SpeedButton7")));
    }

    void picturesAreDrawnInTheirSizes() {
        QVERIFY(!Find<msr::app::PictureButton>(Form1, "SpeedButton6")->isVisible() &&
                !Find<msr::app::PictureButton>(Form1, "SpeedButton7")->isVisible());
        QCOMPARE(Find<msr::app::PictureButton>(Form1, "SpeedButton6")->glyph().size(),
                 QSize(32, 32));
        QCOMPARE(Find<msr::app::PictureButton>(Form1, "SpeedButton7")->glyph().size(),
                 QSize(45, 45));
        const QImage tick = Find<msr::app::PictureButton>(Form1, "SpeedButton6")->glyph().toImage();
        const QImage question =
            Find<msr::app::PictureButton>(Form1, "SpeedButton7")->glyph().toImage();
        // Green tick on a light disc; white question mark on a blue disc.
        const QColor tickMiddle = tick.pixelColor(14, 21);
        QVERIFY(tickMiddle.green() > 2 * tickMiddle.red());
        QVERIFY(tick.pixelColor(25, 24).lightness() > 200);
        QCOMPARE(tick.pixelColor(0, 0).alpha(), 0);
        const QColor disc = question.pixelColor(8, 22);
        QVERIFY(disc.blue() > 2 * disc.red());
        QCOMPARE(question.pixelColor(22, 35), QColor(Qt::white));
        QCOMPARE(question.pixelColor(0, 0).alpha(), 0);
    }

    void mainWindowIsUsableByKeyboard() {
        QCOMPARE(Form1->focusWidget(), Find<QPushButton>(Form1, "Button1"));
        QCOMPARE(TabChainFrom(Form1->focusWidget()),
                 (QStringList{"Button1", "Button2", "SpeedButton11", "SpeedButton8", "SpeedButton2",
                              "SpeedButton1", "SpeedButton3", "SpeedButton4", "SpeedButton5",
                              "SpeedButton9", "SpeedButton10"}));
        // Enter on a questionnaire button opens its dialog, as a click does.
        bool opened = false;
        WhenModal(Form11, [&opened] {
            opened = true;
            Click(Find<QPushButton>(Form11, "Button1"));
        });
        Find<msr::app::PictureButton>(Form1, "SpeedButton10")->setFocus();
        QTest::keyClick(Find<msr::app::PictureButton>(Form1, "SpeedButton10"), Qt::Key_Return);
        QVERIFY(opened);
    }

    // Task bars group the windows under the desktop entry by the window class, which Qt
    // takes from the application name, and show the program's icon on every window.
    void everyWindowCarriesTheProgramsIconAndTheDesktopEntrysClass() {
        QFile entry(QStringLiteral(MSR_DESKTOP_ENTRY));
        QVERIFY(entry.open(QIODevice::ReadOnly | QIODevice::Text));
        QString startupClass;
        for (const QString& line : QString::fromUtf8(entry.readAll()).split(u'\n'))
            if (line.startsWith(QStringLiteral("StartupWMClass=")))
                startupClass = line.section(u'=', 1);
        QCOMPARE(QCoreApplication::applicationName(), startupClass);
        QVERIFY(!QApplication::windowIcon().isNull());
        // Each size is drawn when asked for, as the desktop's task bar asks.
        QIcon icon = QApplication::windowIcon();
        QCOMPARE(icon.availableSizes().size(), 7);
        for (const QSize& size : icon.availableSizes()) {
            const QImage picture = icon.pixmap(size).toImage();
            QCOMPARE(picture.size(), size);
            QVERIFY(picture.pixelColor(size.width() / 2, size.height() / 2).alpha() > 0);
        }
        const QList<QWidget*> windows{Form1, Form2, Form3, Form4,  Form5,  Form6,
                                      Form7, Form8, Form9, Form10, Form11, Form12};
        for (QWidget* window : windows)
            QCOMPARE(window->windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
    }

private:
    std::unique_ptr<ProgramWindows> windows_;
};

QTEST_MAIN(StartUpTest)
#include "test_app_start_up.moc"
