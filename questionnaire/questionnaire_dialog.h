#pragma once

#include <QDialog>

#include <memory>

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

    // Returns every input of the dialog to its start-up value; runs no handler.
    virtual void ClearInputs() = 0;

signals:
    // OK found the dialog answered; the main window marks the dialog's button.
    void answered();

protected:
    // Keeps the client size the layout gives and groups the radio buttons by container;
    // called by each dialog once its layout is built. Until then, every font the layout
    // gives is replaced by its stand-in as it is given.
    void FinishLayout();

    // The two ways OK ends the dialog.
    void CloseAnswered();
    void CloseUnanswered();

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<gui::StandInFonts> standInFonts_;
};

} // namespace msr::questionnaire
