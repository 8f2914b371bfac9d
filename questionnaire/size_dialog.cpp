#include "questionnaire/size_dialog.h"

#include "evaluation/answers.h"
#include "evaluation/living_area.h"
#include "gui/messages.h"
#include "ui_size_dialog.h"

namespace {

constexpr int kLargestApartment = 50;

const QString kNoSizeYet = QString::fromUtf8(msr::kLivingAreaPlaceholder);

const QString kApartmentTooLarge = QStringLiteral(
    "Ein Appartment darf eine maximale Größe von 50 Quadratmetern haben. Sie haben jedoch "
    "eine größere Quadratmeterzahl ausgewählt. Bitte korrigieren Sie Ihre Eingabe.");

} // namespace

TForm9::TForm9(QWidget* parent) : QuestionnaireDialog(parent), ui_(std::make_unique<Ui::TForm9>()) {
    ui_->setupUi(this);
    // The layout leaves no list entry selected, which empties the edit field.
    ShowNoSizeYet();
    FinishLayout(ui_->Button1);
}

TForm9::~TForm9() = default;

void TForm9::ClearInputs() {
    ui_->ComboBox1->setCurrentIndex(-1);
    ShowNoSizeYet();
    QuestionnaireDialog::ClearInputs();
}

void TForm9::ReadInputs(msr::Answers& answers) const {
    answers.LivingArea = ui_->ComboBox1->currentText().toStdString();
    answers.IsApartment = ui_->CheckBox1->isChecked();
}

void TForm9::ShowNoSizeYet() {
    ui_->ComboBox1->setEditText(kNoSizeYet);
}

void TForm9::Confirm() {
    const QString text = ui_->ComboBox1->currentText();
    if (text == kNoSizeYet) {
        CloseUnanswered();
        return;
    }
    // A text that is no whole number raises the conversion error; the dialog stays open.
    const int size = msr::ToWholeNumber(text.toStdString());
    if (size > kLargestApartment && ui_->CheckBox1->isChecked()) {
        msr::gui::Messages::refuse(kApartmentTooLarge);
        return;
    }
    CloseAnswered();
}
