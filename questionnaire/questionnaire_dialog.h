#pragma once

#include "evaluation/answers/answers.h"

#include <QDialog>

#include <memory>

class QAbstractButton;

namespace msr::gui {
class StandInFonts;
}

namespace msr::questionnaire {

// What the nine questionnaire dialogs share: a fixed dialog frame without title-bar
// buttons, centred on the screen each time it is shown, and OK as the only way out. No
// button is the default: Enter presses a button only while it has the focus, Esc does
// nothing. Every change of an input is the answer at once; OK commits nothing.
class QuestionnaireDialog : public QDialog {
    Q_OBJECT

public:
    explicit QuestionnaireDialog(QWidget* parent = nullptr);
    ~QuestionnaireDialog() override;

    // Returns every input of the dialog to its start-up value; runs no handler. Unticks
    // every check box and deselects every radio button; a dialog with other inputs adds
    // its own.
    virtual void ClearInputs();

    // Writes the dialog's inputs into their places of the answers.
    virtual void ReadInputs(msr::Answers& answers) const = 0;

    // "OK": the dialog's own check, then it closes, marked answered or not.
    void Button1Click(QObject* sender);
    // "Eingaben löschen", in the dialogs that have it.
    void Button2Click(QObject* sender);

signals:
    // OK found the dialog answered; the main window marks the dialog's button.
    void answered();

protected:
    // Keeps the client size the layout gives, groups the radio buttons by container and
    // binds OK and, where the dialog has it, "Eingaben löschen"; called by each dialog
    // once its layout is built. Until then, every font the layout gives is replaced by
    // its stand-in as it is given.
    void FinishLayout(QAbstractButton* ok, QAbstractButton* clearInputs = nullptr);

    // What OK does. Most dialogs count as answered whatever is chosen; the three required
    // ones check their answer first.
    virtual void Confirm();

    // The two ways OK ends the dialog.
    void CloseAnswered();
    void CloseUnanswered();

    // Refuses the input with the message; once the message has closed the focus is on the
    // control to correct (a text field with its text selected). The input stays as it is.
    void Refuse(const std::string& message, QWidget* concerned);
    // Puts the focus on the control to correct; what refuses the input says why.
    static void FocusToCorrect(QWidget* concerned);

    // The colours under the desktop's theme: the options' indicators stay visible on a
    // dark one. A dialog with coloured text of its own adds its colours.
    virtual void ApplyThemeColours();

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    std::unique_ptr<gui::StandInFonts> standInFonts_;
};

} // namespace msr::questionnaire
