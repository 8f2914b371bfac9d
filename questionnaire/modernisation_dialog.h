#pragma once

#include "questionnaire/questionnaire_dialog.h"

#include <memory>

namespace Ui {
class TForm5;
}

// Modernisation dialog "Modernisierungsmaßnahmen": the insulation period (RadioButton1..3),
// renewed heating (CheckBox1) and renewed bathroom (CheckBox2). OK: always answered.
class TForm5 : public msr::questionnaire::QuestionnaireDialog {
    Q_OBJECT

public:
    explicit TForm5(QWidget* parent = nullptr);
    ~TForm5() override;

    void ReadInputs(msr::Answers& answers) const override;

protected:
    // The four notice lines are red as laid out; under a dark theme a red that reads.
    void ApplyThemeColours() override;

private:
    std::unique_ptr<Ui::TForm5> ui_;
};
