// The entry points of the mail module, which the program loads when it first sends mail.
#include "platform/mail/MailComposer.h"
#include "platform/mail/MailModule.h"
#include "platform/mail/MailPostFactory.h"
#include "platform/mail/SendmailTransport.h"

namespace {

// An empty sender stands for the automatic one, which only the module can work out.
pesterly::MailSettings WithSender(const pesterly::MailSettings& given) {
    pesterly::MailSettings settings = given;
    if (settings.from.empty()) {
        settings.from = pesterly::DefaultSenderAddress();
    }
    if (settings.sendmail_program.empty()) {
        settings.sendmail_program = pesterly::kSystemSendmail;
    }
    return settings;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) pesterly::MailPost* PesterlyMakeMailPost(
    const pesterly::MailSettings* settings) {
    return pesterly::MakeMailPost(WithSender(*settings)).release();
}

extern "C" __attribute__((visibility("default"))) bool PesterlySendTestMail(
    const pesterly::MailSettings* given, std::string* answer) {
    using namespace pesterly;
    const MailSettings settings = WithSender(*given);
    const std::string subject = "Pesterly test mail";
    const MailDraft draft{subject,
                          subject,
                          "This mail was sent from Pesterly's Mail Server dialog to check the "
                          "settings there.\nNag mail goes out the same way.\n",
                          settings.from,
                          {settings.from}};
    const Result<ComposedMail> mail = ComposeMail(draft, settings.from);
    if (!mail) {
        *answer = mail.error().message;
        return false;
    }
    const std::unique_ptr<MailTransport> transport = MakeMailTransport(settings);
    if (const Delivery delivery = transport->Deliver(*mail);
        delivery.outcome != Delivery::Outcome::kSent) {
        *answer = delivery.message;
        return false;
    }
    const std::string said = transport->LastAnswer();
    *answer = "The test mail to " + settings.from + " was handed over " +
              (settings.smtp_url.empty() ? "to " + settings.sendmail_program + ", which took it."
                                         : "to the server, which answered \"" + said + "\".");
    return true;
}
