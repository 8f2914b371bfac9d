#include "questionnaire/construction_year_dialog.h"

#include "evaluation/rent_index/admission.h"
#include "gui/handlers.h"
#include "gui/messages.h"
#include "questionnaire/radio_group.h"
#include "ui_construction_year_dialog.h"

using msr::gui::Guarded;
using msr::gui::OnSelect;
using msr::questionnaire::Deselect;
using msr::questionnaire::SelectedChoice;

TForm12::TForm12(QWidget* parent)
    : QuestionnaireDialog(parent), ui_(std::make_unique<Ui::TForm12>()) {
    ui_->setupUi(this);
    FinishLayout(ui_->Button1);
    // The panel holds the two sides; the frame around the row is only a frame.
    ui_->Panel1->setAccessibleName(QStringLiteral("Baujahr vor oder nach 1980"));
    ui_->Bevel1->setAccessibleName(ui_->RadioButton4->text());
    // RadioButton4 has no handler: choosing "1978 bis 1994" keeps the side as it is.
    OnSelect(ui_->RadioButton1, this, &TForm12::RadioButton1Click);
    OnSelect(ui_->RadioButton2, this, &TForm12::RadioButton2Click);
    OnSelect(ui_->RadioButton3, this, &TForm12::RadioButton3Click);
    OnSelect(ui_->RadioButton5, this, &TForm12::RadioButton5Click);
    OnSelect(ui_->RadioButton6, this, &TForm12::RadioButton6Click);
    OnSelect(ui_->RadioButton7, this, &TForm12::RadioButton7Click);
    OnSelect(ui_->RadioButton8, this, &TForm12::RadioButton8Click);
    OnSelect(ui_->RadioButton9, this, &TForm12::RadioButton9Click);
}

TForm12::~TForm12() = default;

void TForm12::ReadInputs(msr::Answers& answers) const {
    answers.YearClass = YearClass();
    answers.Built1980Side = Built1980Side();
}

void TForm12::RadioButton1Click(QObject*) {
    Guarded(this, [this] { ForgetBuilt1980Side(); });
}

void TForm12::RadioButton2Click(QObject*) {
    Guarded(this, [this] { ForgetBuilt1980Side(); });
}

void TForm12::RadioButton3Click(QObject*) {
    Guarded(this, [this] { ForgetBuilt1980Side(); });
}

void TForm12::RadioButton5Click(QObject*) {
    Guarded(this, [this] { ForgetBuilt1980Side(); });
}

void TForm12::RadioButton6Click(QObject*) {
    Guarded(this, [this] { ForgetBuilt1980Side(); });
}

void TForm12::RadioButton7Click(QObject*) {
    Guarded(this, [this] { ForgetBuilt1980Side(); });
}

void TForm12::RadioButton8Click(QObject*) {
    Guarded(this, [this] { ChooseClass1978To1994(); });
}

void TForm12::RadioButton9Click(QObject*) {
    Guarded(this, [this] { ChooseClass1978To1994(); });
}

void TForm12::ForgetBuilt1980Side() {
    Deselect(ui_->RadioButton8);
    Deselect(ui_->RadioButton9);
}

void TForm12::ChooseClass1978To1994() {
    ui_->RadioButton4->setChecked(true);
}

msr::Choice TForm12::YearClass() const {
    return SelectedChoice({ui_->RadioButton1, ui_->RadioButton2, ui_->RadioButton3,
                           ui_->RadioButton4, ui_->RadioButton5, ui_->RadioButton6,
                           ui_->RadioButton7});
}

msr::Choice TForm12::Built1980Side() const {
    return SelectedChoice({ui_->RadioButton8, ui_->RadioButton9});
}

void TForm12::Confirm() {
    const msr::Choice yearClass = YearClass();
    if (yearClass == msr::kNone) {
        CloseUnanswered();
        return;
    }
    if (const auto refusal = msr::ConstructionYearRefusal(yearClass, Built1980Side())) {
        // The side is missing: the focus goes to its first option.
        Refuse(*refusal, ui_->RadioButton8);
        return;
    }
    CloseAnswered();
}
