#pragma once

#include "find_control.h"
#include "gui/forms.h"
#include "questionnaire/bathroom_dialog.h"
#include "questionnaire/city_area_dialog.h"
#include "questionnaire/construction_year_dialog.h"
#include "questionnaire/flooring_dialog.h"
#include "questionnaire/further_features_dialog.h"
#include "questionnaire/heating_dialog.h"
#include "questionnaire/modernisation_dialog.h"
#include "questionnaire/size_dialog.h"
#include "questionnaire/surroundings_dialog.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <utility>

// The nine questionnaire dialogs as start-up creates them, in their global instances, for
// the life of one test function.
class QuestionnaireDialogs {
public:
    QuestionnaireDialogs() {
        Form3 = new TForm3;
        Form4 = new TForm4;
        Form5 = new TForm5;
        Form6 = new TForm6;
        Form7 = new TForm7;
        Form9 = new TForm9;
        Form10 = new TForm10;
        Form11 = new TForm11;
        Form12 = new TForm12;
    }
    ~QuestionnaireDialogs() {
        delete std::exchange(Form3, nullptr);
        delete std::exchange(Form4, nullptr);
        delete std::exchange(Form5, nullptr);
        delete std::exchange(Form6, nullptr);
        delete std::exchange(Form7, nullptr);
        delete std::exchange(Form9, nullptr);
        delete std::exchange(Form10, nullptr);
        delete std::exchange(Form11, nullptr);
        delete std::exchange(Form12, nullptr);
    }
    QuestionnaireDialogs(const QuestionnaireDialogs&) = delete;
    QuestionnaireDialogs& operator=(const QuestionnaireDialogs&) = delete;
};

// Shows a dialog the way the user meets it (without the modal loop, which the tests of the
// main window drive) and watches whether its OK marks it answered.
class OpenDialog {
public:
    explicit OpenDialog(msr::questionnaire::QuestionnaireDialog* dialog)
        : dialog_(dialog), answered_(dialog, &msr::questionnaire::QuestionnaireDialog::answered) {
        dialog_->show();
        dialog_->activateWindow();
        [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(dialog_);
    }

    bool answered() const { return !answered_.isEmpty(); }
    bool stillOpen() const { return dialog_->isVisible(); }

private:
    msr::questionnaire::QuestionnaireDialog* dialog_;
    QSignalSpy answered_;
};

// A click of the user's mouse on a push button.
inline void Click(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
}

// A click of the user's mouse on the indicator of a radio button or check box.
inline void ClickOption(QWidget* option) {
    QTest::mouseClick(option, Qt::LeftButton, Qt::NoModifier, QPoint(7, option->height() / 2));
}
