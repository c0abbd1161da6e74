#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/Error.h"

namespace pesterly {

// One mail as the program decides it, before any address is looked at: who sees what, and who
// receives it. Everything here is text as the user entered it.
struct MailDraft {
    std::string event;  // the event's description, to name the mail in messages
    std::string subject;
    std::string text;
    std::string to;  // the visible To line
    // Who receives the mail: address texts, each of which may hold several comma-separated
    // mailboxes. Only these reach the envelope; a blind copy is here and not in `to`.
    std::vector<std::string> recipients;

    friend bool operator==(const MailDraft&, const MailDraft&) = default;
};

// A draft once its message is built: the envelope and the whole message with its headers,
// lines ending in LF. Kept as it is until the mail service takes it, so that a mail sent later
// carries the date and message id it was written with.
struct ComposedMail {
    std::string event;
    std::string sender;                            // bare address for MAIL FROM
    std::vector<std::string> envelope_recipients;  // bare addresses, each once
    std::string text;

    friend bool operator==(const ComposedMail&, const ComposedMail&) = default;
};

// The mail as one file: a few lines of its own (the event, the envelope and the length of the
// message), an empty line, then the message. The envelope stands apart from the message's
// headers, so a blind copy never appears among them; the length proves the file whole.
std::string ComposedMailToText(const ComposedMail& mail);
// Reads such a file back. The error says why a text is none (it is no such file, it is
// cut short, or it lacks a sender, recipient or message), in words that follow "it is" or
// "it has". Files of the first form, without a length, are read too.
Result<ComposedMail> ComposedMailFromText(std::string_view text);

}  // namespace pesterly
