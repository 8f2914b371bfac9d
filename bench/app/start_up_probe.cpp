// The program's start-up, then the end: the application title, all twelve windows created,
// the main window shown and painted. The benchmark runs it as a process of its own.

#include "first_frame.h"

#include "app/main_window.h"
#include "app/startup.h"
#include "gui/forms.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    msr::app::PrepareApplication(application);
    msr::app::CreateWindows();
    msr::bench::ShowUntilFirstFrame(Form1);
    msr::bench::ReportFirstFrame();
    msr::app::DestroyWindows();
    return 0;
}
