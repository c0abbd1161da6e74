#include "mail/MailServerSettings.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "store/SettingsLayout.h"
#include "store/TextForms.h"

namespace pesterly {
namespace {

bool IsBlankOrControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte <= ' ' || byte == 0x7f;
}

// A number from 1 to 65535, digits only; nullopt for anything else.
std::optional<int> ParsePort(std::string_view text) {
    text = forms::TrimBlanks(text);
    int port = 0;
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (text.empty() || text.front() == '-' || problem != std::errc() ||
        end != text.data() + text.size() || port < 1 || port > 65535) {
        return std::nullopt;
    }
    return port;
}

// Letters outside ASCII are fine in the domain (it travels as punycode) but not before the "@":
// most servers cannot take them there.
bool IsPlainAddress(std::string_view text) {
    constexpr std::string_view kNeverInAddress = "<>()[],;:\"\\";
    const size_t at = text.rfind('@');
    if (at == std::string_view::npos || at == 0 || at + 1 == text.size()) {
        return false;
    }
    const std::string_view local = text.substr(0, at);
    const std::string_view domain = text.substr(at + 1);
    const auto bad = [&](char c) {
        return IsBlankOrControl(c) || kNeverInAddress.find(c) != std::string_view::npos;
    };
    return std::ranges::none_of(text, bad) && domain.find('@') == std::string_view::npos &&
           local.find('@') == std::string_view::npos &&
           std::ranges::none_of(local, [](char c) { return static_cast<unsigned char>(c) > 0x7f; });
}

}  // namespace

MailServerSettings LoadMailServer(SettingsStore& store) {
    return ReadOptions(store, DateValue()).Mail;
}

Result<void> CheckMailServer(const MailServerSettings& settings) {
    const bool smtp = settings.method == MailMethod::kSmtp;
    const std::string_view host = forms::TrimBlanks(settings.host);
    constexpr std::string_view kNeverInHost = "/@?#\\%<>\"";
    if (smtp && host.empty()) {
        return Failure({PESTERLY_TEXT("MailServerSettings",
                                      "Server: enter the host name of your mail server, such as "
                                      "mail.example.org.")});
    }
    if (std::ranges::any_of(host, [&](char c) {
            return IsBlankOrControl(c) || kNeverInHost.find(c) != std::string_view::npos;
        })) {
        return Failure({PESTERLY_TEXT("MailServerSettings",
                                      "Server: \"%1\" is not a host name; a host name has "
                                      "no blanks, such as mail.example.org."),
                        {settings.host}});
    }
    if (!forms::TrimBlanks(settings.port).empty() && !ParsePort(settings.port)) {
        return Failure({PESTERLY_TEXT("MailServerSettings",
                                      "Port: \"%1\" is not a port number; enter a number "
                                      "from 1 to 65535, or leave it empty for the "
                                      "usual port."),
                        {settings.port}});
    }
    if (smtp && settings.security == MailSecurity::kNone &&
        !forms::TrimBlanks(settings.user).empty()) {
        return Failure({PESTERLY_TEXT("MailServerSettings",
                                      "Security: with a user name the connection must be "
                                      "encrypted, or the password would cross the "
                                      "network as plain text. Choose STARTTLS or "
                                      "TLS.")});
    }
    const std::string_view from = forms::TrimBlanks(settings.from);
    if (!from.empty() && !IsPlainAddress(from)) {
        return Failure({PESTERLY_TEXT("MailServerSettings",
                                      "Sender address: \"%1\" is not a mail address; enter "
                                      "one such as me@example.org (letters outside "
                                      "plain ASCII only after the @), or leave it "
                                      "empty for the automatic one."),
                        {settings.from}});
    }
    return {};
}

Result<void> SaveMailServer(SettingsStore& store, Options& options,
                            const MailServerSettings& settings) {
    if (Result<void> checked = CheckMailServer(settings); !checked) {
        return checked;
    }
    Options wanted = options;
    wanted.Mail = settings;
    return SaveOptions(store, options, wanted);
}

int MailServerPort(const MailServerSettings& settings) {
    if (const std::optional<int> port = ParsePort(settings.port)) {
        return *port;
    }
    switch (settings.security) {
        case MailSecurity::kTls:
            return 465;
        case MailSecurity::kNone:
            return 25;
        case MailSecurity::kStartTls:
            break;
    }
    return 587;
}

std::string MailServerUrl(const MailServerSettings& settings) {
    return std::string(settings.security == MailSecurity::kTls ? "smtps://" : "smtp://") +
           std::string(forms::TrimBlanks(settings.host)) + ":" +
           std::to_string(MailServerPort(settings));
}

std::string MailAccountName(const MailServerSettings& settings) {
    return settings.user + "@" + std::string(forms::TrimBlanks(settings.host));
}

}  // namespace pesterly
