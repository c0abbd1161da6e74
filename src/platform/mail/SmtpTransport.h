#pragma once

#include <stop_token>
#include <string>

#include "platform/mail/MailTransport.h"

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
    std::string LastAnswer() const override { return answer_; }

    // A login of its own, taken before ~/.netrc; it is only ever sent encrypted.
    void SetLogin(std::string user, std::string password) {
        user_ = std::move(user);
        password_ = std::move(password);
    }
    // Sends nothing unless the connection is encrypted, even without a login.
    void RequireEncryption() { require_encryption_ = true; }
    // Trusts the certificates of this file instead of the system's (for tests).
    void TrustCertificates(std::string ca_file) { ca_file_ = std::move(ca_file); }

  private:
    Result<void> CheckReady();

    std::string url_;
    std::stop_token stop_;
    std::string host_;
    // Where a login for the server may come from; empty when none can be sent.
    std::string login_source_;
    std::string user_;
    std::string password_;
    bool require_encryption_ = false;
    std::string ca_file_;
    std::string answer_;
};

}  // namespace pesterly
