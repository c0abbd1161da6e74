#include "mail/MailDraft.h"

namespace pesterly {
namespace {

constexpr std::string_view kMagic = "Pesterly-Mail: 1\n";
constexpr std::string_view kEvent = "Event: ";
constexpr std::string_view kSender = "Sender: ";
constexpr std::string_view kRecipient = "Recipient: ";

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

// An address of the envelope: one word of printable characters.
bool PlainAddress(std::string_view address) {
    if (address.empty()) {
        return false;
    }
    for (const char c : address) {
        if (static_cast<unsigned char>(c) <= ' ' || c == 0x7f) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string ComposedMailToText(const ComposedMail& mail) {
    std::string out(kMagic);
    out += std::string(kEvent) + Escaped(mail.event) + "\n";
    out += std::string(kSender) + mail.sender + "\n";
    for (const std::string& address : mail.envelope_recipients) {
        out += std::string(kRecipient) + address + "\n";
    }
    return out + "\n" + mail.text;
}

std::optional<ComposedMail> ComposedMailFromText(std::string_view text) {
    if (!text.starts_with(kMagic)) {
        return std::nullopt;
    }
    text.remove_prefix(kMagic.size());
    ComposedMail mail;
    bool has_event = false;
    while (!text.starts_with("\n")) {
        const size_t end = text.find('\n');
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        if (line.starts_with(kEvent) && !has_event) {
            std::optional<std::string> event = Unescaped(line.substr(kEvent.size()));
            if (!event) {
                return std::nullopt;
            }
            mail.event = std::move(*event);
            has_event = true;
        } else if (line.starts_with(kSender) && mail.sender.empty()) {
            mail.sender = line.substr(kSender.size());
            if (!PlainAddress(mail.sender)) {
                return std::nullopt;
            }
        } else if (line.starts_with(kRecipient)) {
            const std::string_view address = line.substr(kRecipient.size());
            if (!PlainAddress(address)) {
                return std::nullopt;
            }
            mail.envelope_recipients.emplace_back(address);
        } else {
            return std::nullopt;
        }
    }
    text.remove_prefix(1);
    if (!has_event || mail.sender.empty() || mail.envelope_recipients.empty() || text.empty()) {
        return std::nullopt;
    }
    mail.text = text;
    return mail;
}

}  // namespace pesterly
