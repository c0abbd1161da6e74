#include "platform/MailSessionFactory.h"

#include <cstdlib>

#include "platform/MailComposer.h"
#include "platform/SendmailTransport.h"
#include "platform/SmtpTransport.h"

namespace pesterly {
namespace {

class TransportMailPost : public MailPost {
  public:
    TransportMailPost(const MailSettings& settings) : settings_(settings) {}

    MaybeError Compose(const MailDraft& draft, ComposedMail& out) override {
        return ComposeMail(draft, settings_.from, out);
    }

    // A transport of its own for every mail, so that two threads never share one.
    Delivery Deliver(const ComposedMail& mail) override {
        if (!settings_.smtp_url.empty()) {
            return SmtpTransport(settings_.smtp_url, settings_.stop).Deliver(mail);
        }
        return SendmailTransport(settings_.sendmail_program.empty() ? kSystemSendmail
                                                                    : settings_.sendmail_program,
                                 settings_.stop)
            .Deliver(mail);
    }

  private:
    MailSettings settings_;
};

}  // namespace

MailSettings MailSettings::FromEnvironment() {
    MailSettings settings;
    if (const char* url = std::getenv("PESTERLY_MAIL_URL"); url != nullptr) {
        settings.smtp_url = url;
    }
    settings.sendmail_program = kSystemSendmail;
    settings.from = DefaultSenderAddress();
    return settings;
}

std::unique_ptr<MailPost> MakeMailPost(const MailSettings& settings) {
    return std::make_unique<TransportMailPost>(settings);
}

}  // namespace pesterly
