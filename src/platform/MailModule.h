#pragma once

#include <memory>

#include "mail/MailSession.h"

namespace pesterly {

// A session with the system's mail service (sendmail, or the SMTP server of
// PESTERLY_MAIL_URL), from the mail module that is loaded on first use. When the module
// cannot be loaded, the session's SignOn says why.
std::unique_ptr<MailSession> MakeSystemMailSession();

}  // namespace pesterly

// The module's one exported function; the caller owns the session it returns.
extern "C" pesterly::MailSession* PesterlyMakeSystemMailSession();
