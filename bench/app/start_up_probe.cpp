// The program's start-up, then the end: the application title, all twelve windows created,
// the main window shown and painted. The benchmark runs it as a process of its own.

#include "app/startup.h"
#include "app/tform1.h"
#include "gui/forms.h"

#include <QApplication>
#include <QWindow>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    msr::app::PrepareApplication(application);
    msr::app::CreateWindows();
    Form1->show();
    for (int round = 0; round < 1000 && !Form1->windowHandle()->isExposed(); ++round)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    // Painted now, not at the next frame, which a process that ends would never see.
    Form1->repaint();
    msr::app::DestroyWindows();
    return 0;
}
