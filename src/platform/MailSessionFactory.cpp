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

std::unique_ptr<MailSession> MakeMailSession(const MailSettings& settings) {
    std::unique_ptr<MailTransport> transport;
    if (!settings.smtp_url.empty()) {
        transport = std::make_unique<SmtpTransport>(settings.smtp_url, settings.stop);
    } else {
        transport = std::make_unique<SendmailTransport>(
            settings.sendmail_program.empty() ? kSystemSendmail : settings.sendmail_program,
            settings.stop);
    }
    return std::make_unique<TransportMailSession>(std::move(transport), settings.from);
}

}  // namespace pesterly
