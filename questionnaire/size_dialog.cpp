#include "questionnaire/size_dialog.h"

#include "evaluation/answers.h"
#include "evaluation/living_area.h"
#include "gui/handlers.h"
#include "gui/messages.h"

using msr::gui::Guarded;

namespace {

constexpr int kLargestApartment = 50;

const QString kNoSizeYet = QString::fromUtf8(msr::kLivingAreaPlaceholder);

const QString kApartmentTooLarge = QStringLiteral(
    "Ein Appartment darf eine maximale Größe von 50 Quadratmetern haben. Sie haben jedoch "
    "eine größere Quadratmeterzahl ausgewählt. Bitte korrigieren Sie Ihre Eingabe.");

} // namespace

TForm9::TForm9(QWidget* parent) : QuestionnaireDialog(parent) {
    setupUi(this);
    // The layout leaves no list entry selected, which empties the edit field.
    ShowNoSizeYet();
    FinishLayout();
    msr::gui::OnClick(Button1, this, &TForm9::Button1Click);
}

void TForm9::ClearInputs() {
    ComboBox1->setCurrentIndex(-1);
    ShowNoSizeYet();
    CheckBox1->setChecked(false);
}

void TForm9::Button1Click(QObject*) {
    Guarded([this] { ConfirmSize(); });
}

void TForm9::ShowNoSizeYet() {
    ComboBox1->setEditText(kNoSizeYet);
}

void TForm9::ConfirmSize() {
    const QString text = ComboBox1->currentText();
    if (text == kNoSizeYet) {
        CloseUnanswered();
        return;
    }
    // A text that is no whole number raises the conversion error; the dialog stays open.
    const int size = msr::ToWholeNumber(text.toStdString());
    if (size > kLargestApartment && CheckBox1->isChecked()) {
        msr::gui::Messages::refuse(kApartmentTooLarge);
        return;
    }
    CloseAnswered();
}
