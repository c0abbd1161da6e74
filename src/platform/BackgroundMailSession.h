#pragma once

#include <memory>

#include "mail/MailSession.h"

namespace pesterly {

// Runs the slow part of a mail session, Send, on a worker thread while the calling (user
// interface) thread keeps handling paint and timer events, so that the windows repaint while
// mail goes out. Keyboard and mouse input waits, as it would behind a modal box; the call
// still returns only when the mail has gone or failed.
class BackgroundMailSession : public MailSession {
  public:
    explicit BackgroundMailSession(std::unique_ptr<MailSession> inner);

    MaybeError SignOn() override;
    void Compose() override;
    void AddRecipient(RecipientType type, std::string display_name, std::string address) override;
    void SetSubject(std::string subject) override;
    void SetNoteText(std::string text) override;
    MaybeError Send() override;
    void SignOff() override;

  private:
    std::unique_ptr<MailSession> inner_;
};

}  // namespace pesterly
