#pragma once

#include <string>
#include "mail/MailDraft.h"

#include "platform/mail/MailPost.h"

namespace pesterly {

// What a delivery stopped by the program's end reports.
inline constexpr const char* kMailStoppedAtEnd =
    "Pesterly is ending, so the mail in progress was stopped; it may not have been sent.";

// The way a composed message leaves the machine.
class MailTransport {
  public:
    virtual ~MailTransport() = default;
    virtual Delivery Deliver(const ComposedMail& mail) = 0;
    // The last answer of the mail service to a delivery, for a person to read; may be empty.
    virtual std::string LastAnswer() const { return {}; }
};

}  // namespace pesterly
