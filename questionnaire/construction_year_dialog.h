#pragma once

#include "questionnaire/questionnaire_dialog.h"
#include "ui_construction_year_dialog.h"

// Construction-year dialog "Baujahr": the year class (RadioButton1..7) and, for
// "1978 bis 1994", whether the flat was built before or after 1980 (RadioButton8, 9).
// A side is chosen only together with "1978 bis 1994".
class TForm12 : public msr::questionnaire::QuestionnaireDialog, public Ui::TForm12 {
    Q_OBJECT

public:
    explicit TForm12(QWidget* parent = nullptr);

    void ClearInputs() override;

    // Choosing any class but "1978 bis 1994" forgets the side.
    void RadioButton1Click(QObject* sender);
    void RadioButton2Click(QObject* sender);
    void RadioButton3Click(QObject* sender);
    void RadioButton5Click(QObject* sender);
    void RadioButton6Click(QObject* sender);
    void RadioButton7Click(QObject* sender);
    // Choosing a side chooses "1978 bis 1994".
    void RadioButton8Click(QObject* sender);
    void RadioButton9Click(QObject* sender);
    // OK.
    void Button1Click(QObject* sender);

private:
    void ForgetBuilt1980Side();
    void ChooseClass1978To1994();
    void ConfirmYear();
};
