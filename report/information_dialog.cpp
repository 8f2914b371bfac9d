#include "report/information_dialog.h"

#include "ui_information_dialog.h"

#include "evaluation/rent_index/program_texts.h"
#include "gui/accessibility.h"
#include "gui/forms.h"
#include "gui/messages.h"
#include "gui/window_look.h"
#include "gui/window_placement.h"
#include "report/artwork.h"
#include "report/program_edition.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPixmap>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>

#include <stdexcept>
#include <utility>

using msr::gui::Guarded;

TForm2::TForm2(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TForm2>()) {
    msr::gui::AnnounceModality(this);
    {
        // Laid out for "MS Sans Serif" like every window, so written in its stand-in too.
        const msr::gui::StandInFonts standInFonts(this);
        ui_->setupUi(this);
    }
    // A fixed dialog frame without any title-bar buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    msr::gui::KeepCentred(this);
    // The artwork is drawn and the title lines are sized when the dialog is first made
    // ready for showing; start-up needs neither.
    for (QWidget* control : {ui_->Image1, ui_->Label2, ui_->Label3})
        control->installEventFilter(this);
    connect(ui_->Button1, &QPushButton::clicked, this, [this] { Button1Click(ui_->Button1); });

    Form2 = this;
    FormCreate(this);
}

TForm2::~TForm2() {
    if (Form2 == this)
        Form2 = nullptr;
}

QTextEdit* TForm2::infoText() const {
    return ui_->RichEdit1;
}

void TForm2::FormCreate(QObject* /*sender*/) {
    // The edition's text: each paragraph appended starts in the one before and keeps its
    // bullet, so the bullet is switched only where it changes.
    bool bulleted = false;
    setBullet(false);
    for (const msr::InformationParagraph& paragraph : msr::report::ProgramEdition().information) {
        if (paragraph.bullet != bulleted) {
            bulleted = paragraph.bullet;
            setBullet(bulleted);
        }
        AppendInfoLine(paragraph.text);
    }
    returnToStart();
}

void TForm2::FormShow(QObject* /*sender*/) {
    returnToStart();
}

void TForm2::Button1Click(QObject* /*sender*/) {
    close();
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Polish)
        Guarded(this, [this, watched] { prepareForShowing(watched); });
    return QDialog::eventFilter(watched, event);
}

void TForm2::prepareForShowing(QObject* control) {
    if (control == ui_->Image1) {
        ui_->Image1->setPixmap(
            QPixmap::fromImage(msr::report::ArtworkPicture(msr::report::Artwork::Information)));
    } else if (control == ui_->Label2) {
        // The label is sized to its text, as laid out, whichever font stands in.
        ui_->Label2->adjustSize();
    } else if (control == ui_->Label3) {
        // Without Verdana its caption is written in the face made to its measure, at the
        // size that fills the box the layout sized to it.
        msr::gui::FitCaptionInStandIn(ui_->Label3, QStringLiteral("DejaVu Sans"),
                                      ui_->Label3->width());
        ui_->Label3->resize(ui_->Label3->width(), ui_->Label3->sizeHint().height());
    }
}

// The laid-out colours where they read well; under a dark desktop theme the shades of
// the same colours that do. The text box's background is the highlight-text colour, as
// laid out, as long as the text stands out on it; where it does not (a dark theme keeps
// it white behind light text) the box takes the usual text-box colours, which always do.
void TForm2::applyColours() {
    using msr::gui::ContrastRatio;
    using msr::gui::ReadableOn;
    const QPalette themed = QApplication::palette(this);
    const QColor face = themed.color(QPalette::Window);
    for (auto [label, colour] :
         {std::pair{ui_->Label2, QColor(0, 0, 128)}, std::pair{ui_->Label3, QColor(0, 0, 255)}}) {
        QPalette palette = QApplication::palette(label);
        palette.setColor(QPalette::WindowText, ReadableOn(colour, face));
        label->setPalette(palette);
    }
    QPalette text = QApplication::palette(ui_->RichEdit1);
    const QColor laidOut = text.color(QPalette::HighlightedText);
    if (ContrastRatio(laidOut, text.color(QPalette::Text)) >= 4.5)
        text.setColor(QPalette::Base, laidOut);
    ui_->RichEdit1->setPalette(text);
}

void TForm2::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ApplicationPaletteChange)
        Guarded(this, [this] { applyColours(); });
}

void TForm2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Guarded(this, [this] { applyColours(); });
    ui_->Button1->setFocus(); // "OK" leads the tab order: each opening starts there
    Guarded(this, [this] { FormShow(this); });
}

// Esc presses "OK", the dialog's cancel button.
void TForm2::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        ui_->Button1->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

// Switches the bullet of the paragraph at the end of the text; the text of a bulleted
// paragraph starts 10 points right of its bullet.
void TForm2::setBullet(bool on) {
    QTextEdit* edit = ui_->RichEdit1;
    QTextCursor cursor(edit->document());
    cursor.movePosition(QTextCursor::End);
    if (on) {
        const double tenPoints = msr::kBulletOffsetPoints * edit->logicalDpiY() / 72.0;
        const QTextList* list = cursor.currentList();
        const double offset = list ? list->format().indent() * edit->document()->indentWidth() : 0;
        if (offset < tenPoints) {
            edit->document()->setIndentWidth(tenPoints);
            QTextListFormat bullet;
            // The box draws the bullet itself, at the left edge (see InfoTextEdit).
            bullet.setStyle(QTextListFormat::ListStyleUndefined);
            bullet.setIndent(1);
            cursor.createList(bullet);
        }
        return;
    }
    if (QTextList* list = cursor.currentList())
        list->remove(cursor.block());
    QTextBlockFormat plain = cursor.blockFormat();
    plain.setIndent(0);
    cursor.setBlockFormat(plain);
}

void TForm2::returnToStart() {
    QTextEdit* edit = ui_->RichEdit1;
    QTextCursor cursor(edit->document());
    cursor.movePosition(QTextCursor::Start);
    edit->setTextCursor(cursor);
    edit->ensureCursorVisible();
    edit->verticalScrollBar()->setValue(edit->verticalScrollBar()->minimum());
}

void AppendInfoLine(const std::string& text) {
    if (!Form2)
        throw std::logic_error("Das Informationsfenster ist nicht angelegt");
    QTextCursor cursor(Form2->infoText()->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QString::fromStdString(text));
    cursor.insertBlock();
}
