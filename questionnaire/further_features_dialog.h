#pragma once

#include "questionnaire/questionnaire_dialog.h"

#include <memory>

namespace Ui {
class TForm4;
}

// Further surcharges dialog "Weitere Zu- und Abschläge": captive rooms, no hot water in the
// kitchen, balcony or loggia, terrace, soundproof windows (CheckBox1..5) and the
// barrier-free choice (RadioButton1, 2 in Panel1). OK: always answered.
class TForm4 : public msr::questionnaire::QuestionnaireDialog {
    Q_OBJECT

public:
    explicit TForm4(QWidget* parent = nullptr);
    ~TForm4() override;

    void ReadInputs(msr::Answers& answers) const override;

private:
    std::unique_ptr<Ui::TForm4> ui_;
};
