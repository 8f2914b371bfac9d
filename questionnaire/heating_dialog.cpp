#include "questionnaire/heating_dialog.h"

#include "gui/handlers.h"
#include "gui/messages.h"
#include "questionnaire/radio_group.h"

TForm6::TForm6(QWidget* parent) : QuestionnaireDialog(parent) {
    setupUi(this);
    FinishLayout();
    msr::gui::OnClick(Button1, this, &TForm6::Button1Click);
    msr::gui::OnClick(Button2, this, &TForm6::Button2Click);
}

void TForm6::ClearInputs() {
    for (QRadioButton* button : {RadioButton1, RadioButton2, RadioButton3, RadioButton4})
        msr::questionnaire::Deselect(button);
}

void TForm6::Button1Click(QObject*) {
    msr::gui::Guarded([this] { CloseAnswered(); });
}

void TForm6::Button2Click(QObject*) {
    msr::gui::Guarded([this] { ClearInputs(); });
}
