#include "questionnaire/questionnaire_dialog.h"

#include "gui/accessibility.h"
#include "gui/handlers.h"
#include "gui/messages.h"
#include "gui/window_look.h"
#include "gui/window_placement.h"
#include "questionnaire/continuation_lines.h"
#include "questionnaire/radio_group.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace msr::questionnaire {

QuestionnaireDialog::QuestionnaireDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      standInFonts_(std::make_unique<gui::StandInFonts>(this)) {
    gui::KeepCentred(this);
    gui::AnnounceModality(this);
}

QuestionnaireDialog::~QuestionnaireDialog() = default;

void QuestionnaireDialog::FinishLayout(QAbstractButton* ok, QAbstractButton* clearInputs) {
    standInFonts_.reset();
    setFixedSize(size());
    GroupRadioButtonsByContainer(this);
    FinishContinuationLines(this);
    gui::OnClick(ok, this, &QuestionnaireDialog::Button1Click);
    if (clearInputs)
        gui::OnClick(clearInputs, this, &QuestionnaireDialog::Button2Click);
}

void QuestionnaireDialog::ClearInputs() {
    for (QCheckBox* box : findChildren<QCheckBox*>())
        box->setChecked(false);
    for (QRadioButton* button : findChildren<QRadioButton*>())
        Deselect(button);
}

void QuestionnaireDialog::Button1Click(QObject*) {
    gui::Guarded(this, [this] { Confirm(); });
}

void QuestionnaireDialog::Button2Click(QObject*) {
    gui::Guarded(this, [this] { ClearInputs(); });
}

void QuestionnaireDialog::Confirm() {
    CloseAnswered();
}

void QuestionnaireDialog::CloseAnswered() {
    emit answered();
    accept();
}

void QuestionnaireDialog::CloseUnanswered() {
    accept();
}

void QuestionnaireDialog::Refuse(const std::string& message, QWidget* concerned) {
    FocusToCorrect(concerned);
    gui::Messages::refuse(QString::fromStdString(message), this);
}

// The focus is set while the dialog is still the active window: the message takes it
// away, and closing the message gives it back to the dialog, to this control.
void QuestionnaireDialog::FocusToCorrect(QWidget* concerned) {
    if (auto* box = qobject_cast<QComboBox*>(concerned); box && box->lineEdit())
        box->lineEdit()->selectAll();
    concerned->setFocus(Qt::OtherFocusReason);
}

void QuestionnaireDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        // There is no cancel button.
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // No button is the default, so Enter only presses the button that has the focus.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()))
            button->click();
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void QuestionnaireDialog::closeEvent(QCloseEvent* event) {
    // The frame asks for no close box. A window manager that shows one all the same
    // (openbox does) gets what OK does: the dialog's own check, then it closes, marked
    // answered or not. OK stays the only way out; closing by OK does not come through here.
    event->ignore();
    Button1Click(this);
}

void QuestionnaireDialog::ApplyThemeColours() {
    gui::KeepIndicatorsVisible(this);
}

void QuestionnaireDialog::showEvent(QShowEvent* event) {
    gui::Guarded(this, [this] { ApplyThemeColours(); });
    QDialog::showEvent(event);
}

void QuestionnaireDialog::changeEvent(QEvent* event) {
    // The dialog blocks the main window while it is open. Minimised on its own it would
    // leave a main window that ignores every click and nothing to restore, so the whole
    // program goes down with it; restoring the main window brings the dialog back.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && isVisible())
        gui::MinimiseWithOwner(this);
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ApplicationPaletteChange)
        gui::Guarded(this, [this] { ApplyThemeColours(); });
}

} // namespace msr::questionnaire
