#pragma once

#include <string>
#include <string_view>

#include "store/Error.h"
#include "store/Options.h"
#include "store/SettingsStore.h"

namespace pesterly {

// The stored settings, as ReadOptions reads them.
MailServerSettings LoadMailServer(SettingsStore& store);

// Whether the settings can be used, naming the field that cannot: a port that is not a number
// from 1 to 65535, a host with blanks or characters no host name has (or no host at all when
// mail goes to a server), a sender that is not a plain address, and no encryption while a user
// name is set (the password would cross the network as plain text).
Result<void> CheckMailServer(const MailServerSettings& settings);

// Checks the settings, writes them as the options' mail settings and commits them. When the
// check or the commit fails nothing is written: the store and `options` are left as they were.
Result<void> SaveMailServer(SettingsStore& store, Options& options,
                            const MailServerSettings& settings);

// The port the settings use: the one typed, else 587 for STARTTLS, 465 for TLS and 25 without
// encryption. Only meaningful for checked settings.
int MailServerPort(const MailServerSettings& settings);

// smtp://host:port, or smtps://host:port for TLS from the first byte.
std::string MailServerUrl(const MailServerSettings& settings);

// Names the password in the keyring: the user at the host, so that a password is never
// offered to a server it was not stored for.
std::string MailAccountName(const MailServerSettings& settings);

}  // namespace pesterly
