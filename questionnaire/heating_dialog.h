#pragma once

#include "questionnaire/questionnaire_dialog.h"

#include <memory>

namespace Ui {
class TForm6;
}

// Heating dialog "Beheizungsart": the kind of heating (RadioButton1..4). OK: always
// answered.
class TForm6 : public msr::questionnaire::QuestionnaireDialog {
    Q_OBJECT

public:
    explicit TForm6(QWidget* parent = nullptr);
    ~TForm6() override;

    void ReadInputs(msr::Answers& answers) const override;

private:
    std::unique_ptr<Ui::TForm6> ui_;
};
