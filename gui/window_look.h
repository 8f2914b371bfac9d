#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QObject>

class QLabel;
class QWidget;

namespace msr::gui {

// The windows are laid out for "MS Sans Serif", a bitmap face with 8, 10, 12, 14, 18 and
// 24 point sizes only. Where the platform lacks it, its text is drawn in "Liberation Sans"
// at the width the bitmap face had, so every caption fits the place the layout gives it.
//
// While it lives, each font the window's layout gives in "MS Sans Serif" is replaced by
// its stand-in the moment it is given, before any control has measured its text with it.
// Create it before the layout is built and let it go once the layout stands.
class StandInFonts : public QObject {
    Q_OBJECT

public:
    explicit StandInFonts(QWidget* window);
    ~StandInFonts() override;
    StandInFonts(const StandInFonts&) = delete;
    StandInFonts& operator=(const StandInFonts&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool replace(QWidget* control);
    QFont laidOutFont(const QWidget* control) const;
    QFont laidOutFontOf(const QWidget* control) const;

    QWidget* window_;
    // The fonts as the layout gives them, of the window and of each control given one.
    QHash<const QWidget*, QFont> laidOut_;
    bool replacing_ = false;
};

// Lets font matching take the stand-in for "MS Sans Serif" from the start; call once
// before the first window is built. Saves searching the platform's fallbacks.
void PrepareStandInFonts();

// Where the platform lacks the label's face, writes its caption in the stand-in face at
// the largest size (at most the laid-out one) at which it fits the width the layout
// gives it, as it does in its own face.
void FitCaptionInStandIn(QLabel* label, const QString& standInFace, int width);

// The contrast of two colours as the accessibility guidelines measure it, from 1 (none)
// to 21 (black on white).
double ContrastRatio(const QColor& first, const QColor& second);

// Text clearly readable on a background: the colour itself where its contrast is at
// least 4.5, else the nearest shade of the same hue that reaches it (lighter on a dark
// background, darker on a light one).
QColor ReadableOn(const QColor& colour, const QColor& background);

// A colour the layout gives text, as the theme's background asks: itself on a light
// background, where it is as laid out; on a dark one the nearest shade that reads.
QColor LaidOutColourOn(const QColor& colour, const QColor& background);

// The empty indicators of the window's check boxes and radio buttons stand out from the
// window under a dark theme too (the theme draws them dark on dark): their face is
// lightened until it does, and their tick darkened to read on it. Under a light theme
// they are the theme's own.
void KeepIndicatorsVisible(QWidget* window);

} // namespace msr::gui
