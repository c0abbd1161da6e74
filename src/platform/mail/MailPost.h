#pragma once

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

// The way out for mail: sendmail or an SMTP server, with its sender.
class MailPost {
  public:
    virtual ~MailPost() = default;
    // Builds the draft's message and envelope; fails, naming the address, when one cannot be
    // used. Nothing leaves the machine.
    virtual Result<ComposedMail> Compose(const MailDraft& draft) = 0;
    // Hands the mail to the mail service and waits for its answer. Safe on any thread.
    virtual Delivery Deliver(const ComposedMail& mail) = 0;

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
