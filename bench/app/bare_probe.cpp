// A bare Qt application: one empty window shown, then the end; the yardstick for the
// program's start-up. Given "caption", the window holds one push button with a caption,
// drawn with a font by the style, as any window with text is.

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
    // Painted now, not at the next frame, which a process that ends would never see.
    window.repaint();
    return 0;
}
