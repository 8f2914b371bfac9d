#include "questionnaire/modernisation_dialog.h"

#include "gui/window_look.h"
#include "questionnaire/radio_group.h"
#include "ui_modernisation_dialog.h"

#include <QApplication>

using msr::questionnaire::SelectedChoice;

TForm5::TForm5(QWidget* parent) : QuestionnaireDialog(parent), ui_(std::make_unique<Ui::TForm5>()) {
    ui_->setupUi(this);
    FinishLayout(ui_->Button1, ui_->Button2);
}

TForm5::~TForm5() = default;

void TForm5::ReadInputs(msr::Answers& answers) const {
    answers.HeatingRenewed = ui_->CheckBox1->isChecked();
    answers.BathRenewed = ui_->CheckBox2->isChecked();
    answers.Insulation = SelectedChoice({ui_->RadioButton1, ui_->RadioButton2, ui_->RadioButton3});
}

void TForm5::ApplyThemeColours() {
    QuestionnaireDialog::ApplyThemeColours();
    const QColor laidOut(255, 0, 0);
    const QColor background = QApplication::palette(this).color(QPalette::Window);
    for (QLabel* notice : {ui_->Label1, ui_->Label2, ui_->Label8, ui_->Label10}) {
        QPalette palette = notice->palette();
        palette.setColor(QPalette::WindowText, msr::gui::LaidOutColourOn(laidOut, background));
        notice->setPalette(palette);
    }
}
