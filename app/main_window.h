#pragma once

#include <QList>
#include <QMainWindow>

#include <memory>

class QScrollArea;

namespace Ui {
class TForm1;
}

namespace msr::app {
class PictureButton;
}

// The main window: one picture button per questionnaire dialog, each showing whether its
// dialog has been answered, "Auswerten", "Werte zurücksetzen", and the menu.
class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Lets each questionnaire dialog's OK mark its button; once every window exists.
    void ConnectQuestionnaire();

    void Beenden1Click(QObject* sender);
    void Info1Click(QObject* sender);
    // The questionnaire buttons: each shows its dialog modally.
    void SpeedButton11Click(QObject* sender);
    void SpeedButton8Click(QObject* sender);
    void SpeedButton2Click(QObject* sender);
    void SpeedButton1Click(QObject* sender);
    void SpeedButton3Click(QObject* sender);
    void SpeedButton4Click(QObject* sender);
    void SpeedButton5Click(QObject* sender);
    void SpeedButton9Click(QObject* sender);
    void SpeedButton10Click(QObject* sender);
    // "Auswerten".
    void Button1Click(QObject* sender);
    // "Werte zurücksetzen".
    void Button2Click(QObject* sender);

    // A questionnaire button's AnsweredFlag is its Tag; it changes only together with the
    // button's picture, copied from the hidden SpeedButton6 (tick) or SpeedButton7
    // (question mark).
    void MarkAnswered(msr::app::PictureButton* button);
    void MarkOpen(msr::app::PictureButton* button);

    // The nine questionnaire buttons, top to bottom.
    QList<msr::app::PictureButton*> QuestionnaireButtons() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BindHandlers();
    void OpenQuestionnaire(const msr::app::PictureButton* button);
    void Evaluate(QObject* sender);
    void ResetAllInputs();
    void FitIntoScreen();

    std::unique_ptr<Ui::TForm1> ui_;
    // Holds the client area below the menu while it is higher than the screen allows.
    QScrollArea* scrollArea_ = nullptr;
    bool screenWatched_ = false;
};
