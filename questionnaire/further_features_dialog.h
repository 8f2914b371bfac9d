#pragma once

#include "questionnaire/questionnaire_dialog.h"
#include "ui_further_features_dialog.h"

// Further surcharges dialog "Weitere Zu- und Abschläge": captive rooms, no hot water in the
// kitchen, balcony or loggia, terrace, soundproof windows (CheckBox1..5) and the
// barrier-free choice (RadioButton1, 2 in Panel1).
class TForm4 : public msr::questionnaire::QuestionnaireDialog, public Ui::TForm4 {
    Q_OBJECT

public:
    explicit TForm4(QWidget* parent = nullptr);

    void ClearInputs() override;

    // OK: always answered.
    void Button1Click(QObject* sender);
    // "Eingaben löschen".
    void Button2Click(QObject* sender);
};
