#include "gui/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QWidget>

namespace msr::gui {
namespace {

// Which of the interfaces below a widget gets: a property set on the widget, read by the
// one factory the program installs.
constexpr char kAnnounced[] = "msrAnnouncedAs";
const QString kLink = QStringLiteral("link");
const QString kModal = QStringLiteral("modal");

class LinkInterface : public QAccessibleWidget {
public:
    explicit LinkInterface(QWidget* label) : QAccessibleWidget(label, QAccessible::Link) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            if (const auto* label = qobject_cast<const QLabel*>(widget()))
                return label->text();
        return QAccessibleWidget::text(kind);
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action != pressAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        // What a click does: the release of the mouse button over the label.
        const QPointF centre = QRectF(widget()->rect()).center();
        QMouseEvent release(QEvent::MouseButtonRelease, centre, widget()->mapToGlobal(centre),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(widget(), &release);
    }
};

class ModalDialogInterface : public QAccessibleWidget {
public:
    explicit ModalDialogInterface(QWidget* dialog)
        : QAccessibleWidget(dialog, QAccessible::Dialog) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.modal = widget()->isModal() || widget()->windowModality() != Qt::NonModal;
        return state;
    }
};

QAccessibleInterface* Interface(const QString& /*className*/, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    const QString announced = widget->property(kAnnounced).toString();
    if (announced == kLink)
        return new LinkInterface(widget);
    if (announced == kModal)
        return new ModalDialogInterface(widget);
    return nullptr;
}

// Before the widget is first asked about (setting its name or text does): interfaces are
// made once per widget and kept.
void Announce(QWidget* widget, const QString& as) {
    static const bool installed = [] {
        QAccessible::installFactory(Interface);
        return true;
    }();
    (void)installed;
    widget->setProperty(kAnnounced, as);
}

} // namespace

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent) {
    Announce(this, kLink);
}

void AnnounceModality(QDialog* dialog) {
    Announce(dialog, kModal);
}

} // namespace msr::gui
