#pragma once

#include "gui/messages.h"

#include <QList>
#include <QString>

// Takes the place of the message box while it lives: records every message that would be
// shown and answers questions with the reply it is given.
class RecordedMessages {
public:
    explicit RecordedMessages(msr::gui::MessageResult reply = msr::gui::MessageResult::Ok) {
        reply_ = reply;
        msr::gui::Messages::setPresenter([this](const msr::gui::MessageRequest& request) {
            requests.append(request);
            return request.buttons == msr::gui::MessageButtons::YesNo ? reply_
                                                                      : msr::gui::MessageResult::Ok;
        });
    }
    ~RecordedMessages() { msr::gui::Messages::setPresenter({}); }
    RecordedMessages(const RecordedMessages&) = delete;
    RecordedMessages& operator=(const RecordedMessages&) = delete;

    void replyToQuestionsWith(msr::gui::MessageResult reply) { reply_ = reply; }

    // The text of the only message shown, or an empty text when none was.
    QString onlyText() const { return requests.size() == 1 ? requests.first().text : QString(); }

    QList<msr::gui::MessageRequest> requests;

private:
    msr::gui::MessageResult reply_;
};
