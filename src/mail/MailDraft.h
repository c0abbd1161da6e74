#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// The mail as one file: a few lines of its own (the event and the envelope), an empty line,
// then the message. The envelope stands apart from the message's headers, so a blind copy
// never appears among them.
std::string ComposedMailToText(const ComposedMail& mail);
// Nothing for a text that is not such a file, or one with no sender, recipient or message.
std::optional<ComposedMail> ComposedMailFromText(std::string_view text);

}  // namespace pesterly
