// The entry point of the mail module, which the program loads when it first sends mail.
#include "platform/MailModule.h"
#include "platform/MailSessionFactory.h"

extern "C" __attribute__((visibility("default"))) pesterly::MailPost* PesterlyMakeMailPost(
    const pesterly::MailSettings* settings, const std::stop_token* stop) {
    pesterly::MailSettings chosen =
        settings != nullptr ? *settings : pesterly::MailSettings::FromEnvironment();
    if (settings == nullptr) {
        chosen.stop = *stop;
    }
    return pesterly::MakeMailPost(chosen).release();
}
