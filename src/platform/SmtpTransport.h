#pragma once

#include <string>

#include "platform/MailTransport.h"

namespace pesterly {

// Sends the message straight to a mail server named by a URL: smtp://host:port (STARTTLS
// when the server offers it, and required once a password is involved) or smtps://host:port.
// The user name and password come from the URL or from ~/.netrc.
class SmtpTransport : public MailTransport {
  public:
    explicit SmtpTransport(std::string url) : url_(std::move(url)) {}

    LineEnds WantedLineEnds() const override { return LineEnds::kCrLf; }
    MaybeError CheckReady() override;
    MaybeError Deliver(const ComposedMail& mail) override;

  private:
    std::string url_;
    std::string host_;
    bool has_credentials_ = false;
};

}  // namespace pesterly
