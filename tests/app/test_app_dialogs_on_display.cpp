// The dialogs as a real window manager places them: with_window_manager.sh runs this on a
// virtual display under openbox or xfwm4, once per fresh session. Each dialog, opened from
// the main window again and again with no pause between, stands centred as a whole window
// (frame and title bar included) on the screen and within its edges, and stays there.
// Where a window stands is asked of the display itself, not of Qt.

#include "program_fixture.h"

#include <QProcess>
#include <QRegularExpression>
#include <QScreen>

#include <climits>

namespace {

QString Ask(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished(5000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

int Field(const QString& text, const QString& label) {
    const QRegularExpression field(QRegularExpression::escape(label) +
                                   QStringLiteral(":\\s+(-?\\d+)"));
    const QRegularExpressionMatch match = field.match(text);
    return match.hasMatch() ? match.captured(1).toInt() : INT_MIN;
}

// The window's frame on the display, title bar included, once the manager shows it
// framed; null before.
QRect FrameOnDisplay(const QWidget* window) {
    const QString id = QString::number(window->winId());
    const QString info = Ask(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id});
    if (!info.contains(QStringLiteral("IsViewable")))
        return {};
    // left, right, top, bottom
    const QRegularExpressionMatch extents =
        QRegularExpression(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)"))
            .match(Ask(QStringLiteral("xprop"),
                       {QStringLiteral("-id"), id, QStringLiteral("_NET_FRAME_EXTENTS")}));
    if (!extents.hasMatch())
        return {};
    const QRect client(Field(info, QStringLiteral("Absolute upper-left X")),
                       Field(info, QStringLiteral("Absolute upper-left Y")),
                       Field(info, QStringLiteral("Width")), Field(info, QStringLiteral("Height")));
    return client.marginsAdded(QMargins(extents.captured(1).toInt(), extents.captured(3).toInt(),
                                        extents.captured(2).toInt(), extents.captured(4).toInt()));
}

QString Describe(const QRect& frame) {
    return QStringLiteral("%1,%2 %3x%4")
        .arg(frame.x())
        .arg(frame.y())
        .arg(frame.width())
        .arg(frame.height());
}

// Empty when the frame stands centred in the area, or at its top left where it is larger;
// else what is wrong.
QString Misplacement(const QRect& frame, const QRect& area) {
    const QPoint offset = frame.center() - area.center();
    const bool acrossRight =
        frame.width() <= area.width() ? qAbs(offset.x()) <= 1 : frame.left() == area.left();
    const bool downRight =
        frame.height() <= area.height() ? qAbs(offset.y()) <= 1 : frame.top() == area.top();
    if (frame.top() < area.top() || frame.left() < area.left())
        return QStringLiteral("beyond the screen's top or left edge");
    if (!acrossRight || !downRight)
        return QStringLiteral("not centred");
    return {};
}

} // namespace

class DialogsOnDisplayTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X display with a window manager (with_window_manager.sh)");
        msr::app::PrepareApplication(*qApp);
        windows_ = std::make_unique<ProgramWindows>();
    }
    void cleanupTestCase() { windows_.reset(); }

    // Each dialog with what opens it: a button of the main window, or the menu item.
    void eachShowingCentred_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("opener");
        QTest::newRow("Baujahr") << "TForm12"
                                 << "SpeedButton11";
        QTest::newRow("Wohnungsgröße") << "TForm9"
                                       << "SpeedButton8";
        QTest::newRow("Bad-Ausstattung") << "TForm3"
                                         << "SpeedButton2";
        QTest::newRow("Bodenbeläge") << "TForm7"
                                     << "SpeedButton1";
        QTest::newRow("Beheizungsart") << "TForm6"
                                       << "SpeedButton3";
        QTest::newRow("Weitere Zu- und Abschläge") << "TForm4"
                                                   << "SpeedButton4";
        QTest::newRow("Modernisierungsmaßnahmen") << "TForm5"
                                                  << "SpeedButton5";
        QTest::newRow("Wohnumfeld") << "TForm10"
                                    << "SpeedButton9";
        QTest::newRow("Gebietseinteilung") << "TForm11"
                                           << "SpeedButton10";
        QTest::newRow("Information") << "TForm2"
                                     << "Info1";
    }
    void eachShowingCentred() {
        QFETCH(QString, window);
        QFETCH(QString, opener);
        auto* dialog = Form1->findChild<QDialog*>(window, Qt::FindDirectChildrenOnly);
        QVERIFY(dialog);
        const QRect area = Form1->screen()->availableGeometry();
        constexpr int kShowings = 3;
        for (int showing = 1; showing <= kShowings; ++showing) {
            QString wrong = QStringLiteral("never framed");
            WhenReady(
                [dialog] { return dialog->isVisible() && !FrameOnDisplay(dialog).isNull(); },
                [dialog, area, &wrong] {
                    const QRect framed = FrameOnDisplay(dialog);
                    // Left alone for a moment: nothing moves it any more.
                    QTest::qWait(150);
                    const QRect later = FrameOnDisplay(dialog);
                    wrong = later != framed ? QStringLiteral("moved from %1").arg(Describe(framed))
                                            : Misplacement(later, area);
                    if (!wrong.isEmpty())
                        wrong +=
                            QStringLiteral(" at %1 in %2").arg(Describe(later), Describe(area));
                    Click(Find<QPushButton>(dialog, "Button1"));
                });
            if (opener == QLatin1String("Info1"))
                Find<QAction>(Form1, "Info1")->trigger();
            else
                Click(Find<QAbstractButton>(Find<QWidget>(Form1, "centralwidget"),
                                            qPrintable(opener)));
            QVERIFY2(wrong.isEmpty(),
                     qPrintable(QStringLiteral("showing %1: %2").arg(showing).arg(wrong)));
        }
    }

private:
    std::unique_ptr<ProgramWindows> windows_;
};

QTEST_MAIN(DialogsOnDisplayTest)
#include "test_app_dialogs_on_display.moc"
