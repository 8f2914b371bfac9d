#include "questionnaire/size_box.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

#include <utility>

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

PlaceholderSelection::PlaceholderSelection(QComboBox* box, QString placeholder)
    : QObject(box), box_(box), edit_(box->lineEdit()), placeholder_(std::move(placeholder)) {
    box->installEventFilter(this);
    edit_->installEventFilter(this);
}

bool PlaceholderSelection::ShowsPlaceholder() const {
    return box_->currentText() == placeholder_;
}

bool PlaceholderSelection::eventFilter(QObject* watched, QEvent* event) {
    if (watched == box_ && event->type() == QEvent::FocusIn && ShowsPlaceholder()) {
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason)
            focusedByClick_ = true;
        else
            box_->lineEdit()->selectAll();
    } else if (watched == edit_ && event->type() == QEvent::MouseButtonRelease && focusedByClick_) {
        focusedByClick_ = false;
        if (ShowsPlaceholder()) {
            // After the release's own handling, which may still move the cursor.
            box_->lineEdit()->event(event);
            box_->lineEdit()->selectAll();
            return true;
        }
    } else if (watched == box_ && event->type() == QEvent::FocusOut) {
        focusedByClick_ = false;
    }
    return false;
}

} // namespace msr::questionnaire
