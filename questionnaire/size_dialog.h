#pragma once

#include "questionnaire/questionnaire_dialog.h"

#include <memory>

namespace Ui {
class TForm9;
}

// Flat-size dialog "Wohnungsgröße": the living area as typed or picked (ComboBox1) and
// whether the flat is an apartment (CheckBox1). OK wants a whole number, and no more than
// 50 square metres for an apartment.
class TForm9 : public msr::questionnaire::QuestionnaireDialog {
    Q_OBJECT

public:
    explicit TForm9(QWidget* parent = nullptr);
    ~TForm9() override;

    void ClearInputs() override;
    void ReadInputs(msr::Answers& answers) const override;

protected:
    void Confirm() override;

private:
    void ShowNoSizeYet();

    std::unique_ptr<Ui::TForm9> ui_;
};
