#pragma once

#include <memory>
#include <stop_token>
#include <string>

#include "platform/mail/MailPost.h"
#include "platform/mail/MailTransport.h"

namespace pesterly {

// Where the nag mail goes and whom it comes from.
struct MailSettings {
    // smtp://host:port or smtps://host:port; empty: the system's sendmail program.
    std::string smtp_url;
    std::string sendmail_program;
    std::string from;
    // A login from the Mail Server settings and the keyring; empty: from the URL or ~/.netrc.
    std::string user;
    std::string password;
    // The server must encrypt the connection (STARTTLS) even when no login is sent.
    bool require_encryption = false;
    // Certificates to trust instead of the system's (PESTERLY_MAIL_CA_FILE, for tests).
    std::string ca_file;
    // Requested when the program ends: a mail still in progress is stopped.
    std::stop_token stop;
};

std::unique_ptr<MailTransport> MakeMailTransport(const MailSettings& settings);
// The mail service these settings name: the messages come from settings.from and leave by
// SMTP or by the sendmail program.
std::unique_ptr<MailPost> MakeMailPost(const MailSettings& settings);

}  // namespace pesterly
