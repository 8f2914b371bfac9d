#pragma once

#include "questionnaire/questionnaire_dialog.h"
#include "ui_size_dialog.h"

// Flat-size dialog "Wohnungsgröße": the living area as typed or picked (ComboBox1) and
// whether the flat is an apartment (CheckBox1). OK wants a whole number, and no more than
// 50 square metres for an apartment.
class TForm9 : public msr::questionnaire::QuestionnaireDialog, public Ui::TForm9 {
    Q_OBJECT

public:
    explicit TForm9(QWidget* parent = nullptr);

    void ClearInputs() override;

    // OK.
    void Button1Click(QObject* sender);

private:
    void ShowNoSizeYet();
    void ConfirmSize();
};
