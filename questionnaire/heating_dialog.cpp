#include "questionnaire/heating_dialog.h"

#include "questionnaire/radio_group.h"
#include "ui_heating_dialog.h"

using msr::questionnaire::SelectedChoice;

TForm6::TForm6(QWidget* parent) : QuestionnaireDialog(parent), ui_(std::make_unique<Ui::TForm6>()) {
    ui_->setupUi(this);
    FinishLayout(ui_->Button1, ui_->Button2);
}

TForm6::~TForm6() = default;

void TForm6::ReadInputs(msr::Answers& answers) const {
    answers.HeatingKind = SelectedChoice(
        {ui_->RadioButton1, ui_->RadioButton2, ui_->RadioButton3, ui_->RadioButton4});
}
