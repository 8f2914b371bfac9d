// Shows the preview of a report for the given number of seconds, then ends. Run by the
// accessibility test, which reads the preview through the desktop's accessibility bus.
#include "sample_reports.h"

#include "report/preview_window.h"
#include "report/report_pages.h"

#include <QApplication>
#include <QTimer>

#include <memory>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vorschau-test"));
    const int seconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 30;
    msr::report::PreviewWindow preview(std::make_shared<const msr::report::ReportPages>(
        msr::test::EvaluatedDocument(msr::test::MandatoryAnswers())));
    preview.show();
    QTimer::singleShot(seconds * 1000, &application, &QCoreApplication::quit);
    return application.exec();
}
