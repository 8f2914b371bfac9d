// What each step of the program's start-up costs, in milliseconds, on the monotonic clock:
// the same steps as the start-up probe, each timed on its own. Run it a few times and read
// the smallest figure of each step (the machine's other work only ever adds):
//   QT_QPA_PLATFORM=offscreen bench_app_start_up_steps
// A bare Qt window's steps follow for comparison: the application object, the window
// shown and painted.

#include "first_frame.h"

#include "app/main_window.h"
#include "app/program_icon.h"
#include "app/startup.h"
#include "gui/forms.h"
#include "gui/window_look.h"
#include "questionnaire/bathroom_dialog.h"
#include "questionnaire/city_area_dialog.h"
#include "questionnaire/construction_year_dialog.h"
#include "questionnaire/flooring_dialog.h"
#include "questionnaire/further_features_dialog.h"
#include "questionnaire/heating_dialog.h"
#include "questionnaire/modernisation_dialog.h"
#include "questionnaire/size_dialog.h"
#include "questionnaire/surroundings_dialog.h"
#include "report/information_dialog.h"
#include "report/qt_translation.h"
#include "report/report_window.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <cstring>

namespace {

QElapsedTimer clock_;

void Step(const char* name) {
    std::printf("%-32s %7.2f ms\n", name, static_cast<double>(clock_.nsecsElapsed()) / 1e6);
    clock_.restart();
}

} // namespace

int main(int argc, char** argv) {
    const bool bare = argc > 1 && std::strcmp(argv[1], "bare") == 0;
    clock_.start();
    QApplication application(argc, argv);
    Step("QApplication");
    if (bare) {
        QWidget window;
        msr::bench::ShowUntilFirstFrame(&window);
        Step("bare window shown and painted");
        return 0;
    }
    QCoreApplication::setApplicationName(QStringLiteral("mietspiegelrechner"));
    QGuiApplication::setDesktopFileName(QStringLiteral("mietspiegelrechner"));
    QApplication::setWindowIcon(msr::app::ProgramIcon());
    Step("program icon");
    msr::report::InstallGermanQtTranslation(application);
    Step("Qt's German translation");
    msr::gui::PrepareStandInFonts();
    Step("stand-in fonts");
    Form1 = new TForm1;
    Step("Form1 main window");
    Form1->ensurePolished();
    Step("Form1 polished");
    Form2 = new TForm2(Form1);
    Step("Form2 Info");
    Form3 = new TForm3(Form1);
    Step("Form3 Bad-Ausstattung");
    Form4 = new TForm4(Form1);
    Step("Form4 Weitere");
    Form5 = new TForm5(Form1);
    Step("Form5 Modernisierung");
    Form6 = new TForm6(Form1);
    Step("Form6 Beheizungsart");
    Form7 = new TForm7(Form1);
    Step("Form7 Bodenbeläge");
    Form8 = new TForm8;
    Step("Form8 report window");
    Form9 = new TForm9(Form1);
    Step("Form9 Wohnungsgröße");
    Form10 = new TForm10(Form1);
    Step("Form10 Wohnumfeld");
    Form11 = new TForm11(Form1);
    Step("Form11 Gebietseinteilung");
    Form12 = new TForm12(Form1);
    Step("Form12 Baujahr");
    Form1->ConnectQuestionnaire();
    QCoreApplication::removePostedEvents(nullptr, QEvent::PolishRequest);
    Step("wiring");
    msr::bench::ShowUntilFirstFrame(Form1);
    Step("Form1 shown and painted");
    msr::app::DestroyWindows();
    return 0;
}
