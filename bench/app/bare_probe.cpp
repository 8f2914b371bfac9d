// A bare Qt application: one empty window shown, then the end; the yardstick for the
// program's start-up. Given "caption", the window holds one push button with a caption,
// so the application also pays for loading fonts and the style, as any window with text
// does.

#include <QApplication>
#include <QPushButton>
#include <QWidget>
#include <QWindow>

#include <cstring>

int main(int argc, char** argv) {
    const bool withCaption = argc > 1 && std::strcmp(argv[1], "caption") == 0;
    QApplication application(argc, argv);
    QWidget window;
    if (withCaption)
        new QPushButton(QStringLiteral("OK"), &window);
    window.show();
    for (int round = 0; round < 1000 && !window.windowHandle()->isExposed(); ++round)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::processEvents();
    return 0;
}
