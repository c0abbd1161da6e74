#pragma once

#include <stop_token>
#include <string>

#include "mail/MailDraft.h"
#include "store/Error.h"

namespace pesterly {

// What became of a mail handed to the mail service.
struct Delivery {
    enum class Outcome {
        kSent,      // the service took it for every recipient
        kTryLater,  // not taken now (no connection, a server down, a stop at the end)
        kRefused,   // refused for good: sending it again would get the same answer
    };
    Outcome outcome = Outcome::kSent;
    std::string message;  // why, when not sent

    static Delivery Sent() { return {}; }
    static Delivery TryLater(std::string why) { return {Outcome::kTryLater, std::move(why)}; }
    static Delivery Refused(std::string why) { return {Outcome::kRefused, std::move(why)}; }
};

// Where the nag mail goes and whom it comes from.
struct MailSettings {
    // smtp://host:port or smtps://host:port; empty: the system's sendmail program.
    std::string smtp_url;
    std::string sendmail_program;
    // Empty: the automatic sender (DefaultSenderAddress).
    std::string from;
    // A login from the Mail Server settings and the keyring; empty: from the URL or ~/.netrc.
    std::string user;
    std::string password;
    // The server must encrypt the connection (STARTTLS) even when no login is sent.
    bool require_encryption = false;
    // Certificates to trust instead of the system's (PESTERLY_MAIL_CA_FILE, for tests).
    std::string ca_file;
    // Requested when the program ends: a mail still in progress is stopped.
    std::stop_token stop;
};

// The way out for mail: sendmail or an SMTP server, with its sender. This is all the program
// knows of the mail module, which makes it (PesterlyMakeMailPost in MailModule.h).
class MailPost {
  public:
    virtual ~MailPost() = default;
    // Builds the draft's message and envelope; fails, naming the address, when one cannot be
    // used. Nothing leaves the machine.
    virtual Result<ComposedMail> Compose(const MailDraft& draft) = 0;
    // Hands the mail to the mail service and waits for its answer. Safe on any thread.
    virtual Delivery Deliver(const ComposedMail& mail) = 0;
    // Sends a short mail to the sender address at once: the mail service's answer, in words
    // for the user, or why the mail could not be sent. Safe on any thread.
    virtual Result<std::string> SendTestMail() = 0;

    // Sends one draft: a draft that cannot be composed counts as refused.
    Delivery Send(const MailDraft& draft) {
        const Result<ComposedMail> mail = Compose(draft);
        if (!mail) {
            return Delivery::Refused(mail.error().message);
        }
        return Deliver(*mail);
    }
};

}  // namespace pesterly
