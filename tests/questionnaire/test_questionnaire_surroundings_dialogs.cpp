// The residential-environment dialog's link to the noise map, and the area dialog's OK.

#include "questionnaire/web_address.h"
#include "questionnaire_fixture.h"
#include "recorded_messages.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QUrl>

namespace {

const QUrl kNoiseMap(QStringLiteral("https://www.umgebungslaerm.nrw.de"));

bool PointingHandShown() {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor && cursor->shape() == Qt::PointingHandCursor;
}

} // namespace

class SurroundingsDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        dialogs_ = std::make_unique<QuestionnaireDialogs>();
        opened_.clear();
        msr::questionnaire::SetWebAddressOpener([this](const QUrl& url) {
            opened_.append(url);
            return true;
        });
    }
    void cleanup() {
        msr::questionnaire::SetWebAddressOpener({});
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
        dialogs_.reset();
    }

    void linkShowsTheHostUnderlinedInTheTextColour() {
        QCOMPARE(Find<QLabel>(Form10, "Label8")->text(),
                 QStringLiteral("www.umgebungslaerm.nrw.de"));
        QVERIFY(Find<QLabel>(Form10, "Label8")->font().underline());
        QCOMPARE(Find<QLabel>(Form10, "Label8")->textFormat(), Qt::PlainText);
        QCOMPARE(Find<QLabel>(Form10, "Label8")->palette().color(QPalette::WindowText),
                 Find<QLabel>(Form10, "Label9")->palette().color(QPalette::WindowText));
    }

    void releasingAnyMouseButtonOpensTheNoiseMap_data() {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("left") << Qt::LeftButton << Qt::KeyboardModifiers();
        QTest::newRow("right") << Qt::RightButton << Qt::KeyboardModifiers();
        QTest::newRow("middle with shift")
            << Qt::MiddleButton << Qt::KeyboardModifiers(Qt::ShiftModifier);
    }
    void releasingAnyMouseButtonOpensTheNoiseMap() {
        QFETCH(Qt::MouseButton, button);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        OpenDialog open(Form10);
        QTest::mouseClick(Find<QLabel>(Form10, "Label8"), button, modifiers, QPoint(3, 3));
        QCOMPARE(opened_, QList<QUrl>{kNoiseMap});
        QVERIFY(open.stillOpen());
        QVERIFY(!open.answered());
    }

    // Screen readers announce a link, and its press action opens the map as a click does.
    void linkIsAnnouncedAsALinkAndOpensByItsAction() {
        OpenDialog open(Form10);
        QAccessibleInterface* link =
            QAccessible::queryAccessibleInterface(Find<QLabel>(Form10, "Label8"));
        QCOMPARE(link->role(), QAccessible::Link);
        QAccessibleActionInterface* actions = link->actionInterface();
        QVERIFY(actions);
        QCOMPARE(actions->actionNames().value(0), QAccessibleActionInterface::pressAction());
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(opened_, QList<QUrl>{kNoiseMap});
        QVERIFY(open.stillOpen());
    }

    void keyboardOpensTheNoiseMapToo() {
        OpenDialog open(Form10);
        Find<QLabel>(Form10, "Label8")->setFocus();
        QTest::keyClick(Find<QLabel>(Form10, "Label8"), Qt::Key_Space);
        QCOMPARE(opened_, QList<QUrl>{kNoiseMap});
    }

    void pointerIsAHandOnlyOverTheLink() {
        OpenDialog open(Form10);
        QVERIFY(!QGuiApplication::overrideCursor());
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(Find<QLabel>(Form10, "Label8"), &enter);
        QVERIFY(PointingHandShown());
        // A second enter without a leave still needs only one leave.
        QCoreApplication::sendEvent(Find<QLabel>(Form10, "Label8"), &enter);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(Find<QLabel>(Form10, "Label8"), &leave);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    // Closed by keyboard while the pointer rests on the link: the label never sees the
    // pointer leave, the closing dialog restores it.
    void closingByKeyboardOverTheLinkRestoresThePointer() {
        OpenDialog open(Form10);
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(Find<QLabel>(Form10, "Label8"), &enter);
        QVERIFY(PointingHandShown());
        Find<QPushButton>(Form10, "Button1")->setFocus();
        QTest::keyClick(Find<QPushButton>(Form10, "Button1"), Qt::Key_Space);
        QVERIFY(!open.stillOpen());
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void failureToOpenIsNotReported() {
        msr::questionnaire::SetWebAddressOpener([](const QUrl&) { return false; });
        RecordedMessages messages;
        OpenDialog open(Form10);
        QTest::mouseClick(Find<QLabel>(Form10, "Label8"), Qt::LeftButton);
        QVERIFY(messages.requests.isEmpty());
        QVERIFY(open.stillOpen());
    }

    void areaOk_data() {
        QTest::addColumn<int>("area");
        QTest::addColumn<bool>("answered");
        QTest::newRow("none") << 0 << false;
        for (int area = 1; area <= 7; ++area)
            QTest::addRow("area %d", area) << area << true;
    }
    void areaOk() {
        QFETCH(int, area);
        QFETCH(bool, answered);
        OpenDialog open(Form11);
        if (area != 0)
            ClickOption(
                Form11->findChild<QRadioButton*>(QStringLiteral("RadioButton%1").arg(area)));
        Click(Find<QPushButton>(Form11, "Button1"));
        QCOMPARE(open.answered(), answered);
        QVERIFY(!open.stillOpen());
    }

private:
    std::unique_ptr<QuestionnaireDialogs> dialogs_;
    QList<QUrl> opened_;
};

QTEST_MAIN(SurroundingsDialogsTest)
#include "test_questionnaire_surroundings_dialogs.moc"
