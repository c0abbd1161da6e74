#include "platform/BackgroundMailSession.h"

#include <QEventLoop>
#include <QMetaObject>
#include <thread>

namespace pesterly {

BackgroundMailSession::BackgroundMailSession(std::unique_ptr<MailSession> inner)
    : inner_(std::move(inner)) {}

MaybeError BackgroundMailSession::SignOn() {
    return inner_->SignOn();
}

void BackgroundMailSession::Compose() {
    inner_->Compose();
}

void BackgroundMailSession::AddRecipient(RecipientType type, std::string display_name,
                                         std::string address) {
    inner_->AddRecipient(type, std::move(display_name), std::move(address));
}

void BackgroundMailSession::SetSubject(std::string subject) {
    inner_->SetSubject(std::move(subject));
}

void BackgroundMailSession::SetNoteText(std::string text) {
    inner_->SetNoteText(std::move(text));
}

MaybeError BackgroundMailSession::Send() {
    MaybeError result;
    QEventLoop loop;
    std::thread worker([this, &result, &loop] {
        result = inner_->Send();
        // Queued, so the quit waits for the loop to run even when the mail was quicker.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    return result;
}

void BackgroundMailSession::SignOff() {
    inner_->SignOff();
}

}  // namespace pesterly
