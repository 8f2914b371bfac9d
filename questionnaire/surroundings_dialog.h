#pragma once

#include "questionnaire/questionnaire_dialog.h"
#include "ui_surroundings_dialog.h"

// Residential-environment dialog "Wohnumfeld": noise impairment (CheckBox1), and the
// link label Label8 that opens the state's noise map in the browser.
class TForm10 : public msr::questionnaire::QuestionnaireDialog, public Ui::TForm10 {
    Q_OBJECT

public:
    explicit TForm10(QWidget* parent = nullptr);

    void ClearInputs() override;

    // OK: always answered.
    void Button1Click(QObject* sender);
    // The link label: pointing hand while the mouse is over it; the release of any mouse
    // button opens the noise map.
    void Label8MouseEnter(QObject* sender);
    void Label8MouseLeave(QObject* sender);
    void Label8MouseUp(QObject* sender);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OpenNoiseMap();
    bool HandleLinkEvent(QEvent* event);
};
