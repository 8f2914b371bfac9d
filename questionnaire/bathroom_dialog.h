#pragma once

#include "questionnaire/questionnaire_dialog.h"
#include "ui_bathroom_dialog.h"

// Bathroom dialog "Bad-Ausstattung": guest toilet (CheckBox1), bath tub with separate
// shower (CheckBox2).
class TForm3 : public msr::questionnaire::QuestionnaireDialog, public Ui::TForm3 {
    Q_OBJECT

public:
    explicit TForm3(QWidget* parent = nullptr);

    void ClearInputs() override;

    // OK: always answered.
    void Button1Click(QObject* sender);
};
