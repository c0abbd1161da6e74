#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "mail/MailSession.h"
#include "store/Error.h"

namespace pesterly {

struct MailRecipient {
    RecipientType type = RecipientType::kTo;
    std::string display_name;
    // One or more comma-separated mailboxes.
    std::string address;
};

// A message as the nag mail builds it, before any of it is checked.
struct MailDraft {
    std::vector<MailRecipient> recipients;
    std::string subject;
    std::string text;
};

// SMTP wants CR LF; a local sendmail wants the local convention, LF.
enum class LineEnds { kCrLf, kLf };

// A message ready for a transport: the envelope and the whole text with its headers.
struct ComposedMail {
    std::string sender;                            // bare address for MAIL FROM
    std::vector<std::string> envelope_recipients;  // bare addresses, each once
    std::string text;
};

// Builds the message text and its envelope. The To entries form the To header; blind copies
// reach the envelope only and appear in no header. A group such as "undisclosed-recipients:;"
// stays in the header and adds nobody to the envelope. Fails, naming the culprit, when a
// recipient text holds a line break, an item without "@" or an item that cannot be read, when
// the sender cannot be read, or when nobody at all would receive the mail.
MaybeError ComposeMail(const MailDraft& draft, std::string_view from, LineEnds line_ends,
                       ComposedMail& out);

// The sender of the nag mail: $EMAIL when set, else the user at the first line of
// mailname_path, else the user at the host name.
std::string DefaultSenderAddress(const char* mailname_path = "/etc/mailname");

}  // namespace pesterly
