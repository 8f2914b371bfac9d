#include "gui/window_look.h"

#include "gui/messages.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLabel>
#include <QRadioButton>
#include <QScopeGuard>
#include <QWidget>

#include <algorithm>
#include <cmath>

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

StandInFonts::StandInFonts(QWidget* window) : window_(window) {
    if (!PlatformHasBitmapFace())
        QCoreApplication::instance()->installEventFilter(this);
}

StandInFonts::~StandInFonts() {
    QCoreApplication::instance()->removeEventFilter(this);
}

bool StandInFonts::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::FontChange || replacing_ || !watched->isWidgetType())
        return false;
    auto* control = static_cast<QWidget*>(watched);
    // Only the window and the controls the layout gives a font of their own; the others
    // inherit theirs.
    if (!control->testAttribute(Qt::WA_SetFont) ||
        (control != window_ && !window_->isAncestorOf(control)))
        return false;
    bool replaced = false;
    Guarded([this, control, &replaced] { replaced = replace(control); });
    // The control has had its final font announced already; the one it was given is gone.
    return replaced;
}

bool StandInFonts::replace(QWidget* control) {
    const QFont laidOut = laidOutFont(control);
    laidOut_.insert(control, laidOut);
    if (laidOut.family() != kBitmapFace)
        return false;
    replacing_ = true;
    const auto done = qScopeGuard([this] { replacing_ = false; });
    control->setFont(StandInFor(laidOut));
    return true;
}

// The font the layout gives a control that has just been given one: what the control
// asks for itself over what its container was laid out with. The container holds its
// stand-in already, so whatever the control shares with it, face or size, it inherits.
QFont StandInFonts::laidOutFont(const QWidget* control) const {
    QFont font = control->font();
    if (control->isWindow() || !control->parentWidget())
        return font;
    const QWidget* container = control->parentWidget();
    const QFont inherited = container->font();
    const QFont containerLaidOut = laidOutFontOf(container);
    if (font.families() == inherited.families())
        font.setFamilies(containerLaidOut.families());
    if (font.pointSizeF() > 0 && font.pointSizeF() == inherited.pointSizeF())
        font.setPointSizeF(containerLaidOut.pointSizeF());
    return font;
}

// A control without a font of its own has its container's, as laid out.
QFont StandInFonts::laidOutFontOf(const QWidget* control) const {
    for (const QWidget* widget = control; widget;
         widget = widget->isWindow() ? nullptr : widget->parentWidget()) {
        const auto found = laidOut_.constFind(widget);
        if (found != laidOut_.cend())
            return *found;
    }
    return control->font();
}

void FitCaptionInStandIn(QLabel* label, const QString& standInFace, int width) {
    QFont font = label->font();
    if (QFontDatabase::families().contains(font.family()))
        return;
    font.setFamilies({standInFace});
    // Quarter points down from the laid-out size; the face's own size is the ceiling.
    while (font.pointSizeF() > 1 && QFontMetricsF(font).horizontalAdvance(label->text()) > width)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    label->setFont(font);
}

namespace {

double RelativeLuminance(const QColor& colour) {
    const auto linear = [](double channel) {
        return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

} // namespace

double ContrastRatio(const QColor& first, const QColor& second) {
    const double a = RelativeLuminance(first);
    const double b = RelativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor ReadableOn(const QColor& colour, const QColor& background) {
    constexpr double kReadable = 4.5;
    if (ContrastRatio(colour, background) >= kReadable)
        return colour;
    const QColor towards = RelativeLuminance(background) < 0.18 ? Qt::white : Qt::black;
    // Mixes in white or black step by step; the first shade that reads is the nearest.
    for (int percent = 5; percent <= 100; percent += 5) {
        const double t = percent / 100.0;
        const QColor mixed = QColor::fromRgbF(
            static_cast<float>(colour.redF() + (towards.redF() - colour.redF()) * t),
            static_cast<float>(colour.greenF() + (towards.greenF() - colour.greenF()) * t),
            static_cast<float>(colour.blueF() + (towards.blueF() - colour.blueF()) * t));
        if (ContrastRatio(mixed, background) >= kReadable)
            return mixed;
    }
    return towards;
}

namespace {

bool IsDark(const QColor& background) {
    return RelativeLuminance(background) < 0.18;
}

QColor Mixed(const QColor& from, const QColor& towards, double t) {
    return QColor::fromRgbF(
        static_cast<float>(from.redF() + (towards.redF() - from.redF()) * t),
        static_cast<float>(from.greenF() + (towards.greenF() - from.greenF()) * t),
        static_cast<float>(from.blueF() + (towards.blueF() - from.blueF()) * t));
}

// A face for the indicators with the contrast that controls need against their
// background (3 : 1), in the background's own hue.
QColor IndicatorFace(const QColor& background) {
    constexpr double kVisible = 3.0;
    for (int percent = 5; percent <= 100; percent += 5) {
        const QColor face = Mixed(background, Qt::white, percent / 100.0);
        if (ContrastRatio(face, background) >= kVisible)
            return face;
    }
    return Qt::white;
}

} // namespace

QColor LaidOutColourOn(const QColor& colour, const QColor& background) {
    return IsDark(background) ? ReadableOn(colour, background) : colour;
}

void KeepIndicatorsVisible(QWidget* window) {
    const QPalette themed = QApplication::palette(window);
    const QColor background = themed.color(QPalette::Window);
    const bool dark = IsDark(background);
    QPalette lightened = themed;
    if (dark) {
        const QColor face = IndicatorFace(background);
        lightened.setColor(QPalette::Base, face);
        lightened.setColor(QPalette::Text, ReadableOn(themed.color(QPalette::Text), face));
    }
    for (QWidget* option : window->findChildren<QWidget*>()) {
        if (!qobject_cast<QCheckBox*>(option) && !qobject_cast<QRadioButton*>(option))
            continue;
        // An empty palette gives the control back the theme's colours.
        option->setPalette(dark ? lightened : QPalette());
    }
}

} // namespace msr::gui
