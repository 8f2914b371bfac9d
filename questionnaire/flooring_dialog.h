#pragma once

#include "questionnaire/questionnaire_dialog.h"

#include <memory>

namespace Ui {
class TForm7;
}

// Flooring dialog "Bodenbeläge": the floor covering (RadioButton1..4). OK: always answered.
class TForm7 : public msr::questionnaire::QuestionnaireDialog {
    Q_OBJECT

public:
    explicit TForm7(QWidget* parent = nullptr);
    ~TForm7() override;

    void ReadInputs(msr::Answers& answers) const override;

private:
    std::unique_ptr<Ui::TForm7> ui_;
};
