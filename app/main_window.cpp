#include "app/main_window.h"

#include "app/pictures.h"
#include "gui/forms.h"
#include "gui/handlers.h"
#include "gui/messages.h"
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
#include "report/report_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLayout>

using msr::app::PictureButton;
using msr::gui::Guarded;
using msr::gui::OnClick;

namespace {

const QString kRequiredAnswersMissing = QStringLiteral(
    "Sie müssen vor der Auswertung das Baujahr und die Wohnungsröße festlegen sowie das "
    "Gebiet angeben, in dem sich die Wohnung befindet. Mindestens eine dieser Angaben fehlt.");

const QString kConfirmReset = QStringLiteral(
    "Wollen Sie wirklich alle Daten zurücksetzen? Ihre bisherigen Eingaben gehen dann "
    "verloren.");

const QString kAnswered = QStringLiteral("beantwortet");
const QString kOpen = QStringLiteral("offen");

bool IsAnswered(const PictureButton* button) {
    return button->tag() != 0;
}

// The dialog's OK or the dialog itself decides whether its button is marked.
void ShowModally(QDialog* dialog) {
    dialog->exec();
}

} // namespace

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint) {
    {
        const msr::gui::StandInFonts standInFonts(this);
        setupUi(this);
    }
    // The client area below the menu keeps the size its layout gives.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    SpeedButton6->setGlyph(msr::app::TickPicture());
    SpeedButton7->setGlyph(msr::app::QuestionMarkPicture());
    for (PictureButton* button : QuestionnaireButtons()) {
        button->setAccessibleName(button->text().trimmed());
        MarkOpen(button);
    }
    BindHandlers();
}

void TForm1::BindHandlers() {
    msr::gui::OnTrigger(Beenden1, this, &TForm1::Beenden1Click);
    msr::gui::OnTrigger(Info1, this, &TForm1::Info1Click);
    OnClick(SpeedButton11, this, &TForm1::SpeedButton11Click);
    OnClick(SpeedButton8, this, &TForm1::SpeedButton8Click);
    OnClick(SpeedButton2, this, &TForm1::SpeedButton2Click);
    OnClick(SpeedButton1, this, &TForm1::SpeedButton1Click);
    OnClick(SpeedButton3, this, &TForm1::SpeedButton3Click);
    OnClick(SpeedButton4, this, &TForm1::SpeedButton4Click);
    OnClick(SpeedButton5, this, &TForm1::SpeedButton5Click);
    OnClick(SpeedButton9, this, &TForm1::SpeedButton9Click);
    OnClick(SpeedButton10, this, &TForm1::SpeedButton10Click);
    OnClick(Button1, this, &TForm1::Button1Click);
    OnClick(Button2, this, &TForm1::Button2Click);
}

QList<PictureButton*> TForm1::QuestionnaireButtons() const {
    return {SpeedButton11, SpeedButton8, SpeedButton2, SpeedButton1, SpeedButton3,
            SpeedButton4,  SpeedButton5, SpeedButton9, SpeedButton10};
}

void TForm1::MarkAnswered(PictureButton* button) {
    button->setGlyph(SpeedButton6->glyph());
    button->setTag(1);
    button->setAccessibleDescription(kAnswered);
}

void TForm1::MarkOpen(PictureButton* button) {
    button->setGlyph(SpeedButton7->glyph());
    button->setTag(0);
    button->setAccessibleDescription(kOpen);
}

void TForm1::Beenden1Click(QObject*) {
    Guarded([this] { close(); });
}

void TForm1::Info1Click(QObject*) {
    Guarded([] { ShowModally(Form2); });
}

void TForm1::SpeedButton11Click(QObject*) {
    Guarded([] { ShowModally(Form12); });
}

void TForm1::SpeedButton8Click(QObject*) {
    Guarded([] { ShowModally(Form9); });
}

void TForm1::SpeedButton2Click(QObject*) {
    Guarded([] { ShowModally(Form3); });
}

void TForm1::SpeedButton1Click(QObject*) {
    Guarded([] { ShowModally(Form7); });
}

void TForm1::SpeedButton3Click(QObject*) {
    Guarded([] { ShowModally(Form6); });
}

void TForm1::SpeedButton4Click(QObject*) {
    Guarded([] { ShowModally(Form4); });
}

void TForm1::SpeedButton5Click(QObject*) {
    Guarded([] { ShowModally(Form5); });
}

void TForm1::SpeedButton9Click(QObject*) {
    Guarded([] { ShowModally(Form10); });
}

void TForm1::SpeedButton10Click(QObject*) {
    Guarded([] { ShowModally(Form11); });
}

void TForm1::Button1Click(QObject* sender) {
    Guarded([this, sender] { Evaluate(sender); });
}

void TForm1::Button2Click(QObject*) {
    Guarded([this] {
        if (msr::gui::Messages::confirm(kConfirmReset))
            ResetAllInputs();
    });
}

void TForm1::Evaluate(QObject* sender) {
    // Only the three required dialogs count; the other flags are for the user's eyes.
    if (IsAnswered(SpeedButton8) && IsAnswered(SpeedButton10) && IsAnswered(SpeedButton11))
        Form8->SpeedButton1Click(sender);
    else
        msr::gui::Messages::refuse(kRequiredAnswersMissing);
}

void TForm1::ResetAllInputs() {
    for (PictureButton* button :
         {SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4, SpeedButton5, SpeedButton8,
          SpeedButton9, SpeedButton10, SpeedButton11})
        MarkOpen(button);
    // Clearing runs no handler, so the year dialog's coupling of class and side stays out.
    for (msr::questionnaire::QuestionnaireDialog* dialog :
         std::initializer_list<msr::questionnaire::QuestionnaireDialog*>{
             Form3, Form4, Form5, Form6, Form7, Form9, Form10, Form11, Form12})
        dialog->ClearInputs();
}

void TForm1::showEvent(QShowEvent* event) {
    if (!centred_) {
        msr::gui::CentreOnScreen(this);
        centred_ = true;
    }
    QMainWindow::showEvent(event);
}

void TForm1::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program, even while a preview window is open.
    event->accept();
    QCoreApplication::quit();
}
