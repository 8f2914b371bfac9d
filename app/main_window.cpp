#include "app/main_window.h"

#include "app/picture_button.h"
#include "app/pictures.h"
#include "evaluation/rent_index/admission.h"
#include "evaluation/rent_index/program_texts.h"
#include "gui/forms.h"
#include "gui/handlers.h"
#include "gui/messages.h"
#include "gui/window_look.h"
#include "gui/window_placement.h"
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
#include "ui_main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLayout>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QWindow>

using msr::app::PictureButton;
using msr::gui::Guarded;
using msr::questionnaire::QuestionnaireDialog;

namespace {

const QString kAnswered = QStringLiteral("beantwortet");
const QString kOpen = QStringLiteral("offen");

// A questionnaire button of the main window, its handler, and the dialog it opens. The
// dialogs are reached through their global instances, which exist only once every window
// is created.
struct QuestionnaireEntry {
    PictureButton* Ui::TForm1::*button;
    msr::gui::Handler<TForm1> handler;
    QuestionnaireDialog* (*dialog)();
};

// The questionnaire buttons, top to bottom.
const QuestionnaireEntry kQuestionnaire[] = {
    {&Ui::TForm1::SpeedButton11, &TForm1::SpeedButton11Click,
     []() -> QuestionnaireDialog* { return Form12; }},
    {&Ui::TForm1::SpeedButton8, &TForm1::SpeedButton8Click,
     []() -> QuestionnaireDialog* { return Form9; }},
    {&Ui::TForm1::SpeedButton2, &TForm1::SpeedButton2Click,
     []() -> QuestionnaireDialog* { return Form3; }},
    {&Ui::TForm1::SpeedButton1, &TForm1::SpeedButton1Click,
     []() -> QuestionnaireDialog* { return Form7; }},
    {&Ui::TForm1::SpeedButton3, &TForm1::SpeedButton3Click,
     []() -> QuestionnaireDialog* { return Form6; }},
    {&Ui::TForm1::SpeedButton4, &TForm1::SpeedButton4Click,
     []() -> QuestionnaireDialog* { return Form4; }},
    {&Ui::TForm1::SpeedButton5, &TForm1::SpeedButton5Click,
     []() -> QuestionnaireDialog* { return Form5; }},
    {&Ui::TForm1::SpeedButton9, &TForm1::SpeedButton9Click,
     []() -> QuestionnaireDialog* { return Form10; }},
    {&Ui::TForm1::SpeedButton10, &TForm1::SpeedButton10Click,
     []() -> QuestionnaireDialog* { return Form11; }},
};

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
                              Qt::WindowCloseButtonHint),
      ui_(std::make_unique<Ui::TForm1>()) {
    {
        const msr::gui::StandInFonts standInFonts(this);
        ui_->setupUi(this);
    }
    // The client area below the menu keeps the size its layout gives.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    ui_->SpeedButton6->setGlyph(msr::app::TickPicture());
    ui_->SpeedButton7->setGlyph(msr::app::QuestionMarkPicture());
    // The two picture holders stay hidden in a window of their own that is never shown, so
    // screen readers do not hear of them among the buttons.
    auto* holders = new QWidget(this, Qt::Window);
    holders->setObjectName(QStringLiteral("PictureHolders"));
    ui_->SpeedButton6->setParent(holders);
    ui_->SpeedButton7->setParent(holders);
    for (PictureButton* button : QuestionnaireButtons()) {
        button->setAccessibleName(button->text().trimmed());
        MarkOpen(button);
    }
    BindHandlers();
    // Fitted and centred when shown, and again once the window system has drawn the frame.
    msr::gui::KeepCentred(this, [this] { FitIntoScreen(); });
}

TForm1::~TForm1() = default;

void TForm1::BindHandlers() {
    msr::gui::OnTrigger(ui_->Beenden1, this, &TForm1::Beenden1Click);
    msr::gui::OnTrigger(ui_->Info1, this, &TForm1::Info1Click);
    for (const QuestionnaireEntry& entry : kQuestionnaire)
        msr::gui::OnClick((*ui_).*entry.button, this, entry.handler);
    msr::gui::OnClick(ui_->Button1, this, &TForm1::Button1Click);
    msr::gui::OnClick(ui_->Button2, this, &TForm1::Button2Click);
}

void TForm1::ConnectQuestionnaire() {
    for (const QuestionnaireEntry& entry : kQuestionnaire) {
        PictureButton* button = (*ui_).*entry.button;
        connect(entry.dialog(), &QuestionnaireDialog::answered, this,
                [this, button] { MarkAnswered(button); });
    }
}

QList<PictureButton*> TForm1::QuestionnaireButtons() const {
    QList<PictureButton*> buttons;
    for (const QuestionnaireEntry& entry : kQuestionnaire)
        buttons.append((*ui_).*entry.button);
    return buttons;
}

void TForm1::MarkAnswered(PictureButton* button) {
    button->setGlyph(ui_->SpeedButton6->glyph());
    button->setTag(1);
    button->setAccessibleDescription(kAnswered);
}

void TForm1::MarkOpen(PictureButton* button) {
    button->setGlyph(ui_->SpeedButton7->glyph());
    button->setTag(0);
    button->setAccessibleDescription(kOpen);
}

void TForm1::Beenden1Click(QObject*) {
    Guarded(this, [this] { close(); });
}

void TForm1::Info1Click(QObject*) {
    Guarded(this, [] { ShowModally(Form2); });
}

void TForm1::SpeedButton11Click(QObject*) {
    OpenQuestionnaire(ui_->SpeedButton11);
}

void TForm1::SpeedButton8Click(QObject*) {
    OpenQuestionnaire(ui_->SpeedButton8);
}

void TForm1::SpeedButton2Click(QObject*) {
    OpenQuestionnaire(ui_->SpeedButton2);
}

void TForm1::SpeedButton1Click(QObject*) {
    OpenQuestionnaire(ui_->SpeedButton1);
}

void TForm1::SpeedButton3Click(QObject*) {
    OpenQuestionnaire(ui_->SpeedButton3);
}

void TForm1::SpeedButton4Click(QObject*) {
    OpenQuestionnaire(ui_->SpeedButton4);
}

void TForm1::SpeedButton5Click(QObject*) {
    OpenQuestionnaire(ui_->SpeedButton5);
}

void TForm1::SpeedButton9Click(QObject*) {
    OpenQuestionnaire(ui_->SpeedButton9);
}

void TForm1::SpeedButton10Click(QObject*) {
    OpenQuestionnaire(ui_->SpeedButton10);
}

void TForm1::OpenQuestionnaire(const PictureButton* button) {
    Guarded(this, [this, button] {
        for (const QuestionnaireEntry& entry : kQuestionnaire)
            if ((*ui_).*entry.button == button)
                ShowModally(entry.dialog());
    });
}

void TForm1::Button1Click(QObject* sender) {
    Guarded(this, [this, sender] { Evaluate(sender); });
}

void TForm1::Button2Click(QObject*) {
    Guarded(this, [this] {
        if (msr::gui::Messages::confirm(QString::fromUtf8(msr::kResetQuestion), this))
            ResetAllInputs();
    });
}

void TForm1::Evaluate(QObject* sender) {
    // Only the three required dialogs count; the other flags are for the user's eyes.
    const msr::RequiredAnswers answered{IsAnswered(ui_->SpeedButton11),
                                        IsAnswered(ui_->SpeedButton8),
                                        IsAnswered(ui_->SpeedButton10)};
    if (const auto refusal = msr::EvaluationRefusal(answered))
        msr::gui::Messages::refuse(QString::fromStdString(*refusal), this);
    else
        Form8->SpeedButton1Click(sender);
}

void TForm1::ResetAllInputs() {
    // Clearing runs no handler, so the year dialog's coupling of class and side stays out.
    for (const QuestionnaireEntry& entry : kQuestionnaire) {
        MarkOpen((*ui_).*entry.button);
        entry.dialog()->ClearInputs();
    }
}

void TForm1::showEvent(QShowEvent* event) {
    if (!screenWatched_) {
        screenWatched_ = true;
        if (QWindow* window = windowHandle())
            connect(window, &QWindow::screenChanged, this,
                    [this] { msr::gui::Guarded(this, [this] { FitIntoScreen(); }); });
    }
    QMainWindow::showEvent(event);
}

// On a screen too low for the window (800 x 600, or a laptop at 125 %) the client area
// scrolls, so that every button can still be reached by mouse; the window then fills the
// height there is. Where the window fits it stays exactly as laid out.
void TForm1::FitIntoScreen() {
    QWidget* client = ui_->centralwidget;
    const int room = msr::gui::AvailableClientHeight(this) - menuBar()->sizeHint().height();
    const bool tooHigh = client->height() > room;
    if (tooHigh && !scrollArea_) {
        scrollArea_ = new QScrollArea(this);
        scrollArea_->setObjectName(QStringLiteral("ScrollArea"));
        scrollArea_->setFrameShape(QFrame::NoFrame);
        scrollArea_->setFocusPolicy(Qt::NoFocus); // the tab order stays the layout's
        scrollArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scrollArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        scrollArea_->setWidget(takeCentralWidget());
        setCentralWidget(scrollArea_);
        scrollArea_->show();
    } else if (!tooHigh && scrollArea_) {
        QWidget* area = takeCentralWidget();
        setCentralWidget(scrollArea_->takeWidget());
        client->show();
        delete area;
        scrollArea_ = nullptr;
    }
    if (scrollArea_)
        scrollArea_->setFixedSize(
            client->width() + scrollArea_->verticalScrollBar()->sizeHint().width(), room);
    // The window takes its new size before it is placed.
    layout()->activate();
}

void TForm1::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program, even while a preview window is open.
    event->accept();
    QCoreApplication::quit();
}

void TForm1::changeEvent(QEvent* event) {
    // A questionnaire dialog minimised takes the main window with it; restored, the main
    // window brings the dialog back.
    if (event->type() == QEvent::WindowStateChange && !isMinimized())
        msr::gui::RestoreMinimisedDialogs(this);
    QMainWindow::changeEvent(event);
}
