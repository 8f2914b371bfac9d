#pragma once

class QWidget;

namespace msr::gui {

// The windows are laid out for "MS Sans Serif", a bitmap face with 8, 10, 12, 14, 18 and
// 24 point sizes only. Where the platform lacks it, its text is drawn in "Liberation Sans"
// at the width the bitmap face had, so every caption fits the place the layout gives it.
// Call once after the window's layout is built.
void UseStandInFonts(QWidget* window);

// Lets font matching take the stand-in for "MS Sans Serif" from the start; call once
// before the first window is built. Saves searching the platform's fallbacks.
void PrepareStandInFonts();

// Moves a top-level window so that its client area sits in the middle of the primary screen.
void CentreOnScreen(QWidget* window);

} // namespace msr::gui
