#include "gui/messages.h"

#include "evaluation/entry.h"
#include "evaluation/rent_index/admission.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include <new>
#include <stdexcept>

namespace msr::gui {
namespace {

MessagePresenter& Presenter() {
    static MessagePresenter presenter;
    return presenter;
}

QMessageBox::Icon ToBoxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::Exclamation:
        break;
    }
    return QMessageBox::Warning;
}

// The window given where it is shown, else the modal dialog, else the active window.
QWidget* OwnerFor(QWidget* given) {
    if (given && given->window()->isVisible())
        return given->window();
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return nullptr;
}

// The window system may hand the focus to any window once the box is gone (openbox gave
// it to the main window hidden behind a maximised preview); the owner takes it back.
void ReturnFocusTo(QWidget* owner) {
    if (owner && owner->isVisible()) {
        owner->raise();
        owner->activateWindow();
    }
}

int Run(QMessageBox& box, QWidget* owner) {
    const QPointer<QWidget> guardedOwner(owner);
    const int result = box.exec();
    ReturnFocusTo(guardedOwner);
    return result;
}

MessageResult ShowBox(const MessageRequest& request) {
    QMessageBox box(ToBoxIcon(request.icon), request.caption, request.text, QMessageBox::NoButton,
                    request.owner);
    // A message quotes what the user typed; "<b>45</b>" must show as typed, not in bold.
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    // No title-bar buttons; where a window manager shows a close box all the same, it
    // answers as Esc does (OK, or "Nein").
    box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    if (request.buttons == MessageButtons::YesNo) {
        QPushButton* yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        Run(box, request.owner);
        return box.clickedButton() == yes ? MessageResult::Yes : MessageResult::No;
    }
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    Run(box, request.owner);
    return MessageResult::Ok;
}

} // namespace

MessageResult Messages::show(const QString& text, MessageIcon icon, MessageButtons buttons,
                             QWidget* owner) {
    MessageRequest request{QString::fromUtf8(kApplicationTitle), text, icon, buttons,
                           OwnerFor(owner)};
    if (Presenter())
        return Presenter()(request);
    return ShowBox(request);
}

void Messages::refuse(const QString& text, QWidget* owner) {
    show(text, MessageIcon::Exclamation, MessageButtons::Ok, owner);
}

bool Messages::confirm(const QString& text, QWidget* owner) {
    return show(text, MessageIcon::Question, MessageButtons::YesNo, owner) == MessageResult::Yes;
}

void Messages::reportError(const QString& message, QWidget* owner) {
    show(QString::fromStdString(msr::WithFullStop(message.toStdString())), MessageIcon::Stop,
         MessageButtons::Ok, owner);
}

void Messages::setPresenter(MessagePresenter presenter) {
    Presenter() = std::move(presenter);
}

QString CurrentErrorMessage(std::exception_ptr error) {
    return QString::fromStdString(msr::FailureMessage(error));
}

} // namespace msr::gui
