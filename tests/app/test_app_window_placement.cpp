// Where the windows open on the screen the test runs on: ctest starts it once per screen
// (small, laptop at 125 %, large). Each window is centred in the screen's available area
// where it fits, and never puts its title bar above or its left edge beside that area.

#include "program_fixture.h"
#include "recorded_messages.h"

#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>

namespace {

QWidget* Window(const QString& name) {
    for (QWidget* window : QList<QWidget*>{Form1, Form2, Form3, Form4, Form5, Form6, Form7, Form9,
                                           Form10, Form11, Form12})
        if (window->objectName() == name)
            return window;
    return nullptr;
}

QRect AvailableArea() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// Empty when the window stands where it should, else what is wrong.
QString Misplacement(const QWidget* window) {
    const QRect area = AvailableArea();
    const QRect frame = window->frameGeometry();
    const auto describe = [&](const char* what) {
        return QString("%1 at %2,%3 %4x%5 in %6x%7: %8")
            .arg(window->objectName())
            .arg(frame.x())
            .arg(frame.y())
            .arg(frame.width())
            .arg(frame.height())
            .arg(area.width())
            .arg(area.height())
            .arg(what);
    };
    if (frame.top() < area.top())
        return describe("title bar above the screen");
    if (frame.left() < area.left())
        return describe("left edge beside the screen");
    const QPoint offset = frame.center() - area.center();
    if (frame.width() <= area.width() ? qAbs(offset.x()) > 1 : frame.left() != area.left())
        return describe("not centred across");
    // Too high for the screen: as near to its top as the title bar allows.
    const int titleBar = window->style()->pixelMetric(QStyle::PM_TitleBarHeight);
    if (frame.height() <= area.height() ? qAbs(offset.y()) > 1
                                        : frame.top() > area.top() + titleBar)
        return describe("not centred down");
    return {};
}

// A point of the control the user can see and click: inside the screen's available area
// and not hidden behind another part of the window. Null where there is none.
QPoint VisiblePointOf(QWidget* control) {
    const QRect area = AvailableArea();
    for (const QPoint& inside : {control->rect().center(), QPoint(control->width() / 2, 3),
                                 QPoint(control->width() / 2, control->height() - 4)}) {
        const QPoint global = control->mapToGlobal(inside);
        if (area.contains(global) && QApplication::widgetAt(global) == control)
            return global;
    }
    return {};
}

// A click into the scroll bar's trough just above its lower arrow, which pages down, as a
// user's mouse does it.
void PageDownByMouse() {
    auto* scrolling = Form1->findChild<QScrollArea*>(QStringLiteral("ScrollArea"));
    QVERIFY2(scrolling, "out of sight and no scroll bar");
    QScrollBar* bar = scrolling->verticalScrollBar();
    const QPoint trough =
        bar->mapTo(Form1, QPoint(bar->width() / 2, bar->height() - bar->width() - 3));
    QTest::mouseClick(Form1->windowHandle(), Qt::LeftButton, Qt::NoModifier, trough);
}

} // namespace

class WindowPlacementTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        qInfo("screen %dx%d, available %dx%d, scale %s, font dpi %s",
              QGuiApplication::primaryScreen()->geometry().width(),
              QGuiApplication::primaryScreen()->geometry().height(), AvailableArea().width(),
              AvailableArea().height(), qgetenv("QT_SCALE_FACTOR").constData(),
              qgetenv("QT_FONT_DPI").constData());
        msr::app::PrepareApplication(*qApp);
        windows_ = std::make_unique<ProgramWindows>();
    }
    void cleanupTestCase() { windows_.reset(); }

    void mainWindow() { QCOMPARE(Misplacement(Form1), QString()); }

    // Where the window fits, its client area is the one laid out, 363 x 663 below the menu;
    // where it does not, it scrolls inside a window that fits the screen.
    void mainWindowFitsOrScrolls() {
        auto* scrolling = Form1->findChild<QScrollArea*>(QStringLiteral("ScrollArea"));
        QVERIFY2(Form1->frameGeometry().height() <= AvailableArea().height(),
                 qPrintable(QString::number(Form1->frameGeometry().height())));
        const int titleBar = Form1->style()->pixelMetric(QStyle::PM_TitleBarHeight);
        const bool fits = Form1->menuBar()->height() + 663 + titleBar <= AvailableArea().height();
        QCOMPARE(scrolling == nullptr, fits);
        if (fits) {
            QCOMPARE(Form1->centralWidget()->objectName(), QStringLiteral("centralwidget"));
            QCOMPARE(Form1->centralWidget()->size(), QSize(363, 663));
        }
    }

    // Every command of the main window is reached by the mouse: the scroll bar brings it
    // into view where the screen is too low, and a click at the place seen presses it.
    void mainWindowCommandsReachableByMouse_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("Auswerten") << "Button1";
        QTest::newRow("Werte zurücksetzen") << "Button2";
        QTest::newRow("Gebietseinteilung") << "SpeedButton10";
    }
    void mainWindowCommandsReachableByMouse() {
        QFETCH(QString, button);
        RecordedMessages messages(msr::gui::MessageResult::No);
        // The main window's own, not a dialog's of the same name.
        auto* control =
            Find<QAbstractButton>(Find<QWidget>(Form1, "centralwidget"), qPrintable(button));
        for (int notch = 0; notch < 40 && VisiblePointOf(control).isNull(); ++notch)
            PageDownByMouse();
        const QPoint seen = VisiblePointOf(control);
        QVERIFY2(!seen.isNull(), "never seen on the screen");
        QSignalSpy pressed(control, &QAbstractButton::clicked);
        if (button == QLatin1String("SpeedButton10"))
            WhenModal(Form11, [] { Form11->done(QDialog::Accepted); });
        QTest::mouseClick(Form1->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          Form1->windowHandle()->mapFromGlobal(seen));
        QCOMPARE(pressed.count(), 1);
    }

    // Each dialog as its button opens it from the main window.
    void dialogs_data() {
        QTest::addColumn<QString>("window");
        for (const char* window : {"TForm2", "TForm3", "TForm4", "TForm5", "TForm6", "TForm7",
                                   "TForm9", "TForm10", "TForm11", "TForm12"})
            QTest::newRow(window) << QString(window);
    }
    void dialogs() {
        QFETCH(QString, window);
        auto* dialog = qobject_cast<QDialog*>(Window(window));
        QString misplacement = QStringLiteral("never shown");
        WhenModal(dialog, [dialog, &misplacement] {
            misplacement = Misplacement(dialog);
            dialog->done(QDialog::Accepted);
        });
        dialog->exec();
        QCOMPARE(misplacement, QString());
    }

    // The preview fills the available area, title bar included.
    void preview() {
        RecordedMessages messages;
        for (msr::app::PictureButton* button : Form1->QuestionnaireButtons())
            Form1->MarkAnswered(button);
        Find<QRadioButton>(Form12, "RadioButton1")->setChecked(true);
        Find<QComboBox>(Form9, "ComboBox1")->setEditText(QStringLiteral("60"));
        Find<QRadioButton>(Form11, "RadioButton1")->setChecked(true);
        QRect frame;
        WhenPreviewShown([&frame] { frame = Form8->openPreview()->frameGeometry(); });
        Click(Find<QPushButton>(Find<QWidget>(Form1, "centralwidget"), "Button1"));
        QVERIFY(!frame.isNull());
        QVERIFY2(AvailableArea().contains(frame), qPrintable(QString("%1,%2 %3x%4")
                                                                 .arg(frame.x())
                                                                 .arg(frame.y())
                                                                 .arg(frame.width())
                                                                 .arg(frame.height())));
        QVERIFY(frame.width() >= AvailableArea().width() - 1);
    }

private:
    std::unique_ptr<ProgramWindows> windows_;
};

QTEST_MAIN(WindowPlacementTest)
#include "test_app_window_placement.moc"
