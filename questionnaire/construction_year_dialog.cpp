#include "questionnaire/construction_year_dialog.h"

#include "gui/handlers.h"
#include "gui/messages.h"
#include "questionnaire/radio_group.h"

using msr::gui::Guarded;
using msr::gui::OnClick;
using msr::gui::OnSelect;
using msr::questionnaire::Deselect;
using msr::questionnaire::SelectedChoice;

namespace {

constexpr msr::Choice kClass1978To1994 = 4;

const QString kSideMissing = QStringLiteral(
    "Sie haben angegeben, dass das Baujahr Ihrer Wohnung zwischen 1978 und 1994 liegt. "
    "Bitte geben Sie zusätzlich noch an, ob die Wohnung vor oder nach 1980 errichtet wurde.");

} // namespace

TForm12::TForm12(QWidget* parent) : QuestionnaireDialog(parent) {
    setupUi(this);
    FinishLayout();
    // RadioButton4 has no handler: choosing "1978 bis 1994" keeps the side as it is.
    OnSelect(RadioButton1, this, &TForm12::RadioButton1Click);
    OnSelect(RadioButton2, this, &TForm12::RadioButton2Click);
    OnSelect(RadioButton3, this, &TForm12::RadioButton3Click);
    OnSelect(RadioButton5, this, &TForm12::RadioButton5Click);
    OnSelect(RadioButton6, this, &TForm12::RadioButton6Click);
    OnSelect(RadioButton7, this, &TForm12::RadioButton7Click);
    OnSelect(RadioButton8, this, &TForm12::RadioButton8Click);
    OnSelect(RadioButton9, this, &TForm12::RadioButton9Click);
    OnClick(Button1, this, &TForm12::Button1Click);
}

void TForm12::ClearInputs() {
    for (QRadioButton* button :
         {RadioButton1, RadioButton2, RadioButton3, RadioButton4, RadioButton5, RadioButton6,
          RadioButton7, RadioButton8, RadioButton9})
        Deselect(button);
}

void TForm12::RadioButton1Click(QObject*) {
    Guarded([this] { ForgetBuilt1980Side(); });
}

void TForm12::RadioButton2Click(QObject*) {
    Guarded([this] { ForgetBuilt1980Side(); });
}

void TForm12::RadioButton3Click(QObject*) {
    Guarded([this] { ForgetBuilt1980Side(); });
}

void TForm12::RadioButton5Click(QObject*) {
    Guarded([this] { ForgetBuilt1980Side(); });
}

void TForm12::RadioButton6Click(QObject*) {
    Guarded([this] { ForgetBuilt1980Side(); });
}

void TForm12::RadioButton7Click(QObject*) {
    Guarded([this] { ForgetBuilt1980Side(); });
}

void TForm12::RadioButton8Click(QObject*) {
    Guarded([this] { ChooseClass1978To1994(); });
}

void TForm12::RadioButton9Click(QObject*) {
    Guarded([this] { ChooseClass1978To1994(); });
}

void TForm12::Button1Click(QObject*) {
    Guarded([this] { ConfirmYear(); });
}

void TForm12::ForgetBuilt1980Side() {
    Deselect(RadioButton8);
    Deselect(RadioButton9);
}

void TForm12::ChooseClass1978To1994() {
    RadioButton4->setChecked(true);
}

void TForm12::ConfirmYear() {
    const msr::Choice yearClass =
        SelectedChoice({RadioButton1, RadioButton2, RadioButton3, RadioButton4, RadioButton5,
                        RadioButton6, RadioButton7});
    if (yearClass == msr::kNone) {
        CloseUnanswered();
        return;
    }
    const bool sideChosen = SelectedChoice({RadioButton8, RadioButton9}) != msr::kNone;
    if (yearClass == kClass1978To1994 && !sideChosen) {
        msr::gui::Messages::refuse(kSideMissing);
        return;
    }
    CloseAnswered();
}
