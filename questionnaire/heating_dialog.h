#pragma once

#include "questionnaire/questionnaire_dialog.h"
#include "ui_heating_dialog.h"

// Heating dialog "Beheizungsart": the kind of heating (RadioButton1..4).
class TForm6 : public msr::questionnaire::QuestionnaireDialog, public Ui::TForm6 {
    Q_OBJECT

public:
    explicit TForm6(QWidget* parent = nullptr);

    void ClearInputs() override;

    // OK: always answered.
    void Button1Click(QObject* sender);
    // "Eingaben löschen".
    void Button2Click(QObject* sender);
};
