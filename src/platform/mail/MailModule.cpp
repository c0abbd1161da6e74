#include "platform/mail/MailModule.h"

#include <cstdlib>

#include "platform/ModuleLoader.h"
#include "store/TextForms.h"

namespace pesterly {
namespace {

Error Unloadable(const std::string& reason) {
    return Failure({PESTERLY_TEXT("MailModule",
                                  "Pesterly's mail module (libpesterly-mail.so) could not be "
                                  "loaded, so no mail can be sent: %1. Reinstalling Pesterly "
                                  "should bring it back."),
                    {reason}});
}

std::string FromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

MailSettings MailSettingsFor(const MailServerSettings& server, std::string password) {
    MailSettings settings;
    settings.from = std::string(forms::TrimBlanks(server.from));
    settings.ca_file = FromEnvironment("PESTERLY_MAIL_CA_FILE");
    if (const std::string url = FromEnvironment("PESTERLY_MAIL_URL"); !url.empty()) {
        settings.smtp_url = url;
    } else if (server.method == MailMethod::kSmtp) {
        settings.smtp_url = MailServerUrl(server);
        settings.user = server.user;
        settings.password = std::move(password);
        settings.require_encryption = server.security == MailSecurity::kStartTls;
    }
    return settings;
}

Result<std::unique_ptr<MailPost>> LoadMailPost(const MailSettings& settings) {
    // Loaded the first time a mail goes out: most days no mail is sent.
    const Result<std::vector<QFunctionPointer>> module =
        LoadModule(QStringLiteral("libpesterly-mail.so"), {"PesterlyMakeMailPost"});
    if (!module) {
        return Unloadable(module.error().message);
    }
    const auto make_post = reinterpret_cast<decltype(&PesterlyMakeMailPost)>(module->front());
    return std::unique_ptr<MailPost>(make_post(&settings));
}

Result<std::unique_ptr<MailPost>> LoadMailPost(SettingsStore& store, PasswordKeyring& keyring,
                                               std::stop_token stop) {
    const MailServerSettings server = LoadMailServer(store);
    if (const Result<void> checked = CheckMailServer(server); !checked) {
        return Failure({PESTERLY_TEXT("MailModule",
                                      "The mail server settings (Options, Mail "
                                      "Server) cannot be used: %1"),
                        {Reason(checked.error())}});
    }
    MailSettings settings = MailSettingsFor(server, "");
    // Only a login of the settings' own needs the keyring (PESTERLY_MAIL_URL brings its own).
    if (!settings.user.empty() && keyring.Available()) {
        Result<std::string> stored = keyring.Read(MailAccountName(server));
        if (!stored) {
            return stored.error();
        }
        settings.password = *std::move(stored);
    }
    settings.stop = std::move(stop);
    return LoadMailPost(settings);
}

Result<std::string> SendTestMail(const MailSettings& settings) {
    const Result<std::unique_ptr<MailPost>> post = LoadMailPost(settings);
    if (!post) {
        return post.error();
    }
    return (*post)->SendTestMail();
}

}  // namespace pesterly
