// One whole session of the program for the leak and growth checks: start-up, the three
// required answers, many evaluations each with its preview opened and closed, the reset
// with "Ja", and the end. Prints the resident memory after the 10th and the last
// evaluation, in KiB.
//
//   memory_scenario EVALUATIONS
#include "app/main_window.h"
#include "app/picture_button.h"
#include "app/startup.h"
#include "gui/forms.h"
#include "gui/messages.h"
#include "questionnaire/city_area_dialog.h"
#include "questionnaire/construction_year_dialog.h"
#include "questionnaire/size_dialog.h"
#include "report/preview_window.h"
#include "report/report_window.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace {

long ResidentKiB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// A control by the name its window's layout gives it.
template <class Control> Control* Find(const QObject* window, const char* name) {
    return window->findChild<Control*>(QLatin1String(name));
}

void AnswerRequiredQuestions() {
    Find<QRadioButton>(Form12, "RadioButton4")->setChecked(true);
    Find<QRadioButton>(Form12, "RadioButton8")->setChecked(true);
    Find<QComboBox>(Form9, "ComboBox1")->setEditText(QStringLiteral("75"));
    Find<QRadioButton>(Form11, "RadioButton3")->setChecked(true);
    for (const char* name : {"SpeedButton11", "SpeedButton8", "SpeedButton10"})
        Form1->MarkAnswered(Find<msr::app::PictureButton>(Form1, name));
}

// Closes each preview as soon as it shows, which ends the evaluation command's wait.
void CloseEveryPreview(QObject* owner) {
    auto* timer = new QTimer(owner);
    QObject::connect(timer, &QTimer::timeout, [] {
        if (Form8 && Form8->openPreview() && Form8->openPreview()->isVisible())
            Form8->openPreview()->close();
    });
    timer->start(1);
}

} // namespace

int main(int argc, char** argv) {
    const int evaluations = argc > 1 ? std::atoi(argv[1]) : 200;
    QApplication application(argc, argv);
    msr::app::PrepareApplication(application);
    msr::gui::Messages::setPresenter(
        [](const msr::gui::MessageRequest&) { return msr::gui::MessageResult::Yes; });
    msr::app::CreateWindows();
    Form1->show();
    AnswerRequiredQuestions();

    QObject closer;
    CloseEveryPreview(&closer);
    long afterTen = 0;
    for (int i = 1; i <= evaluations; ++i) {
        Form1->Button1Click(Find<QPushButton>(Form1, "Button1"));
        if (i == 10)
            afterTen = ResidentKiB();
    }
    const long afterAll = ResidentKiB();
    Form1->Button2Click(Find<QPushButton>(Form1, "Button2"));
    msr::app::DestroyWindows();
    msr::gui::Messages::setPresenter({});
    std::printf("evaluations %d\nresident_after_10_kib %ld\nresident_after_all_kib %ld\n",
                evaluations, afterTen, afterAll);
    return 0;
}
