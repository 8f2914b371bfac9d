#pragma once

#include "questionnaire/questionnaire_dialog.h"
#include "ui_modernisation_dialog.h"

// Modernisation dialog "Modernisierungsmaßnahmen": the insulation period (RadioButton1..3),
// renewed heating (CheckBox1) and renewed bathroom (CheckBox2).
class TForm5 : public msr::questionnaire::QuestionnaireDialog, public Ui::TForm5 {
    Q_OBJECT

public:
    explicit TForm5(QWidget* parent = nullptr);

    void ClearInputs() override;

    // OK: always answered.
    void Button1Click(QObject* sender);
    // "Eingaben löschen".
    void Button2Click(QObject* sender);
};
