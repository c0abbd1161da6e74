#include "platform/mail/MailModule.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QStringList>
#include <cstdlib>

#include "store/TextForms.h"

#include "PesterlyConfig.h"

namespace pesterly {
namespace {

struct Module {
    decltype(&PesterlyMakeMailPost) make_post = nullptr;
    decltype(&PesterlySendTestMail) send_test_mail = nullptr;
};

// Beside the program in the build folder; in its own folder once installed. Only these
// places are searched, never the library path of the environment.
Result<const Module*> LoadModule() {
    static Module loaded;
    if (loaded.make_post != nullptr) {
        return &loaded;
    }
    const QStringList folders = {QCoreApplication::applicationDirPath(),
                                 QStringLiteral(PESTERLY_MODULE_DIR)};
    std::string reason;
    for (const QString& folder : folders) {
        QLibrary module(folder + QStringLiteral("/libpesterly-mail.so"));
        if (!module.load()) {
            reason = module.errorString().toStdString();
            continue;
        }
        loaded.make_post = reinterpret_cast<decltype(&PesterlyMakeMailPost)>(
            module.resolve("PesterlyMakeMailPost"));
        loaded.send_test_mail = reinterpret_cast<decltype(&PesterlySendTestMail)>(
            module.resolve("PesterlySendTestMail"));
        if (loaded.make_post != nullptr && loaded.send_test_mail != nullptr) {
            return &loaded;
        }
        loaded = {};
        reason = module.errorString().toStdString();
    }
    return Error{reason};
}

std::string Unloadable(const std::string& reason) {
    return "Pesterly's mail module (libpesterly-mail.so) could not be loaded, so no mail can be "
           "sent: " +
           reason + ". Reinstalling Pesterly should bring it back.";
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
    const Result<const Module*> module = LoadModule();
    if (!module) {
        return Error{Unloadable(module.error().message)};
    }
    return std::unique_ptr<MailPost>((*module)->make_post(&settings));
}

Result<std::unique_ptr<MailPost>> LoadMailPost(SettingsStore& store, PasswordKeyring& keyring,
                                               std::stop_token stop) {
    const MailServerSettings server = LoadMailServer(store);
    if (const Result<void> checked = CheckMailServer(server); !checked) {
        return Error{"The mail server settings (Options, Mail Server) cannot be used: " +
                     checked.error().message};
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
    const Result<const Module*> module = LoadModule();
    if (!module) {
        return Error{Unloadable(module.error().message)};
    }
    std::string answer;
    if (!(*module)->send_test_mail(&settings, &answer)) {
        return Error{answer};
    }
    return answer;
}

}  // namespace pesterly
