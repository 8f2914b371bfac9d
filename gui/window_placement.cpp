#include "gui/window_placement.h"

#include <QApplication>
#include <QMargins>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace msr::gui {
namespace {

QScreen* ScreenFor(const QWidget* window) {
    if (const QWidget* owner = window->parentWidget())
        return owner->window()->screen();
    if (QScreen* own = window->screen())
        return own;
    return QGuiApplication::primaryScreen();
}

// The frame the window system draws around a window's client area; null until it has
// told.
QMargins FrameOf(const QWidget* window) {
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return {client.left() - frame.left(), client.top() - frame.top(),
            frame.right() - client.right(), frame.bottom() - client.bottom()};
}

// The window's own frame once the window system has drawn it; before that, the frame of
// another shown window of the program, which looks the same.
QMargins ExpectedFrame(const QWidget* window) {
    const QMargins own = FrameOf(window);
    if (!own.isNull())
        return own;
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other == window || !other->isVisible())
            continue;
        const QMargins shown = FrameOf(other);
        if (!shown.isNull())
            return shown;
    }
    return {};
}

// Where the window system has not said yet how high its title bar is, room for one is
// kept all the same.
int UnknownTitleBar(const QWidget* window, const QMargins& frame) {
    return frame.isNull() ? window->style()->pixelMetric(QStyle::PM_TitleBarHeight) : 0;
}

} // namespace

void CentreOnScreen(QWidget* window) {
    const QScreen* screen = ScreenFor(window);
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QMargins frame = ExpectedFrame(window);
    QRect placed({}, window->size().grownBy(frame));
    placed.moveCenter(area.center());
    // The title bar must stay reachable: never above the area, never left of it.
    const int titleBar = UnknownTitleBar(window, frame);
    placed.moveTop(std::max(placed.top(), area.top() + titleBar));
    placed.moveLeft(std::max(placed.left(), area.left()));
    // move() places the frame; before the first showing Qt keeps the position for the
    // frame the window system will draw.
    window->move(placed.topLeft());
}

void FillAvailableArea(QWidget* window) {
    const QScreen* screen = ScreenFor(window);
    if (!screen)
        return;
    const QMargins frame = ExpectedFrame(window);
    const QSize room = screen->availableGeometry().size().shrunkBy(frame);
    window->resize(room.width(), room.height() - UnknownTitleBar(window, frame));
    CentreOnScreen(window);
}

int AvailableClientHeight(const QWidget* window) {
    const QScreen* screen = ScreenFor(window);
    if (!screen)
        return QWIDGETSIZE_MAX;
    const QMargins frame = ExpectedFrame(window);
    return screen->availableGeometry().height() - frame.top() - frame.bottom() -
           UnknownTitleBar(window, frame);
}

void MinimiseWithOwner(QWidget* window) {
    if (QWidget* owner = window->parentWidget())
        owner->window()->showMinimized();
}

void RestoreMinimisedDialogs(QWidget* owner) {
    for (QWidget* child : owner->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow() && child->isVisible() && child->isMinimized()) {
            child->setWindowState(child->windowState() & ~Qt::WindowMinimized);
            child->raise();
            child->activateWindow();
        }
    }
}

} // namespace msr::gui
