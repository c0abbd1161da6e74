#pragma once

#include <string>
#include <string_view>

#include "store/Error.h"
#include "store/SettingsStore.h"

namespace pesterly {

enum class MailMethod { kSendmail, kSmtp };
// How the connection to the server is encrypted: upgraded with STARTTLS, TLS from the first
// byte, or not at all.
enum class MailSecurity { kStartTls, kTls, kNone };

// The "Mail" section: how nag mail leaves the machine. A file without the section sends
// through the system's sendmail program from the automatic sender address. The password is
// never part of it: it lives in the desktop's keyring.
struct MailServerSettings {
    MailMethod method = MailMethod::kSendmail;
    std::string host;
    // As typed; empty means the usual port for the security chosen.
    std::string port;
    MailSecurity security = MailSecurity::kStartTls;
    std::string user;
    // Empty means the automatic sender address.
    std::string from;
};

// Reads the section. Values are matched without regard to case; a value that is none of the
// known ones reads as the default.
MailServerSettings LoadMailServer(SettingsStore& store);

// Whether the settings can be used, naming the field that cannot: a port that is not a number
// from 1 to 65535, a host with blanks or characters no host name has (or no host at all when
// mail goes to a server), a sender that is not a plain address, and no encryption while a user
// name is set (the password would cross the network as plain text).
MaybeError CheckMailServer(const MailServerSettings& settings);

// Checks the settings, writes the whole section and commits it. When the check or the commit
// fails nothing is written: the store is left as it was before the call.
MaybeError SaveMailServer(SettingsStore& store, const MailServerSettings& settings);

// The port the settings use: the one typed, else 587 for STARTTLS, 465 for TLS and 25 without
// encryption. Only meaningful for checked settings.
int MailServerPort(const MailServerSettings& settings);

// smtp://host:port, or smtps://host:port for TLS from the first byte.
std::string MailServerUrl(const MailServerSettings& settings);

// Names the password in the keyring: the user at the host, so that a password is never
// offered to a server it was not stored for.
std::string MailAccountName(const MailServerSettings& settings);

}  // namespace pesterly
