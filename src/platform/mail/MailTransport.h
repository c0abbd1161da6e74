#pragma once

#include <memory>
#include <string>
#include "mail/MailDraft.h"

#include "platform/mail/MailPost.h"

// Inside the mail module only: the program reaches these through MailPost.
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

// The mail service these settings name: the messages come from settings.from (the automatic
// sender when it is empty) and leave by SMTP or by the sendmail program (the system's when it
// names none).
std::unique_ptr<MailPost> MakeMailPost(MailSettings settings);

}  // namespace pesterly
