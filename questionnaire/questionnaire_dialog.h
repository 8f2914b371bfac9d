#pragma once

#include <QDialog>

namespace msr::questionnaire {

// What the nine questionnaire dialogs share: a fixed dialog frame without title-bar
// buttons, centred on the screen each time it is shown, and OK as the only way out. No
// button is the default: Enter presses a button only while it has the focus, Esc does
// nothing. Every change of an input is the answer at once; OK commits nothing.
class QuestionnaireDialog : public QDialog {
    Q_OBJECT

public:
    explicit QuestionnaireDialog(QWidget* parent = nullptr);

    // Returns every input of the dialog to its start-up value; runs no handler.
    virtual void ClearInputs() = 0;

signals:
    // OK found the dialog answered; the main window marks the dialog's button.
    void answered();

protected:
    // Keeps the client size the layout gives, puts in the stand-in fonts and groups the
    // radio buttons by container; called by each dialog once its layout is built.
    void FinishLayout();

    // The two ways OK ends the dialog.
    void CloseAnswered();
    void CloseUnanswered();

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
};

} // namespace msr::questionnaire
