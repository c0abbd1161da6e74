#include "mail/MailDraft.h"

#include <algorithm>
#include <cctype>

namespace pesterly {
namespace {

// The first form wrote addresses as they are and had no length; the second escapes every
// field and proves the message whole.
constexpr std::string_view kFirstForm = "Pesterly-Mail: 1\n";
constexpr std::string_view kMagic = "Pesterly-Mail: 2\n";
constexpr std::string_view kEvent = "Event: ";
constexpr std::string_view kSender = "Sender: ";
constexpr std::string_view kRecipient = "Recipient: ";
constexpr std::string_view kLength = "Length: ";
// An event's description may hold any character; a line of the file may not.
std::string Escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> Unescaped(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) {
            return std::nullopt;
        }
        switch (text[i]) {
            case '\\':
                out += '\\';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            default:
                return std::nullopt;
        }
    }
    return out;
}

// An address of the envelope: anything but control characters, which would end or break the
// command that carries it; a quoted local part may hold blanks.
bool UsableAddress(std::string_view address) {
    return !address.empty() && std::ranges::none_of(address, [](char c) {
        return static_cast<unsigned char>(c) < ' ' || c == 0x7f;
    });
}

std::string Shown(std::string_view line) {
    return std::string(line.substr(0, 60)) + (line.size() > 60 ? "..." : "");
}

}  // namespace

std::string ComposedMailToText(const ComposedMail& mail) {
    std::string out(kMagic);
    out += std::string(kEvent) + Escaped(mail.event) + "\n";
    out += std::string(kSender) + Escaped(mail.sender) + "\n";
    for (const std::string& address : mail.envelope_recipients) {
        out += std::string(kRecipient) + Escaped(address) + "\n";
    }
    out += std::string(kLength) + std::to_string(mail.text.size()) + "\n";
    return out + "\n" + mail.text;
}

Result<ComposedMail> ComposedMailFromText(std::string_view text) {
    const bool first_form = text.starts_with(kFirstForm);
    if (!first_form && !text.starts_with(kMagic)) {
        return Error{"it is no nag mail Pesterly wrote"};
    }
    text.remove_prefix(kMagic.size());
    ComposedMail mail;
    bool has_event = false;
    std::optional<size_t> length;
    while (!text.starts_with("\n")) {
        const size_t end = text.find('\n');
        if (end == std::string_view::npos) {
            return Error{"it is cut short before its message"};
        }
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        const auto field = [&line, first_form](std::string_view name, bool escaped) {
            return escaped || !first_form ? Unescaped(line.substr(name.size()))
                                          : std::string(line.substr(name.size()));
        };
        std::optional<std::string> value;
        if (line.starts_with(kEvent) && !has_event && (value = field(kEvent, true))) {
            mail.event = std::move(*value);
            has_event = true;
        } else if (line.starts_with(kSender) && mail.sender.empty() &&
                   (value = field(kSender, false)) && UsableAddress(*value)) {
            mail.sender = std::move(*value);
        } else if (line.starts_with(kRecipient) && (value = field(kRecipient, false)) &&
                   UsableAddress(*value)) {
            mail.envelope_recipients.push_back(std::move(*value));
        } else if (line.starts_with(kLength) && !first_form && !length &&
                   line.size() > kLength.size() && line.size() < kLength.size() + 19 &&
                   std::ranges::all_of(line.substr(kLength.size()),
                                       [](char c) { return c >= '0' && c <= '9'; })) {
            length = std::stoull(std::string(line.substr(kLength.size())));
        } else {
            return Error{"it has a line Pesterly cannot use: \"" + Shown(line) + "\""};
        }
    }
    text.remove_prefix(1);
    if (!first_form && !length) {
        return Error{"it has no length to prove it whole"};
    }
    if (length && text.size() != *length) {
        return Error{text.size() < *length
                         ? "it is cut short: its message has " + std::to_string(text.size()) +
                               " of the " + std::to_string(*length) + " bytes it was written with"
                         : "it is damaged: its message has " + std::to_string(text.size()) +
                               " bytes, not the " + std::to_string(*length) +
                               " it was written with"};
    }
    if (!has_event || mail.sender.empty() || mail.envelope_recipients.empty() || text.empty()) {
        return Error{"it has no event, sender, recipient or message"};
    }
    mail.text = text;
    return mail;
}

}  // namespace pesterly
