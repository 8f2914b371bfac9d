#include "questionnaire/size_dialog.h"

#include "evaluation/answers/answers.h"
#include "evaluation/rent_index/admission.h"
#include "gui/messages.h"
#include "questionnaire/size_box.h"
#include "ui_size_dialog.h"

#include <QLineEdit>

#include <optional>
#include <string>

namespace {

const QString kNoSizeYet = QString::fromUtf8(msr::kLivingAreaPlaceholder);

} // namespace

TForm9::TForm9(QWidget* parent) : QuestionnaireDialog(parent), ui_(std::make_unique<Ui::TForm9>()) {
    ui_->setupUi(this);
    // The layout leaves no list entry selected, which empties the edit field.
    ShowNoSizeYet();
    FinishLayout(ui_->Button1);
    new msr::questionnaire::SizeBoxStepping(ui_->ComboBox1);
    new msr::questionnaire::PlaceholderSelection(ui_->ComboBox1, kNoSizeYet);
    // The box and its edit field go by the caption above them.
    ui_->ComboBox1->setAccessibleName(ui_->GroupBox1->title());
    ui_->ComboBox1->lineEdit()->setAccessibleName(ui_->GroupBox1->title());
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
    const std::string size = ui_->ComboBox1->currentText().toStdString();
    if (!msr::IsLivingAreaAnswered(size)) {
        CloseUnanswered();
        return;
    }
    const bool apartment = ui_->CheckBox1->isChecked();
    std::optional<std::string> refusal;
    try {
        refusal = msr::FlatSizeRefusal(size, apartment);
    } catch (...) {
        // A text that is no whole number raises the conversion error, which the standard
        // error report shows; the dialog stays open with the size to correct.
        FocusToCorrect(ui_->ComboBox1);
        throw;
    }
    if (refusal) {
        // The size alone passes: the apartment box is what contradicts it.
        const bool sizeAlonePasses = apartment && !msr::FlatSizeRefusal(size, false);
        Refuse(*refusal, sizeAlonePasses ? static_cast<QWidget*>(ui_->CheckBox1) : ui_->ComboBox1);
        return;
    }
    CloseAnswered();
}
