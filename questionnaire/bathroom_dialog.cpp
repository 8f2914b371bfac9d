#include "questionnaire/bathroom_dialog.h"

#include "ui_bathroom_dialog.h"

TForm3::TForm3(QWidget* parent) : QuestionnaireDialog(parent), ui_(std::make_unique<Ui::TForm3>()) {
    ui_->setupUi(this);
    FinishLayout(ui_->Button1);
}

TForm3::~TForm3() = default;

void TForm3::ReadInputs(msr::Answers& answers) const {
    answers.GuestToilet = ui_->CheckBox1->isChecked();
    answers.TubAndShower = ui_->CheckBox2->isChecked();
}
