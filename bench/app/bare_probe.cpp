// A bare Qt application: one empty window shown, then the end; the yardstick for the
// program's start-up. Given "caption", the window holds one push button with a caption,
// drawn with a font by the style, as any window with text is.

#include "first_frame.h"

#include <QApplication>
#include <QPushButton>
#include <QWidget>

#include <cstring>

int main(int argc, char** argv) {
    const bool withCaption = argc > 1 && std::strcmp(argv[1], "caption") == 0;
    QApplication application(argc, argv);
    QWidget window;
    if (withCaption)
        new QPushButton(QStringLiteral("OK"), &window);
    msr::bench::ShowUntilFirstFrame(&window);
    msr::bench::ReportFirstFrame();
    return 0;
}
