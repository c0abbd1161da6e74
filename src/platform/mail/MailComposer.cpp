#include "platform/mail/MailComposer.h"

#include <gmime/gmime.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <mutex>

namespace pesterly {
namespace {

void EnsureGMime() {
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
}

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GPtr = std::unique_ptr<T, GObjectUnref>;

struct ParserOptionsFree {
    void operator()(GMimeParserOptions* options) const { g_mime_parser_options_free(options); }
};
struct FormatOptionsFree {
    void operator()(GMimeFormatOptions* options) const { g_mime_format_options_free(options); }
};
struct GFree {
    void operator()(void* memory) const { g_free(memory); }
};

// A line break could start a header of its own; a NUL would cut the text short.
bool HasLineBreak(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// Parses one recipient text. GMime drops an item it cannot read and only says so through the
// warning callback: that item is remembered so that the mail is refused instead of silently
// missing someone.
class AddressParser {
  public:
    AddressParser() : options_(g_mime_parser_options_new()) {
        g_mime_parser_options_set_warning_callback(options_.get(), &AddressParser::Warn, this);
    }

    Result<void> Parse(std::string_view text, GPtr<InternetAddressList>& out) {
        if (HasLineBreak(text)) {
            return Error{
                "The mail address text \"" + Printable(text) +
                "\" holds a line break or a NUL character; remove it in the nag list or the "
                "event."};
        }
        dropped_.clear();
        const std::string copy(text);
        out.reset(internet_address_list_parse(options_.get(), copy.c_str()));
        if (!dropped_.empty()) {
            return Error{"The mail address \"" + dropped_ + "\" in \"" + copy +
                         "\" cannot be read; correct it in the nag list or the event."};
        }
        return {};
    }

  private:
    static void Warn(gint64, GMimeParserWarning code, const gchar* item, gpointer self) {
        if (code == GMIME_WARN_INVALID_ADDRESS_LIST && item != nullptr) {
            // The first warning names the whole text, a later one the part that was dropped.
            static_cast<AddressParser*>(self)->dropped_ = item;
        }
    }
    static std::string Printable(std::string_view text) {
        std::string shown(text);
        std::replace(shown.begin(), shown.end(), '\r', ' ');
        std::replace(shown.begin(), shown.end(), '\n', ' ');
        return shown;
    }

    std::unique_ptr<GMimeParserOptions, ParserOptionsFree> options_;
    std::string dropped_;
};

// Collects the bare addresses of every mailbox, members of groups included.
Result<void> CollectMailboxes(InternetAddressList* list, std::string_view source,
                              std::vector<std::string>& addresses) {
    if (list == nullptr) {
        return {};
    }
    const int length = internet_address_list_length(list);
    for (int i = 0; i < length; ++i) {
        InternetAddress* address = internet_address_list_get_address(list, i);
        if (INTERNET_ADDRESS_IS_GROUP(address)) {
            InternetAddressList* members =
                internet_address_group_get_members(INTERNET_ADDRESS_GROUP(address));
            if (Result<void> done = CollectMailboxes(members, source, addresses); !done) {
                return done.error();
            }
            continue;
        }
        auto* mailbox = INTERNET_ADDRESS_MAILBOX(address);
        const char* plain = internet_address_mailbox_get_addr(mailbox);
        const std::string bare = plain != nullptr ? plain : "";
        if (bare.find('@') == std::string::npos) {
            return Error{"The mail address \"" + bare + "\" in \"" + std::string(source) +
                         "\" has no \"@\" and domain; correct it in the nag list or the event."};
        }
        // Only servers that speak SMTPUTF8 take such a mailbox, and the message would need
        // 8-bit headers: refused here rather than bounced or mangled on the way.
        if (std::any_of(bare.begin(), bare.begin() + static_cast<long>(bare.find('@')),
                        [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
            return Error{"The mail address \"" + bare + "\" in \"" + std::string(source) +
                         "\" has letters outside plain ASCII before the \"@\", which most mail "
                         "servers cannot take; use a plain ASCII address for that mailbox."};
        }
        const char* idn = internet_address_mailbox_get_idn_addr(mailbox);
        const std::string envelope = idn != nullptr ? idn : bare;
        if (std::find(addresses.begin(), addresses.end(), envelope) == addresses.end()) {
            addresses.push_back(envelope);
        }
    }
    return {};
}

// Text that holds "=?" could be read by a mail reader as an encoded word and shown as
// something else, even as several lines: such a subject is sent wholly encoded, in words of
// at most 75 characters that split no character. Q encoding, since some readers cannot join
// base64 words that end in padding.
void SetSubjectEncodedThroughout(GMimeMessage* message, const std::string& subject) {
    constexpr size_t kMostPerWord = 75 - 12;  // "=?utf-8?q?" and "?=" around the text
    std::string raw;
    std::string word;
    const auto flush = [&] {
        raw += " =?utf-8?q?" + word + "?=\n";
        word.clear();
    };
    for (size_t i = 0; i < subject.size();) {
        std::string one;  // one character, encoded
        do {
            const auto byte = static_cast<unsigned char>(subject[i]);
            if (std::isalnum(byte) != 0 && byte < 0x80) {
                one += static_cast<char>(byte);
            } else if (byte == ' ') {
                one += '_';
            } else {
                static constexpr char kHex[] = "0123456789ABCDEF";
                one += {'=', kHex[byte >> 4], kHex[byte & 0xF]};
            }
            ++i;
        } while (i < subject.size() && (static_cast<unsigned char>(subject[i]) & 0xC0) == 0x80);
        if (word.size() + one.size() > kMostPerWord) {
            flush();
        }
        word += one;
    }
    if (!word.empty()) {
        flush();
    }
    GMimeHeader* header = g_mime_header_list_get_header(
        g_mime_object_get_header_list(GMIME_OBJECT(message)), "Subject");
    if (header != nullptr) {
        g_mime_header_set_raw_value(header, raw.c_str());
    }
}

// A bare CR would come out as "=0D" in quoted-printable: every line end becomes LF first, and
// an SMTP transport turns LF into CR LF.
std::string NormaliseLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            out += text[i];
        }
    }
    // Every line of a mail ends with a line break, the last one too; adding it here keeps the
    // text the same whether or not the user ended it with one.
    if (!out.empty() && out.back() != '\n') {
        out += '\n';
    }
    return out;
}

// Sets the text as UTF-8 bytes as they are: g_mime_text_part_set_text would convert it to the
// smallest charset that fits.
void SetUtf8Body(GMimeMessage* message, const std::string& text) {
    GPtr<GMimeTextPart> part(g_mime_text_part_new_with_subtype("plain"));
    GPtr<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(text.data(), text.size()));
    GPtr<GMimeDataWrapper> content(
        g_mime_data_wrapper_new_with_stream(stream.get(), GMIME_CONTENT_ENCODING_DEFAULT));
    g_mime_part_set_content(GMIME_PART(part.get()), content.get());
    g_mime_text_part_set_charset(part.get(), "utf-8");
    // Quoted-printable keeps a mostly English text readable in any mail reader's source view.
    g_mime_part_set_content_encoding(GMIME_PART(part.get()),
                                     GMIME_CONTENT_ENCODING_QUOTEDPRINTABLE);
    g_mime_message_set_mime_part(message, GMIME_OBJECT(part.get()));
}

std::string UserName() {
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_name != nullptr) {
        return entry->pw_name;
    }
    for (const char* name : {"USER", "LOGNAME"}) {
        if (const char* value = std::getenv(name); value != nullptr && *value != '\0') {
            return value;
        }
    }
    return "pesterly";
}

std::string Trimmed(std::string text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

std::string DefaultSenderAddress(const char* mailname_path) {
    if (const char* email = std::getenv("EMAIL"); email != nullptr && *email != '\0') {
        return email;
    }
    std::string domain;
    if (std::ifstream mailname(mailname_path); mailname && std::getline(mailname, domain)) {
        domain = Trimmed(domain);
    }
    if (domain.empty()) {
        char host[256] = {};
        if (gethostname(host, sizeof host - 1) == 0) {
            domain = host;
        }
    }
    return UserName() + "@" + (domain.empty() ? "localhost" : domain);
}

Result<ComposedMail> ComposeMail(const MailDraft& draft, std::string_view from) {
    EnsureGMime();
    AddressParser parser;
    GPtr<GMimeMessage> message(g_mime_message_new(TRUE));

    GPtr<InternetAddressList> senders;
    if (Result<void> done = parser.Parse(from, senders); !done) {
        return done.error();
    }
    std::vector<std::string> sender_addresses;
    if (Result<void> done = CollectMailboxes(senders.get(), from, sender_addresses); !done) {
        return done.error();
    }
    if (sender_addresses.empty()) {
        return Error{"The sender address \"" + std::string(from) +
                     "\" cannot be used; set EMAIL to your mail address."};
    }
    internet_address_list_append(g_mime_message_get_from(message.get()), senders.get());

    GPtr<InternetAddressList> shown;
    if (Result<void> done = parser.Parse(draft.to, shown); !done) {
        return done.error();
    }
    std::vector<std::string> shown_addresses;
    if (Result<void> done = CollectMailboxes(shown.get(), draft.to, shown_addresses); !done) {
        return done.error();
    }
    if (shown) {
        internet_address_list_append(g_mime_message_get_to(message.get()), shown.get());
    }
    // Only the recipients reach the envelope: a blind copy is among them and in no header.
    std::vector<std::string> envelope;
    for (const std::string& recipient : draft.recipients) {
        GPtr<InternetAddressList> parsed;
        if (Result<void> done = parser.Parse(recipient, parsed); !done) {
            return done.error();
        }
        if (Result<void> done = CollectMailboxes(parsed.get(), recipient, envelope); !done) {
            return done.error();
        }
    }
    if (envelope.empty()) {
        return Error{"The mail has no recipient with a real address."};
    }

    std::string subject = draft.subject;
    // A line break in the subject would survive inside the encoded word; a NUL (from a
    // hand-edited settings file) would end it early.
    std::replace(subject.begin(), subject.end(), '\r', ' ');
    std::replace(subject.begin(), subject.end(), '\n', ' ');
    std::erase(subject, '\0');
    g_mime_message_set_subject(message.get(), subject.c_str(), "utf-8");
    if (subject.find("=?") != std::string::npos) {
        SetSubjectEncodedThroughout(message.get(), subject);
    }

    GDateTime* now = g_date_time_new_now_local();
    g_mime_message_set_date(message.get(), now);
    g_date_time_unref(now);

    const std::string& sender = sender_addresses.front();
    const std::string domain = sender.substr(sender.rfind('@') + 1);
    std::unique_ptr<char, GFree> message_id(g_mime_utils_generate_message_id(domain.c_str()));
    g_mime_message_set_message_id(message.get(), message_id.get());

    std::string body = draft.text;
    std::erase(body, '\0');
    SetUtf8Body(message.get(), NormaliseLineEnds(body));

    std::unique_ptr<GMimeFormatOptions, FormatOptionsFree> format(g_mime_format_options_new());
    g_mime_format_options_set_newline_format(format.get(), GMIME_NEWLINE_FORMAT_UNIX);
    std::unique_ptr<char, GFree> text(
        g_mime_object_to_string(GMIME_OBJECT(message.get()), format.get()));
    ComposedMail out;
    out.event = draft.event;
    out.sender = sender;
    out.envelope_recipients = std::move(envelope);
    out.text = text.get();
    return out;
}

}  // namespace pesterly
