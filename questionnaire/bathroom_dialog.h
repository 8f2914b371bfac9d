#pragma once

#include "questionnaire/questionnaire_dialog.h"

#include <memory>

namespace Ui {
class TForm3;
}

// Bathroom dialog "Bad-Ausstattung": guest toilet (CheckBox1), bath tub with separate
// shower (CheckBox2). OK: always answered.
class TForm3 : public msr::questionnaire::QuestionnaireDialog {
    Q_OBJECT

public:
    explicit TForm3(QWidget* parent = nullptr);
    ~TForm3() override;

    void ReadInputs(msr::Answers& answers) const override;

private:
    std::unique_ptr<Ui::TForm3> ui_;
};
