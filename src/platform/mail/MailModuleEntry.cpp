// The entry point of the mail module, which the program loads when it first sends mail.
#include "platform/mail/MailModule.h"
#include "platform/mail/MailTransport.h"

extern "C" __attribute__((visibility("default"))) pesterly::MailPost* PesterlyMakeMailPost(
    const pesterly::MailSettings* settings) {
    return pesterly::MakeMailPost(*settings).release();
}
