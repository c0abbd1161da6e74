#pragma once

#include <memory>
#include <stop_token>

#include "mail/MailSession.h"

namespace pesterly {

// A session with the system's mail service (sendmail, or the SMTP server of
// PESTERLY_MAIL_URL), from the mail module that is loaded on first use. When the module
// cannot be loaded, the session's SignOn says why. A request on `stop` stops the session's
// mail in progress.
std::unique_ptr<MailSession> MakeSystemMailSession(std::stop_token stop = {});

}  // namespace pesterly

// The module's one exported function; the caller owns the session it returns.
extern "C" pesterly::MailSession* PesterlyMakeSystemMailSession(const std::stop_token* stop);
