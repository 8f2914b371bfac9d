#include "questionnaire/modernisation_dialog.h"

#include "gui/handlers.h"
#include "gui/messages.h"
#include "questionnaire/radio_group.h"

using msr::questionnaire::Deselect;

TForm5::TForm5(QWidget* parent) : QuestionnaireDialog(parent) {
    setupUi(this);
    FinishLayout();
    msr::gui::OnClick(Button1, this, &TForm5::Button1Click);
    msr::gui::OnClick(Button2, this, &TForm5::Button2Click);
}

void TForm5::ClearInputs() {
    for (QRadioButton* button : {RadioButton1, RadioButton2, RadioButton3})
        Deselect(button);
    CheckBox1->setChecked(false);
    CheckBox2->setChecked(false);
}

void TForm5::Button1Click(QObject*) {
    msr::gui::Guarded([this] { CloseAnswered(); });
}

void TForm5::Button2Click(QObject*) {
    msr::gui::Guarded([this] { ClearInputs(); });
}
