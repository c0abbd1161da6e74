#include "platform/TransportMailSession.h"

namespace pesterly {

TransportMailSession::TransportMailSession(std::unique_ptr<MailTransport> transport,
                                           std::string from)
    : transport_(std::move(transport)), from_(std::move(from)) {}

MaybeError TransportMailSession::SignOn() {
    if (MaybeError error = transport_->CheckReady()) {
        return error;
    }
    signed_on_ = true;
    return std::nullopt;
}

void TransportMailSession::Compose() {
    draft_ = MailDraft{};
}

void TransportMailSession::AddRecipient(RecipientType type, std::string display_name,
                                        std::string address) {
    draft_.recipients.push_back({type, std::move(display_name), std::move(address)});
}

void TransportMailSession::SetSubject(std::string subject) {
    draft_.subject = std::move(subject);
}

void TransportMailSession::SetNoteText(std::string text) {
    draft_.text = std::move(text);
}

MaybeError TransportMailSession::Send() {
    if (!signed_on_) {
        return Error{"The mail session is not open."};
    }
    ComposedMail mail;
    if (MaybeError error = ComposeMail(draft_, from_, transport_->WantedLineEnds(), mail)) {
        return error;
    }
    return transport_->Deliver(mail);
}

void TransportMailSession::SignOff() {
    draft_ = MailDraft{};
    signed_on_ = false;
}

}  // namespace pesterly
