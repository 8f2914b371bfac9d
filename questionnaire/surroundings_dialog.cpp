#include "questionnaire/surroundings_dialog.h"

#include "gui/handlers.h"
#include "gui/messages.h"
#include "questionnaire/web_address.h"
#include "ui_surroundings_dialog.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QUrl>

using msr::gui::Guarded;

namespace {

// The pointer is set for the whole application, as a setting and not a stack: entering
// twice still needs only one leave.
void ShowApplicationPointer(Qt::CursorShape shape) {
    if (QGuiApplication::overrideCursor())
        QGuiApplication::changeOverrideCursor(shape);
    else
        QGuiApplication::setOverrideCursor(shape);
}

void ShowDefaultApplicationPointer() {
    if (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

bool IsActivationKey(const QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

TForm10::TForm10(QWidget* parent)
    : QuestionnaireDialog(parent), ui_(std::make_unique<Ui::TForm10>()) {
    ui_->setupUi(this);
    FinishLayout(ui_->Button1);
    ui_->Label8->installEventFilter(this);
}

TForm10::~TForm10() = default;

void TForm10::ReadInputs(msr::Answers& answers) const {
    answers.NoiseImpairment = ui_->CheckBox1->isChecked();
}

void TForm10::Label8MouseEnter(QObject*) {
    Guarded(this, [] { ShowApplicationPointer(Qt::PointingHandCursor); });
}

void TForm10::Label8MouseLeave(QObject*) {
    Guarded(this, [] { ShowDefaultApplicationPointer(); });
}

void TForm10::Label8MouseUp(QObject*) {
    Guarded(this, [this] { OpenNoiseMap(); });
}

bool TForm10::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->Label8 && HandleLinkEvent(event))
        return true;
    return QuestionnaireDialog::eventFilter(watched, event);
}

bool TForm10::HandleLinkEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::Enter:
        Label8MouseEnter(ui_->Label8);
        return false;
    case QEvent::Leave:
        Label8MouseLeave(ui_->Label8);
        return false;
    case QEvent::MouseButtonRelease:
        Label8MouseUp(ui_->Label8);
        return true;
    default:
        break;
    }
    // Keyboard users reach the label by Tab and open the map with Space or Enter.
    if (IsActivationKey(event)) {
        Guarded(this, [this] { OpenNoiseMap(); });
        return true;
    }
    return false;
}

void TForm10::hideEvent(QHideEvent* event) {
    // Closed by keyboard while the pointer rests on the link, the label never sees the
    // pointer leave.
    Label8MouseLeave(ui_->Label8);
    QuestionnaireDialog::hideEvent(event);
}

void TForm10::OpenNoiseMap() {
    // The label shows the host alone; the desktop's opener needs a scheme.
    msr::questionnaire::OpenWebAddress(QUrl(QStringLiteral("https://") + ui_->Label8->text()));
}
