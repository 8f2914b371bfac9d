#include "gui/messages.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

using msr::gui::Messages;

// The real message box, as the user sees it: whatever a message quotes shows as typed.
class MessagesTest : public QObject {
    Q_OBJECT

private slots:
    void textShowsAsTyped_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("markup typed in the size box")
            << QStringLiteral("'<b>45</b> <i>x' ist kein gültiger Integerwert");
        QTest::newRow("an entity") << QStringLiteral("'&lt;12&gt;' ist kein gültiger Integerwert");
        QTest::newRow("a line break tag")
            << QStringLiteral("'1<br>2' ist kein gültiger Integerwert");
    }
    void textShowsAsTyped() {
        QFETCH(QString, text);
        QString shown;
        int shownWidth = 0;
        QFont shownFont;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            shown = label->text();
            shownWidth = label->sizeHint().width();
            shownFont = label->font();
            box->accept();
        });
        Messages::reportError(text);
        QCOMPARE(shown, text + u'.');
        // Laid out as rich text, "<b>45</b>" would take the width of "45" only: the
        // label must be as wide as the characters themselves.
        QVERIFY2(shownWidth >= QFontMetrics(shownFont).horizontalAdvance(text + u'.'),
                 qPrintable(QString::number(shownWidth)));
    }

    // The box asks for no title-bar buttons; a close box that a window manager shows all
    // the same answers as Esc does.
    void closeBoxAnswersAsEsc_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("answer");
        QTest::newRow("refusal") << int(msr::gui::MessageButtons::Ok)
                                 << int(msr::gui::MessageResult::Ok);
        QTest::newRow("question") << int(msr::gui::MessageButtons::YesNo)
                                  << int(msr::gui::MessageResult::No);
    }
    void closeBoxAnswersAsEsc() {
        QFETCH(int, kind);
        QFETCH(int, answer);
        Qt::WindowFlags flags;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            flags = box->windowFlags();
            box->close();
        });
        const auto result = Messages::show(QStringLiteral("Text"), msr::gui::MessageIcon::Question,
                                           msr::gui::MessageButtons(kind));
        QCOMPARE(int(result), answer);
        QVERIFY(flags.testFlag(Qt::WindowTitleHint));
        for (Qt::WindowType button : {Qt::WindowSystemMenuHint, Qt::WindowCloseButtonHint,
                                      Qt::WindowMinimizeButtonHint, Qt::WindowMaximizeButtonHint})
            QVERIFY(!flags.testFlag(button));
    }
};

QTEST_MAIN(MessagesTest)
#include "test_gui_messages.moc"
