// The entry point of the mail module, which the program loads when it first sends mail.
#include "platform/MailModule.h"
#include "platform/MailSessionFactory.h"

extern "C" __attribute__((visibility("default"))) pesterly::MailSession*
PesterlyMakeSystemMailSession(const std::stop_token* stop) {
    pesterly::MailSettings settings = pesterly::MailSettings::FromEnvironment();
    settings.stop = *stop;
    return pesterly::MakeMailSession(settings).release();
}
