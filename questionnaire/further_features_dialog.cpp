#include "questionnaire/further_features_dialog.h"

#include "questionnaire/radio_group.h"
#include "ui_further_features_dialog.h"

using msr::questionnaire::SelectedChoice;

TForm4::TForm4(QWidget* parent) : QuestionnaireDialog(parent), ui_(std::make_unique<Ui::TForm4>()) {
    ui_->setupUi(this);
    FinishLayout(ui_->Button1, ui_->Button2);
}

TForm4::~TForm4() = default;

void TForm4::ReadInputs(msr::Answers& answers) const {
    answers.CaptiveRooms = ui_->CheckBox1->isChecked();
    answers.NoKitchenHotWater = ui_->CheckBox2->isChecked();
    answers.BalconyOrLoggia = ui_->CheckBox3->isChecked();
    answers.Terrace = ui_->CheckBox4->isChecked();
    answers.SoundproofWindows = ui_->CheckBox5->isChecked();
    answers.BarrierFree = SelectedChoice({ui_->RadioButton1, ui_->RadioButton2});
}
