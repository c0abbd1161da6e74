#pragma once

#include <memory>
#include <stop_token>
#include <string>

#include "platform/MailPost.h"

namespace pesterly {

struct MailSettings;

// The mail service, from the mail module, which is loaded on first use: with `settings` when
// given, else with those of the environment (PESTERLY_MAIL_URL, sendmail, the default sender),
// where a request on `stop` stops a mail in progress. Null when the module cannot be loaded;
// `reason` then says why, in words for the user.
std::unique_ptr<MailPost> LoadMailPost(const MailSettings* settings, std::stop_token stop,
                                       std::string& reason);

}  // namespace pesterly

// The module's one exported function; the caller owns what it returns.
extern "C" pesterly::MailPost* PesterlyMakeMailPost(const pesterly::MailSettings* settings,
                                                    const std::stop_token* stop);
