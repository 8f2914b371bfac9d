#pragma once

#include "questionnaire/questionnaire_dialog.h"

#include <memory>

namespace Ui {
class TForm12;
}

// Construction-year dialog "Baujahr": the year class (RadioButton1..7) and, for
// "1978 bis 1994", whether the flat was built before or after 1980 (RadioButton8, 9).
// A side is chosen only together with "1978 bis 1994".
class TForm12 : public msr::questionnaire::QuestionnaireDialog {
    Q_OBJECT

public:
    explicit TForm12(QWidget* parent = nullptr);
    ~TForm12() override;

    void ReadInputs(msr::Answers& answers) const override;

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

protected:
    // OK: answered once a class is chosen, with a side for "1978 bis 1994".
    void Confirm() override;

private:
    void ForgetBuilt1980Side();
    void ChooseClass1978To1994();
    msr::Choice YearClass() const;
    msr::Choice Built1980Side() const;

    std::unique_ptr<Ui::TForm12> ui_;
};
