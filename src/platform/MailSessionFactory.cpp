#include "platform/MailSessionFactory.h"

#include <cstdlib>

#include "platform/MailComposer.h"
#include "platform/SendmailTransport.h"
#include "platform/SmtpTransport.h"
#include "platform/TransportMailSession.h"

namespace pesterly {

MailSettings MailSettings::FromEnvironment() {
    MailSettings settings;
    if (const char* url = std::getenv("PESTERLY_MAIL_URL"); url != nullptr) {
        settings.smtp_url = url;
    }
    settings.sendmail_program = kSystemSendmail;
    settings.from = DefaultSenderAddress();
    return settings;
}

std::unique_ptr<MailTransport> MakeMailTransport(const MailSettings& settings) {
    if (settings.smtp_url.empty()) {
        return std::make_unique<SendmailTransport>(
            settings.sendmail_program.empty() ? kSystemSendmail : settings.sendmail_program,
            settings.stop);
    }
    auto smtp = std::make_unique<SmtpTransport>(settings.smtp_url, settings.stop);
    if (!settings.user.empty()) {
        smtp->SetLogin(settings.user, settings.password);
    }
    if (settings.require_encryption) {
        smtp->RequireEncryption();
    }
    if (!settings.ca_file.empty()) {
        smtp->TrustCertificates(settings.ca_file);
    }
    return smtp;
}

std::unique_ptr<MailSession> MakeMailSession(const MailSettings& settings) {
    return std::make_unique<TransportMailSession>(MakeMailTransport(settings), settings.from);
}

}  // namespace pesterly
