#pragma once

#include "questionnaire/questionnaire_dialog.h"

#include <memory>

namespace Ui {
class TForm10;
}

// Residential-environment dialog "Wohnumfeld": noise impairment (CheckBox1), and the
// link label Label8 that opens the state's noise map in the browser. OK: always answered.
class TForm10 : public msr::questionnaire::QuestionnaireDialog {
    Q_OBJECT

public:
    explicit TForm10(QWidget* parent = nullptr);
    ~TForm10() override;

    void ReadInputs(msr::Answers& answers) const override;

    // The link label: pointing hand while the mouse is over it; the release of any mouse
    // button opens the noise map.
    void Label8MouseEnter(QObject* sender);
    void Label8MouseLeave(QObject* sender);
    void Label8MouseUp(QObject* sender);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void OpenNoiseMap();
    bool HandleLinkEvent(QEvent* event);

    std::unique_ptr<Ui::TForm10> ui_;
};
