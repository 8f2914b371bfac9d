#pragma once

#include "questionnaire/questionnaire_dialog.h"

#include <memory>

namespace Ui {
class TForm11;
}

// Area dialog "Gebietseinteilung": which of the seven areas of the city the flat lies in
// (RadioButton1..7). OK: answered once an area is chosen.
class TForm11 : public msr::questionnaire::QuestionnaireDialog {
    Q_OBJECT

public:
    explicit TForm11(QWidget* parent = nullptr);
    ~TForm11() override;

    void ReadInputs(msr::Answers& answers) const override;

protected:
    void Confirm() override;

private:
    msr::Choice CityArea() const;

    std::unique_ptr<Ui::TForm11> ui_;
};
