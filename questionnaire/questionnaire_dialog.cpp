#include "questionnaire/questionnaire_dialog.h"

#include "gui/window_look.h"
#include "questionnaire/radio_group.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>

namespace msr::questionnaire {

QuestionnaireDialog::QuestionnaireDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      standInFonts_(std::make_unique<gui::StandInFonts>(this)) {}

QuestionnaireDialog::~QuestionnaireDialog() = default;

void QuestionnaireDialog::FinishLayout() {
    standInFonts_.reset();
    setFixedSize(size());
    GroupRadioButtonsByContainer(this);
}

void QuestionnaireDialog::CloseAnswered() {
    emit answered();
    accept();
}

void QuestionnaireDialog::CloseUnanswered() {
    accept();
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
    // The frame offers no close box; a close asked for by the window system is refused
    // too, so OK stays the only way out. Closing by OK does not come through here.
    event->ignore();
}

void QuestionnaireDialog::showEvent(QShowEvent* event) {
    gui::CentreOnScreen(this);
    QDialog::showEvent(event);
}

} // namespace msr::questionnaire
