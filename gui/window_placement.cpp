#include "gui/window_placement.h"

#include "gui/messages.h"

#include <QApplication>
#include <QMargins>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <optional>
#include <utility>

namespace msr::gui {
namespace {

QScreen* ScreenFor(const QWidget* window) {
    if (const QWidget* owner = window->parentWidget())
        return owner->window()->screen();
    if (QScreen* own = window->screen())
        return own;
    return QGuiApplication::primaryScreen();
}

// A frame as window systems draw them: nothing negative, a border of a few pixels, a
// title bar of some dozens. What a window system reports for a window it is still
// withdrawing or has not framed yet can be anything.
bool IsPlausibleFrame(const QMargins& frame) {
    constexpr int kMostBorder = 64;
    constexpr int kMostTitleBar = 160;
    return frame.left() >= 0 && frame.right() >= 0 && frame.top() >= 0 && frame.bottom() >= 0 &&
           frame.left() <= kMostBorder && frame.right() <= kMostBorder &&
           frame.bottom() <= kMostBorder && frame.top() <= kMostTitleBar;
}

// The frame the window system draws around the window while the window is on the screen
// (exposed, so framed already); nothing before, nothing after.
std::optional<QMargins> ShownFrameOf(const QWidget* window) {
    const QWindow* handle = window->windowHandle();
    if (!window->isVisible() || !handle || !handle->isExposed())
        return std::nullopt;
    const QMargins frame = handle->frameMargins();
    if (!IsPlausibleFrame(frame))
        return std::nullopt;
    return frame;
}

// The frame last seen around a window of the program. The window system draws the same
// frame around each of them, so it is the best guess for a window about to be shown.
std::optional<QMargins>& LastFrameSeen() {
    static std::optional<QMargins> frame;
    return frame;
}

// The frame the window will have on the screen: its own while it is shown, else the one
// last seen around a shown window of the program; before any was seen, room for a title
// bar.
QMargins ExpectedFrame(const QWidget* window) {
    if (const auto own = ShownFrameOf(window)) {
        LastFrameSeen() = own;
        return *own;
    }
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other == window)
            continue;
        if (const auto shown = ShownFrameOf(other)) {
            LastFrameSeen() = shown;
            break;
        }
    }
    if (LastFrameSeen())
        return *LastFrameSeen();
    return {0, window->style()->pixelMetric(QStyle::PM_TitleBarHeight), 0, 0};
}

// The client area of a window whose frame stands centred in the area, never beyond its
// left or top edge: a window larger than the area keeps its title bar on the screen.
QRect CentredClientArea(const QRect& area, const QSize& client, const QMargins& frame) {
    QRect placed({}, client.grownBy(frame));
    placed.moveCenter(area.center());
    placed.moveTop(std::max(placed.top(), area.top()));
    placed.moveLeft(std::max(placed.left(), area.left()));
    return placed.marginsRemoved(frame);
}

} // namespace

void CentreOnScreen(QWidget* window) {
    const QScreen* screen = ScreenFor(window);
    if (!screen)
        return;
    // The client area itself is placed, not the frame: what a position means for a frame
    // the window system has not drawn yet (or is taking down) is Qt's guess, and that
    // guess is at times the client area and at times a frame of no size.
    window->setGeometry(
        CentredClientArea(screen->availableGeometry(), window->size(), ExpectedFrame(window)));
}

void KeepCentred(QWidget* window, std::function<void()> fitToScreen) {
    new CentredWindow(window, std::move(fitToScreen));
}

CentredWindow::CentredWindow(QWidget* window, std::function<void()> fitToScreen)
    : QObject(window), window_(window), fitToScreen_(std::move(fitToScreen)) {
    window->installEventFilter(this);
}

bool CentredWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::Show && !event->spontaneous()) {
        // Placed before the window system maps it, so it appears where it belongs.
        Guarded(window_, [this] { place(); });
    } else if (watched == window_->windowHandle() && event->type() == QEvent::Expose && placing_) {
        // Now the frame is drawn. Placed with a frame that was guessed, the window moves
        // once to where its own frame puts it.
        Guarded(window_, [this] { correct(); });
    }
    return false;
}

void CentredWindow::place() {
    if (QWindow* handle = window_->windowHandle(); handle && handle != watchedHandle_) {
        handle->installEventFilter(this);
        watchedHandle_ = handle;
    }
    if (fitToScreen_)
        fitToScreen_();
    CentreOnScreen(window_);
    placing_ = true;
}

void CentredWindow::correct() {
    const auto frame = ShownFrameOf(window_);
    if (!frame)
        return;
    placing_ = false;
    LastFrameSeen() = frame;
    if (fitToScreen_)
        fitToScreen_();
    const QScreen* screen = ScreenFor(window_);
    if (!screen)
        return;
    const QRect client = CentredClientArea(screen->availableGeometry(), window_->size(), *frame);
    if (window_->geometry() != client)
        window_->setGeometry(client);
}

void FillAvailableArea(QWidget* window) {
    const QScreen* screen = ScreenFor(window);
    if (!screen)
        return;
    const QSize room = screen->availableGeometry().size().shrunkBy(ExpectedFrame(window));
    window->resize(room);
    CentreOnScreen(window);
}

int AvailableClientHeight(const QWidget* window) {
    const QScreen* screen = ScreenFor(window);
    if (!screen)
        return QWIDGETSIZE_MAX;
    const QMargins frame = ExpectedFrame(window);
    return screen->availableGeometry().height() - frame.top() - frame.bottom();
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
