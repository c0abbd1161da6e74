#include "platform/mail/MailPostFactory.h"

#include "platform/mail/MailComposer.h"
#include "platform/mail/SendmailTransport.h"
#include "platform/mail/SmtpTransport.h"

namespace pesterly {
namespace {

class TransportMailPost : public MailPost {
  public:
    explicit TransportMailPost(const MailSettings& settings) : settings_(settings) {}

    Result<ComposedMail> Compose(const MailDraft& draft) override {
        return ComposeMail(draft, settings_.from);
    }

    // A transport of its own for every mail, so that two threads never share one.
    Delivery Deliver(const ComposedMail& mail) override {
        return MakeMailTransport(settings_)->Deliver(mail);
    }

  private:
    MailSettings settings_;
};

}  // namespace

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

std::unique_ptr<MailPost> MakeMailPost(const MailSettings& settings) {
    return std::make_unique<TransportMailPost>(settings);
}

}  // namespace pesterly
