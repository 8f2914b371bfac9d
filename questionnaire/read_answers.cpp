#include "questionnaire/read_answers.h"

#include "gui/forms.h"
#include "questionnaire/bathroom_dialog.h"
#include "questionnaire/city_area_dialog.h"
#include "questionnaire/construction_year_dialog.h"
#include "questionnaire/flooring_dialog.h"
#include "questionnaire/further_features_dialog.h"
#include "questionnaire/heating_dialog.h"
#include "questionnaire/modernisation_dialog.h"
#include "questionnaire/radio_group.h"
#include "questionnaire/size_dialog.h"
#include "questionnaire/surroundings_dialog.h"

namespace msr::questionnaire {
namespace {

void ReadConstructionYear(Answers& answers) {
    const TForm12& f = *Form12;
    answers.YearClass =
        SelectedChoice({f.RadioButton1, f.RadioButton2, f.RadioButton3, f.RadioButton4,
                        f.RadioButton5, f.RadioButton6, f.RadioButton7});
    answers.Built1980Side = SelectedChoice({f.RadioButton8, f.RadioButton9});
}

void ReadSize(Answers& answers) {
    answers.LivingArea = Form9->ComboBox1->currentText().toStdString();
    answers.IsApartment = Form9->CheckBox1->isChecked();
}

void ReadEquipment(Answers& answers) {
    answers.GuestToilet = Form3->CheckBox1->isChecked();
    answers.TubAndShower = Form3->CheckBox2->isChecked();
    const TForm7& flooring = *Form7;
    answers.FloorCovering = SelectedChoice({flooring.RadioButton1, flooring.RadioButton2,
                                            flooring.RadioButton3, flooring.RadioButton4});
    const TForm6& heating = *Form6;
    answers.HeatingKind = SelectedChoice(
        {heating.RadioButton1, heating.RadioButton2, heating.RadioButton3, heating.RadioButton4});
}

void ReadFurtherFeatures(Answers& answers) {
    const TForm4& f = *Form4;
    answers.CaptiveRooms = f.CheckBox1->isChecked();
    answers.NoKitchenHotWater = f.CheckBox2->isChecked();
    answers.BalconyOrLoggia = f.CheckBox3->isChecked();
    answers.Terrace = f.CheckBox4->isChecked();
    answers.SoundproofWindows = f.CheckBox5->isChecked();
    answers.BarrierFree = SelectedChoice({f.RadioButton1, f.RadioButton2});
}

void ReadModernisation(Answers& answers) {
    const TForm5& f = *Form5;
    answers.HeatingRenewed = f.CheckBox1->isChecked();
    answers.BathRenewed = f.CheckBox2->isChecked();
    answers.Insulation = SelectedChoice({f.RadioButton1, f.RadioButton2, f.RadioButton3});
}

void ReadSurroundings(Answers& answers) {
    answers.NoiseImpairment = Form10->CheckBox1->isChecked();
    const TForm11& f = *Form11;
    answers.CityArea =
        SelectedChoice({f.RadioButton1, f.RadioButton2, f.RadioButton3, f.RadioButton4,
                        f.RadioButton5, f.RadioButton6, f.RadioButton7});
}

} // namespace

Answers ReadAnswers() {
    Answers answers;
    ReadConstructionYear(answers);
    ReadSize(answers);
    ReadEquipment(answers);
    ReadFurtherFeatures(answers);
    ReadModernisation(answers);
    ReadSurroundings(answers);
    return answers;
}

} // namespace msr::questionnaire
