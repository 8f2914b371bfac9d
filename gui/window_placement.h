#pragma once

class QWidget;

namespace msr::gui {

// Places a top-level window in the middle of the available area of its screen (the
// screen less its panels): the screen of the window that owns it, else its own. A window
// larger than that area keeps its title bar and left edge on the screen.
void CentreOnScreen(QWidget* window);

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
