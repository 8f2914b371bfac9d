#include "questionnaire/flooring_dialog.h"

#include "gui/handlers.h"
#include "gui/messages.h"
#include "questionnaire/radio_group.h"

TForm7::TForm7(QWidget* parent) : QuestionnaireDialog(parent) {
    setupUi(this);
    FinishLayout();
    msr::gui::OnClick(Button1, this, &TForm7::Button1Click);
    msr::gui::OnClick(Button2, this, &TForm7::Button2Click);
}

void TForm7::ClearInputs() {
    for (QRadioButton* button : {RadioButton1, RadioButton2, RadioButton3, RadioButton4})
        msr::questionnaire::Deselect(button);
}

void TForm7::Button1Click(QObject*) {
    msr::gui::Guarded([this] { CloseAnswered(); });
}

void TForm7::Button2Click(QObject*) {
    msr::gui::Guarded([this] { ClearInputs(); });
}
