#pragma once

#include <memory>
#include <string>

#include "mail/MailSession.h"
#include "platform/MailComposer.h"
#include "platform/MailTransport.h"

namespace pesterly {

// A mail session that collects the message and, at Send, composes it and hands it to a
// transport. Nothing leaves the machine before Send.
class TransportMailSession : public MailSession {
  public:
    TransportMailSession(std::unique_ptr<MailTransport> transport, std::string from);

    MaybeError SignOn() override;
    void Compose() override;
    void AddRecipient(RecipientType type, std::string display_name, std::string address) override;
    void SetSubject(std::string subject) override;
    void SetNoteText(std::string text) override;
    MaybeError Send() override;
    void SignOff() override;

  private:
    std::unique_ptr<MailTransport> transport_;
    std::string from_;
    MailDraft draft_;
    bool signed_on_ = false;
};

}  // namespace pesterly
