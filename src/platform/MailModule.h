#pragma once

#include <memory>
#include <stop_token>
#include <string>
#include <variant>

#include "mail/MailServerSettings.h"
#include "mail/MailSession.h"
#include "platform/MailSessionFactory.h"
#include "platform/PasswordKeyring.h"

namespace pesterly {

// The settings a mail goes out with: the Mail Server settings with the given password, unless
// PESTERLY_MAIL_URL names a server, which then takes the place of the way of sending, the
// server and the login (the sender still comes from the settings).
MailSettings MailSettingsFor(const MailServerSettings& server, std::string password);

// A session with the mail service the settings name (the system's sendmail when they name
// none), from the mail module that is loaded on first use. When the module cannot be loaded,
// the session's SignOn says why.
std::unique_ptr<MailSession> MakeSystemMailSession(const MailSettings& settings = {});

// The same for the nag mail: reads the stored Mail Server settings and the keyring's password
// now, when a mail is about to go out. Settings that cannot be used make SignOn say why.
std::unique_ptr<MailSession> MakeSystemMailSession(SettingsStore& store, PasswordKeyring& keyring,
                                                   std::stop_token stop);

// Sends a short mail to the sender address at once. The mail service's answer, or why the
// mail could not be sent.
std::variant<std::string, Error> SendTestMail(const MailSettings& settings);

}  // namespace pesterly

// The module's exported functions; the caller owns the session returned.
extern "C" pesterly::MailSession* PesterlyMakeMailSession(const pesterly::MailSettings* settings);
extern "C" bool PesterlySendTestMail(const pesterly::MailSettings* settings, std::string* answer);
