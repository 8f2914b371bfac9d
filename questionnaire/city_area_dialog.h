#pragma once

#include "questionnaire/questionnaire_dialog.h"
#include "ui_city_area_dialog.h"

// Area dialog "Gebietseinteilung": which of the seven areas of the city the flat lies in
// (RadioButton1..7).
class TForm11 : public msr::questionnaire::QuestionnaireDialog, public Ui::TForm11 {
    Q_OBJECT

public:
    explicit TForm11(QWidget* parent = nullptr);

    void ClearInputs() override;

    // OK: answered once an area is chosen.
    void Button1Click(QObject* sender);

private:
    void ConfirmArea();
};
