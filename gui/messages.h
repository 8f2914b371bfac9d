#pragma once

#include <QString>

#include <exception>
#include <functional>

class QWidget;

namespace msr::gui {

// The program's title: the caption of every message box.
inline constexpr const char* kApplicationTitle = "Mietspiegel Varlstadt";

enum class MessageIcon { Exclamation, Question, Stop };
enum class MessageButtons { Ok, YesNo };
enum class MessageResult { Ok, Yes, No };

struct MessageRequest {
    QString caption;
    QString text;
    MessageIcon icon = MessageIcon::Exclamation;
    MessageButtons buttons = MessageButtons::Ok;
    // The window the user is working in: the box stands over it and gives the focus
    // back to it. Null only when no window of the program is shown.
    QWidget* owner = nullptr;
};

// Shows a request and returns the button pressed. Tests install their own to see what
// would be shown and to answer it.
using MessagePresenter = std::function<MessageResult(const MessageRequest&)>;

// The one application-level message box: modal to the whole application, captioned
// with the application title. Its owner is the window given (the one whose handler
// speaks), else the modal dialog or the active window: the box stands over that window,
// and closing it returns the focus there, so the next key goes where the user was.
class Messages {
public:
    static MessageResult show(const QString& text, MessageIcon icon, MessageButtons buttons,
                              QWidget* owner = nullptr);
    // A refusal: exclamation icon, OK.
    static void refuse(const QString& text, QWidget* owner = nullptr);
    // The reset's confirmation: question icon, Ja/Nein; true for Ja.
    static bool confirm(const QString& text, QWidget* owner = nullptr);
    // The standard error report: stop icon, OK, the message with its full stop.
    static void reportError(const QString& message, QWidget* owner = nullptr);

    // Replaces how messages are shown; an empty presenter restores the real box.
    static void setPresenter(MessagePresenter presenter);
};

// The message of the error being handled, for the standard error report.
QString CurrentErrorMessage(std::exception_ptr error);

// Runs an event handler; an error escaping it is shown with the standard error report
// and goes no further, so no exception ever crosses a Qt frame.
template <class Handler> void Guarded(Handler&& handler) noexcept {
    try {
        handler();
    } catch (...) {
        Messages::reportError(CurrentErrorMessage(std::current_exception()));
    }
}

// The same for a handler of the window given: the report stands over that window.
template <class Handler> void Guarded(QWidget* window, Handler&& handler) noexcept {
    try {
        handler();
    } catch (...) {
        Messages::reportError(CurrentErrorMessage(std::current_exception()), window);
    }
}

} // namespace msr::gui
