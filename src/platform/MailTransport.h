#pragma once

#include "platform/MailComposer.h"
#include "store/Error.h"

namespace pesterly {

// What a delivery stopped by the program's end reports.
inline constexpr const char* kMailStoppedAtEnd =
    "Pesterly is ending, so the mail in progress was stopped; it may not have been sent.";

// The way a composed message leaves the machine.
class MailTransport {
  public:
    virtual ~MailTransport() = default;
    virtual LineEnds WantedLineEnds() const = 0;
    // Whether the transport can be used at all, checked before a message is composed.
    virtual MaybeError CheckReady() = 0;
    virtual MaybeError Deliver(const ComposedMail& mail) = 0;
};

}  // namespace pesterly
