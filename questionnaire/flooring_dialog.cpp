#include "questionnaire/flooring_dialog.h"

#include "questionnaire/radio_group.h"
#include "ui_flooring_dialog.h"

using msr::questionnaire::SelectedChoice;

TForm7::TForm7(QWidget* parent) : QuestionnaireDialog(parent), ui_(std::make_unique<Ui::TForm7>()) {
    ui_->setupUi(this);
    FinishLayout(ui_->Button1, ui_->Button2);
}

TForm7::~TForm7() = default;

void TForm7::ReadInputs(msr::Answers& answers) const {
    answers.FloorCovering = SelectedChoice(
        {ui_->RadioButton1, ui_->RadioButton2, ui_->RadioButton3, ui_->RadioButton4});
}
