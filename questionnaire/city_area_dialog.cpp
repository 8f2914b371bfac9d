#include "questionnaire/city_area_dialog.h"

#include "gui/handlers.h"
#include "gui/messages.h"
#include "questionnaire/radio_group.h"

using msr::questionnaire::Deselect;

TForm11::TForm11(QWidget* parent) : QuestionnaireDialog(parent) {
    setupUi(this);
    FinishLayout();
    msr::gui::OnClick(Button1, this, &TForm11::Button1Click);
}

void TForm11::ClearInputs() {
    for (QRadioButton* button : {RadioButton1, RadioButton2, RadioButton3, RadioButton4,
                                 RadioButton5, RadioButton6, RadioButton7})
        Deselect(button);
}

void TForm11::Button1Click(QObject*) {
    msr::gui::Guarded([this] { ConfirmArea(); });
}

void TForm11::ConfirmArea() {
    const msr::Choice area =
        msr::questionnaire::SelectedChoice({RadioButton1, RadioButton2, RadioButton3, RadioButton4,
                                            RadioButton5, RadioButton6, RadioButton7});
    if (area == msr::kNone)
        CloseUnanswered();
    else
        CloseAnswered();
}
