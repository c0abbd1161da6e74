#pragma once

#include <string>

#include "store/Error.h"

namespace pesterly {

enum class RecipientType { kTo, kBcc };

// One session with the mail service, used the way the nag mail needs it: sign on, build one
// message, send it without any dialog, sign off. Only SignOn and Send talk to the outside
// world, so only they can fail; a recipient that cannot be resolved is reported by Send.
class MailSession {
  public:
    virtual ~MailSession() = default;

    virtual MaybeError SignOn() = 0;
    // Starts a new, empty message: no recipients, no subject, no text.
    virtual void Compose() = 0;
    // Appends a recipient entry. The address may hold several comma-separated mailboxes; the
    // display name may be empty.
    virtual void AddRecipient(RecipientType type, std::string display_name,
                              std::string address) = 0;
    virtual void SetSubject(std::string subject) = 0;
    virtual void SetNoteText(std::string text) = 0;
    // Sends the composed message at once. When it returns without an error the mail service
    // has taken the message for every recipient.
    virtual MaybeError Send() = 0;
    virtual void SignOff() = 0;
};

}  // namespace pesterly
