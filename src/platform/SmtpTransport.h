#pragma once

#include <stop_token>
#include <string>

#include "platform/MailTransport.h"

namespace pesterly {

// Sends the message straight to a mail server named by a URL: smtp://host:port (STARTTLS
// when the server offers it, and required whenever a login may be sent) or smtps://host:port.
// The user name and password come from the URL or from ~/.netrc. A stop request ends a
// delivery in progress at once.
class SmtpTransport : public MailTransport {
  public:
    explicit SmtpTransport(std::string url, std::stop_token stop = {})
        : url_(std::move(url)), stop_(std::move(stop)) {}

    Delivery Deliver(const ComposedMail& mail) override;

  private:
    MaybeError CheckReady();

    std::string url_;
    std::stop_token stop_;
    std::string host_;
    // Where a login for the server may come from; empty when none can be sent.
    std::string login_source_;
};

}  // namespace pesterly
