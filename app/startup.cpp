#include "app/startup.h"

#include "app/main_window.h"
#include "gui/forms.h"
#include "gui/messages.h"
#include "gui/translation.h"
#include "gui/window_look.h"
#include "questionnaire/bathroom_dialog.h"
#include "questionnaire/city_area_dialog.h"
#include "questionnaire/construction_year_dialog.h"
#include "questionnaire/flooring_dialog.h"
#include "questionnaire/further_features_dialog.h"
#include "questionnaire/heating_dialog.h"
#include "questionnaire/modernisation_dialog.h"
#include "questionnaire/read_answers.h"
#include "questionnaire/size_dialog.h"
#include "questionnaire/surroundings_dialog.h"
#include "report/entry_points.h"
#include "report/information_dialog.h"
#include "report/report_window.h"

#include <QApplication>

#include <utility>

namespace msr::app {
namespace {

using questionnaire::QuestionnaireDialog;

// A dialog's OK, when it finds the dialog answered, marks its button on the main window.
void MarkOnAnswer(QuestionnaireDialog* dialog, PictureButton* button) {
    QObject::connect(dialog, &QuestionnaireDialog::answered, Form1,
                     [button] { Form1->MarkAnswered(button); });
}

void ConnectQuestionnaire() {
    MarkOnAnswer(Form12, Form1->SpeedButton11);
    MarkOnAnswer(Form9, Form1->SpeedButton8);
    MarkOnAnswer(Form3, Form1->SpeedButton2);
    MarkOnAnswer(Form7, Form1->SpeedButton1);
    MarkOnAnswer(Form6, Form1->SpeedButton3);
    MarkOnAnswer(Form4, Form1->SpeedButton4);
    MarkOnAnswer(Form5, Form1->SpeedButton5);
    MarkOnAnswer(Form10, Form1->SpeedButton9);
    MarkOnAnswer(Form11, Form1->SpeedButton10);
    SetAnswersSource(&questionnaire::ReadAnswers);
}

template <class Window> void Destroy(Window*& instance) {
    delete std::exchange(instance, nullptr);
}

} // namespace

void PrepareApplication(QApplication& application) {
    QCoreApplication::setApplicationName(QString::fromUtf8(gui::kApplicationTitle));
    gui::InstallGermanTranslation(application);
    gui::PrepareStandInFonts();
}

void CreateWindows() {
    Form1 = new TForm1;
    Form2 = new TForm2;
    Form3 = new TForm3;
    Form4 = new TForm4;
    Form5 = new TForm5;
    Form6 = new TForm6;
    Form7 = new TForm7;
    Form8 = new TForm8;
    Form9 = new TForm9;
    Form10 = new TForm10;
    Form11 = new TForm11;
    Form12 = new TForm12;
    ConnectQuestionnaire();
    // Qt polishes every new control at the first turn of the event loop, shown or not;
    // showing a window polishes it and its controls anyway. So the main window's first
    // frame does not wait for the styling of eleven windows nobody sees yet.
    QCoreApplication::removePostedEvents(nullptr, QEvent::PolishRequest);
}

void DestroyWindows() {
    SetAnswersSource({});
    Destroy(Form12);
    Destroy(Form11);
    Destroy(Form10);
    Destroy(Form9);
    Destroy(Form8);
    Destroy(Form7);
    Destroy(Form6);
    Destroy(Form5);
    Destroy(Form4);
    Destroy(Form3);
    Destroy(Form2);
    Destroy(Form1);
}

int Run(int argc, char** argv) {
    QApplication application(argc, argv);
    // Start-up runs as one handler: an error is reported and ends the program.
    gui::Guarded([&application] {
        PrepareApplication(application);
        CreateWindows();
        Form1->show();
        application.exec();
    });
    DestroyWindows();
    return 0;
}

} // namespace msr::app
