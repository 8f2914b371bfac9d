#include "questionnaire/size_box.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QWheelEvent>

namespace msr::questionnaire {
namespace {

bool IsStepKey(const QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    switch (static_cast<const QKeyEvent*>(event)->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}

} // namespace

SizeBoxStepping::SizeBoxStepping(QComboBox* box) : QObject(box), box_(box) {
    // Tab and click give the focus, the wheel does not.
    box->setFocusPolicy(Qt::StrongFocus);
    box->installEventFilter(this);
}

bool SizeBoxStepping::eventFilter(QObject* watched, QEvent* event) {
    if (watched != box_)
        return false;
    if (event->type() == QEvent::Wheel) {
        if (!box_->hasFocus()) {
            event->ignore();
            return true;
        }
        StepFromTypedNumber();
    } else if (IsStepKey(event)) {
        StepFromTypedNumber();
    }
    return false;
}

// Typing leaves the list's selection where it was; the typed number becomes the entry
// that the step starts from.
void SizeBoxStepping::StepFromTypedNumber() {
    const int typed = box_->findText(box_->currentText(), Qt::MatchExactly);
    if (typed >= 0 && typed != box_->currentIndex())
        box_->setCurrentIndex(typed);
}

} // namespace msr::questionnaire
