#include "gui/window_look.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace msr::gui {
namespace {

const QString kBitmapFace = QStringLiteral("MS Sans Serif");
const QString kStandInFace = QStringLiteral("Liberation Sans");

// The bitmap face's nearest size at or below the request; 9 points shows as 8 points.
double BitmapPointSize(double requested) {
    double chosen = 8;
    for (double available : {8.0, 10.0, 12.0, 14.0, 18.0, 24.0})
        if (available <= requested)
            chosen = available;
    return chosen;
}

// Liberation Sans at 15/16 of the bitmap face's size has about its average character width.
QFont StandInFor(const QFont& font) {
    QFont standIn = font;
    standIn.setFamilies({kStandInFace});
    standIn.setPointSizeF(BitmapPointSize(font.pointSizeF()) * 15 / 16);
    return standIn;
}

bool UsesBitmapFace(const QWidget* widget) {
    return widget->font().family() == kBitmapFace;
}

// Asks the platform's list of faces once. Font matching would never fail, it falls back,
// and would load a whole font only to tell.
bool PlatformHasBitmapFace() {
    static const bool has = QFontDatabase::families().contains(kBitmapFace);
    return has;
}

} // namespace

void PrepareStandInFonts() {
    // Font matching then goes straight to the stand-in instead of searching the
    // platform's fallbacks; a platform that has the face keeps using it.
    QFont::insertSubstitution(kBitmapFace, kStandInFace);
}

void UseStandInFonts(QWidget* window) {
    if (PlatformHasBitmapFace())
        return;
    // Only the window and the controls the layout gives a font of their own need one;
    // the others inherit it. Every font is worked out before any is replaced, so a
    // control still sees the face it inherits from its container.
    QList<QWidget*> widgets{window};
    for (QWidget* widget : window->findChildren<QWidget*>())
        if (widget->testAttribute(Qt::WA_SetFont) && UsesBitmapFace(widget))
            widgets.append(widget);
    QList<QFont> fonts;
    for (const QWidget* widget : widgets)
        fonts.append(StandInFor(widget->font()));
    // Innermost first: a container's new font then finds its controls already settled.
    for (qsizetype i = widgets.size() - 1; i >= 0; --i)
        widgets[i]->setFont(fonts[i]);
}

void CentreOnScreen(QWidget* window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // The client area is placed; move() would place the frame, whose size the window
    // system tells only once the window is shown.
    QRect placed = window->geometry();
    placed.moveCenter(screen->geometry().center());
    window->setGeometry(placed);
}

} // namespace msr::gui
