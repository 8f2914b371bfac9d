#include "gui/messages.h"

#include "evaluation/admission.h"

#include <QApplication>
#include <QMessageBox>
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

MessageResult ShowBox(const MessageRequest& request) {
    QMessageBox box(ToBoxIcon(request.icon), request.caption, request.text);
    // A message quotes what the user typed; "<b>45</b>" must show as typed, not in bold.
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    if (request.buttons == MessageButtons::YesNo) {
        QPushButton* yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? MessageResult::Yes : MessageResult::No;
    }
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
    return MessageResult::Ok;
}

} // namespace

MessageResult Messages::show(const QString& text, MessageIcon icon, MessageButtons buttons) {
    MessageRequest request{QString::fromUtf8(kApplicationTitle), text, icon, buttons};
    if (Presenter())
        return Presenter()(request);
    return ShowBox(request);
}

void Messages::refuse(const QString& text) {
    show(text, MessageIcon::Exclamation, MessageButtons::Ok);
}

bool Messages::confirm(const QString& text) {
    return show(text, MessageIcon::Question, MessageButtons::YesNo) == MessageResult::Yes;
}

void Messages::reportError(const QString& message) {
    show(QString::fromStdString(msr::WithFullStop(message.toStdString())), MessageIcon::Stop,
         MessageButtons::Ok);
}

void Messages::setPresenter(MessagePresenter presenter) {
    Presenter() = std::move(presenter);
}

QString CurrentErrorMessage(std::exception_ptr error) {
    try {
        if (error)
            std::rethrow_exception(error);
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Zu wenig Arbeitsspeicher");
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
    }
    return QStringLiteral("Unbekannter Fehler");
}

} // namespace msr::gui
