#include "app/startup.h"

#include "app/main_window.h"
#include "app/program_icon.h"
#include "gui/forms.h"
#include "gui/messages.h"
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
#include "report/program_edition.h"
#include "report/qt_translation.h"
#include "report/report_window.h"

#include <QApplication>

#include <utility>

namespace msr::app {
namespace {

constexpr const char* kProgramName = "mietspiegelrechner";

template <class Window> void Destroy(Window*& instance) {
    delete std::exchange(instance, nullptr);
}

// An installed edition that cannot be read counts for nothing; the user hears which, and by
// which edition the program evaluates instead.
void ReportPassedOverEditions(const QStringList& faults) {
    gui::Messages::refuse(
        QStringLiteral("Eine installierte Ausgabe des Mietspiegels ist fehlerhaft und wird nicht "
                       "verwendet:\n%1\n\nDas Programm rechnet mit: %2.")
            .arg(faults.join(QLatin1Char('\n')),
                 report::ProgramEditionTitle(report::TodayOnClock())),
        Form1);
}

} // namespace

void PrepareApplication(QApplication& application) {
    // The title "Mietspiegel Varlstadt" captions the message boxes. The name is the
    // program's: the window system's window class, which task bars match with the
    // desktop entry mietspiegelrechner.desktop (its StartupWMClass).
    QCoreApplication::setApplicationName(QString::fromUtf8(kProgramName));
    QGuiApplication::setDesktopFileName(QString::fromUtf8(kProgramName));
    QApplication::setWindowIcon(ProgramIcon());
    report::InstallGermanQtTranslation(application);
    gui::PrepareStandInFonts();
}

void CreateWindows() {
    // The dialogs belong to the main window: they stay above it, share its task-bar entry
    // and go with it. The report window stays a window of its own, hidden.
    Form1 = new TForm1;
    // Showing a window polishes it and every widget it owns, hidden dialogs included, all
    // before its first frame. Polished now, before the dialogs are its own, the main window
    // leaves each dialog to be polished when it is first shown, as any window is.
    Form1->ensurePolished();
    Form2 = new TForm2(Form1);
    Form3 = new TForm3(Form1);
    Form4 = new TForm4(Form1);
    Form5 = new TForm5(Form1);
    Form6 = new TForm6(Form1);
    Form7 = new TForm7(Form1);
    Form8 = new TForm8;
    Form9 = new TForm9(Form1);
    Form10 = new TForm10(Form1);
    Form11 = new TForm11(Form1);
    Form12 = new TForm12(Form1);
    Form1->ConnectQuestionnaire();
    SetAnswersSource(&questionnaire::ReadAnswers);
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
    int exitCode = 1;
    gui::Guarded([&application, &exitCode] {
        PrepareApplication(application);
        // The edition before the windows: the information dialog writes its text at once.
        const QStringList passedOver = report::ChooseProgramEdition(report::TodayOnClock());
        CreateWindows();
        Form1->show();
        if (!passedOver.isEmpty())
            ReportPassedOverEditions(passedOver);
        exitCode = application.exec();
    });
    DestroyWindows();
    return exitCode;
}

} // namespace msr::app
