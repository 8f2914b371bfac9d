#include "sample_reports.h"

#include "report/entry_points.h"
#include "report/preview_window.h"
#include "report/report_window.h"

#include <QApplication>
#include <QMainWindow>
#include <QTimer>
#include <QtTest>

// Closing the main window while a preview is open ends the waiting loop of the
// evaluation command and then the program. (Its own executable: it ends the
// application's event loop.)
class ReportQuitTest : public QObject {
    Q_OBJECT

private slots:
    void closingTheMainWindowEndsWaitingAndProgram() {
        QMainWindow mainWindow;
        mainWindow.show();
        TForm8 form8;
        SetAnswersSource([] { return msr::test::MandatoryAnswers(); });

        bool previewWasOpen = false;
        bool commandReturned = false;
        QPointer<msr::report::PreviewWindow> preview;
        QTimer::singleShot(0, &mainWindow, [&] {
            QTimer::singleShot(0, &mainWindow, [&] {
                preview = form8.openPreview();
                previewWasOpen = preview && preview->isVisible();
                mainWindow.close();
            });
            form8.SpeedButton1Click(nullptr);
            commandReturned = true;
        });
        // Should the loop not end, the test fails instead of hanging.
        QTimer::singleShot(20000, qApp, [] { QCoreApplication::exit(1); });

        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(previewWasOpen);
        QVERIFY(commandReturned);
        QVERIFY(!preview || !preview->isVisible());
    }
};

QTEST_MAIN(ReportQuitTest)
#include "test_report_quit.moc"
