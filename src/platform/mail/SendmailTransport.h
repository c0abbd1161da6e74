#pragma once

#include <stop_token>
#include <string>

#include "platform/mail/MailTransport.h"

namespace pesterly {

inline constexpr const char* kSystemSendmail = "/usr/sbin/sendmail";

// Hands the message to the system's mail transfer agent through its sendmail program, which
// every Debian mail transfer agent provides. The program runs without a shell, so no address
// can be read as a command. A stop request ends the program's run at once.
class SendmailTransport : public MailTransport {
  public:
    explicit SendmailTransport(std::string program = kSystemSendmail, std::stop_token stop = {})
        : program_(std::move(program)), stop_(std::move(stop)) {}

    Delivery Deliver(const ComposedMail& mail) override;

  private:
    std::string program_;
    std::stop_token stop_;
};

}  // namespace pesterly
