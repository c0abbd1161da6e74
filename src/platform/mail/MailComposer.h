#pragma once

#include <string>
#include <string_view>

#include "mail/MailDraft.h"
#include "store/Error.h"

namespace pesterly {

// Builds the message text, lines ending in LF, and its envelope: the draft's To line becomes
// the To header, and its recipients, resolved to single mailboxes, the envelope; nothing else
// is added to either. Fails, naming the culprit, when an address text holds a line break, an
// item without "@" or an item that cannot be read, when the sender cannot be read, or when
// nobody at all would receive the mail.
Result<ComposedMail> ComposeMail(const MailDraft& draft, std::string_view from);

// The sender of the nag mail: $EMAIL when set, else the user at the first line of
// mailname_path, else the user at the host name.
std::string DefaultSenderAddress(const char* mailname_path = "/etc/mailname");

}  // namespace pesterly
