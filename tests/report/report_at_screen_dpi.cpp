// Builds the evaluation of the mandatory answers in the report window, as "Auswerten"
// does, and writes its pages to the PDF file named by the argument. Run by the test of
// scaled screens with the screen setting under test (QT_FONT_DPI).
#include "sample_reports.h"

#include "report/entry_points.h"
#include "report/report_output.h"
#include "report/report_window.h"

#include <QApplication>

#include <exception>
#include <iostream>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc != 2)
        return 2;
    try {
        TForm8 reportWindow;
        SetAnswersSource([] { return msr::test::MandatoryAnswers(); });
        reportWindow.document().clear();
        BuildEvaluationReport();
        msr::report::WriteReportPdf(reportWindow.document(), QString::fromLocal8Bit(argv[1]));
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
