#pragma once

#include <QObject>

#include <functional>

class QWidget;
class QWindow;

namespace msr::gui {

// Places a top-level window in the middle of the available area of its screen (the
// screen less its panels): the screen of the window that owns it, else its own. The
// whole window is centred, frame and title bar included, with the frame the window
// system draws around the program's windows. A window larger than that area keeps its
// title bar and left edge on the screen.
void CentreOnScreen(QWidget* window);

// Centres the window each time it is shown, before it appears, and once more as soon as
// the window system has drawn its frame, should that frame differ from the one expected.
// A window that sizes itself to the screen does so each time before it is centred.
void KeepCentred(QWidget* window, std::function<void()> fitToScreen = {});

// What KeepCentred installs on the window.
class CentredWindow : public QObject {
    Q_OBJECT

public:
    CentredWindow(QWidget* window, std::function<void()> fitToScreen);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place();
    void correct();

    QWidget* window_;
    std::function<void()> fitToScreen_;
    QWindow* watchedHandle_ = nullptr;
    // Shown, but the window system has not drawn the frame yet.
    bool placing_ = false;
};

// Sizes a top-level window so that it fills the available area of its screen, frame and
// title bar included, and places it there.
void FillAvailableArea(QWidget* window);

// The height a top-level window's client area may have on its screen: the available area
// less the frame and title bar the window system draws (before it has drawn them, those
// of another shown window, else room for a title bar).
int AvailableClientHeight(const QWidget* window);

// Minimises the program with a window that blocks its owner: the owner's window goes down
// too, so that restoring it brings both back.
void MinimiseWithOwner(QWidget* window);

// Brings back the minimised windows that the window owns.
void RestoreMinimisedDialogs(QWidget* owner);

} // namespace msr::gui
