#include "questionnaire/further_features_dialog.h"

#include "gui/handlers.h"
#include "gui/messages.h"
#include "questionnaire/radio_group.h"

using msr::questionnaire::Deselect;

TForm4::TForm4(QWidget* parent) : QuestionnaireDialog(parent) {
    setupUi(this);
    FinishLayout();
    msr::gui::OnClick(Button1, this, &TForm4::Button1Click);
    msr::gui::OnClick(Button2, this, &TForm4::Button2Click);
}

void TForm4::ClearInputs() {
    for (QCheckBox* box : {CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5})
        box->setChecked(false);
    Deselect(RadioButton1);
    Deselect(RadioButton2);
}

void TForm4::Button1Click(QObject*) {
    msr::gui::Guarded([this] { CloseAnswered(); });
}

void TForm4::Button2Click(QObject*) {
    msr::gui::Guarded([this] { ClearInputs(); });
}
