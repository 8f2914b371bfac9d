#pragma once

#include "questionnaire/questionnaire_dialog.h"
#include "ui_flooring_dialog.h"

// Flooring dialog "Bodenbeläge": the floor covering (RadioButton1..4).
class TForm7 : public msr::questionnaire::QuestionnaireDialog, public Ui::TForm7 {
    Q_OBJECT

public:
    explicit TForm7(QWidget* parent = nullptr);

    void ClearInputs() override;

    // OK: always answered.
    void Button1Click(QObject* sender);
    // "Eingaben löschen".
    void Button2Click(QObject* sender);
};
