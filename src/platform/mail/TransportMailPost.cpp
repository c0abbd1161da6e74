// The mail module's side of MailPost: a draft becomes a message (MailComposer) and leaves
// through a transport made for each delivery.
#include "platform/mail/MailComposer.h"
#include "platform/mail/MailTransport.h"
#include "platform/mail/SendmailTransport.h"
#include "platform/mail/SmtpTransport.h"

namespace pesterly {
namespace {

std::unique_ptr<MailTransport> MakeMailTransport(const MailSettings& settings) {
    if (settings.smtp_url.empty()) {
        return std::make_unique<SendmailTransport>(settings.sendmail_program, settings.stop);
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

class TransportMailPost : public MailPost {
  public:
    explicit TransportMailPost(MailSettings settings) : settings_(std::move(settings)) {}

    Result<ComposedMail> Compose(const MailDraft& draft) override {
        return ComposeMail(draft, settings_.from);
    }

    // A transport of its own for every mail, so that two threads never share one.
    Delivery Deliver(const ComposedMail& mail) override {
        return MakeMailTransport(settings_)->Deliver(mail);
    }

    Result<std::string> SendTestMail() override {
        const std::string subject = "Pesterly test mail";
        const MailDraft draft{subject,
                              subject,
                              "This mail was sent from Pesterly's Mail Server dialog to check the "
                              "settings there.\nNag mail goes out the same way.\n",
                              settings_.from,
                              {settings_.from}};
        const Result<ComposedMail> mail = Compose(draft);
        if (!mail) {
            return mail.error();
        }
        const std::unique_ptr<MailTransport> transport = MakeMailTransport(settings_);
        if (const Delivery delivery = transport->Deliver(*mail);
            delivery.outcome != Delivery::Outcome::kSent) {
            return Error{delivery.message};
        }
        const std::string said = transport->LastAnswer();
        return "The test mail to " + settings_.from + " was handed over " +
               (settings_.smtp_url.empty() ? "to " + settings_.sendmail_program + ", which took it."
                                           : "to the server, which answered \"" + said + "\".");
    }

  private:
    MailSettings settings_;
};

}  // namespace

std::unique_ptr<MailPost> MakeMailPost(MailSettings settings) {
    if (settings.from.empty()) {
        settings.from = DefaultSenderAddress();
    }
    if (settings.sendmail_program.empty()) {
        settings.sendmail_program = kSystemSendmail;
    }
    return std::make_unique<TransportMailPost>(std::move(settings));
}

}  // namespace pesterly
