#pragma once

#include <memory>
#include <stop_token>
#include <string>

#include "mail/MailServerSettings.h"
#include "platform/PasswordKeyring.h"
#include "platform/mail/MailPost.h"

namespace pesterly {

// The settings a mail goes out with: the Mail Server settings with the given password, unless
// PESTERLY_MAIL_URL names a server, which then takes the place of the way of sending, the
// server and the login (the sender still comes from the settings).
MailSettings MailSettingsFor(const MailServerSettings& server, std::string password);

// The mail service the settings name (the system's sendmail when they name none), from the
// mail module that is loaded on first use. An error, in words for the user, when the module
// cannot be loaded.
Result<std::unique_ptr<MailPost>> LoadMailPost(const MailSettings& settings);

// The same for the nag mail: reads the stored Mail Server settings and the keyring's password
// now, when a mail is about to go out; a request on `stop` stops a mail in progress. An error
// when the settings cannot be used.
Result<std::unique_ptr<MailPost>> LoadMailPost(SettingsStore& store, PasswordKeyring& keyring,
                                               std::stop_token stop);

// Sends a short mail to the sender address at once. The mail service's answer, or why the
// mail could not be sent. Safe on any thread.
Result<std::string> SendTestMail(const MailSettings& settings);

}  // namespace pesterly

// The module's one exported function; the caller owns the mail service returned.
extern "C" pesterly::MailPost* PesterlyMakeMailPost(const pesterly::MailSettings* settings);
