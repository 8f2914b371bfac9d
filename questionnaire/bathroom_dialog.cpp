#include "questionnaire/bathroom_dialog.h"

#include "gui/handlers.h"
#include "gui/messages.h"

TForm3::TForm3(QWidget* parent) : QuestionnaireDialog(parent) {
    setupUi(this);
    FinishLayout();
    msr::gui::OnClick(Button1, this, &TForm3::Button1Click);
}

void TForm3::ClearInputs() {
    CheckBox1->setChecked(false);
    CheckBox2->setChecked(false);
}

void TForm3::Button1Click(QObject*) {
    msr::gui::Guarded([this] { CloseAnswered(); });
}
