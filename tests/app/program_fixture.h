#pragma once

#include "app/main_window.h"
#include "app/picture_button.h"
#include "app/startup.h"
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
#include "report/information_dialog.h"
#include "report/preview_window.h"
#include "report/report_window.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

// Owns the steps waiting for a window of the current test, so none is left for the next.
inline QObject*& WaitingSteps() {
    static QObject* owner = nullptr;
    return owner;
}

// The program's twelve windows as start-up creates them, with the main window shown, for
// the life of one test function.
class ProgramWindows {
public:
    ProgramWindows() {
        WaitingSteps() = &waitingSteps_;
        msr::app::CreateWindows();
        Form1->show();
        [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(Form1);
    }
    ~ProgramWindows() {
        WaitingSteps() = nullptr;
        msr::app::DestroyWindows();
    }
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

private:
    QObject waitingSteps_;
};

// Polls from inside the nested event loop of whatever the next step opens, and runs the
// steps once the condition holds. If the condition never comes, nothing runs.
inline void WhenReady(std::function<bool()> ready, std::function<void()> steps) {
    auto* poll = new QTimer(WaitingSteps());
    auto deadline = std::make_shared<QDeadlineTimer>(5000);
    QObject::connect(poll, &QTimer::timeout, [poll, deadline, ready, steps] {
        if (ready()) {
            poll->stop();
            poll->deleteLater();
            steps();
        } else if (deadline->hasExpired()) {
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start(5);
}

// Runs the steps once the dialog is the modal window; a dialog that the steps leave open
// is ended after a while, so that a failing test fails instead of hanging.
inline void WhenModal(QDialog* dialog, std::function<void()> steps) {
    WhenReady([dialog] { return QApplication::activeModalWidget() == dialog; },
              [dialog, steps] {
                  steps();
                  QTimer::singleShot(3000, dialog, [dialog] {
                      if (dialog->isVisible()) {
                          qWarning("%s left open by the test", qPrintable(dialog->objectName()));
                          dialog->done(QDialog::Rejected);
                      }
                  });
              });
}

// Runs the steps once the evaluation's preview is shown, then closes the preview.
inline void WhenPreviewShown(std::function<void()> steps) {
    WhenReady([] { return Form8 && Form8->openPreview() && Form8->openPreview()->isVisible(); },
              [steps] {
                  steps();
                  Form8->openPreview()->close();
              });
}

// A click of the user's mouse on a push button.
inline void Click(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
}

// A click on the indicator of a radio button or check box.
inline void ClickOption(QWidget* option) {
    QTest::mouseClick(option, Qt::LeftButton, Qt::NoModifier, QPoint(7, option->height() / 2));
}

inline bool ShowsTick(const msr::app::PictureButton* button) {
    return button->glyph().toImage() ==
           Find<msr::app::PictureButton>(Form1, "SpeedButton6")->glyph().toImage();
}

inline bool ShowsQuestionMark(const msr::app::PictureButton* button) {
    return button->glyph().toImage() ==
           Find<msr::app::PictureButton>(Form1, "SpeedButton7")->glyph().toImage();
}
