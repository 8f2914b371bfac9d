#include "questionnaire/city_area_dialog.h"

#include "questionnaire/radio_group.h"
#include "ui_city_area_dialog.h"

TForm11::TForm11(QWidget* parent)
    : QuestionnaireDialog(parent), ui_(std::make_unique<Ui::TForm11>()) {
    ui_->setupUi(this);
    FinishLayout(ui_->Button1);
}

TForm11::~TForm11() = default;

void TForm11::ReadInputs(msr::Answers& answers) const {
    answers.CityArea = CityArea();
}

void TForm11::Confirm() {
    if (CityArea() == msr::kNone)
        CloseUnanswered();
    else
        CloseAnswered();
}

msr::Choice TForm11::CityArea() const {
    return msr::questionnaire::SelectedChoice(
        {ui_->RadioButton1, ui_->RadioButton2, ui_->RadioButton3, ui_->RadioButton4,
         ui_->RadioButton5, ui_->RadioButton6, ui_->RadioButton7});
}
