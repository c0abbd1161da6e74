#pragma once

#include "mail/MailDraft.h"
#include "platform/MailPost.h"

namespace pesterly {

// What a delivery stopped by the program's end reports.
inline constexpr const char* kMailStoppedAtEnd =
    "Pesterly is ending, so the mail in progress was stopped; it may not have been sent.";

// The way a composed message leaves the machine.
class MailTransport {
  public:
    virtual ~MailTransport() = default;
    virtual Delivery Deliver(const ComposedMail& mail) = 0;
};

}  // namespace pesterly
