#include "platform/MailModule.h"

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
const Module* LoadModule(std::string& reason) {
    static Module loaded;
    if (loaded.make_post != nullptr) {
        return &loaded;
    }
    const QStringList folders = {QCoreApplication::applicationDirPath(),
                                 QStringLiteral(PESTERLY_MODULE_DIR)};
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
    return nullptr;
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

std::unique_ptr<MailPost> LoadMailPost(const MailSettings& settings, std::string& reason) {
    std::string why;
    if (const Module* module = LoadModule(why)) {
        return std::unique_ptr<MailPost>(module->make_post(&settings));
    }
    reason = Unloadable(why);
    return nullptr;
}

std::unique_ptr<MailPost> LoadMailPost(SettingsStore& store, PasswordKeyring& keyring,
                                       std::stop_token stop, std::string& reason) {
    const MailServerSettings server = LoadMailServer(store);
    if (MaybeError problem = CheckMailServer(server)) {
        reason =
            "The mail server settings (Options, Mail Server) cannot be used: " + problem->message;
        return nullptr;
    }
    MailSettings settings = MailSettingsFor(server, "");
    // Only a login of the settings' own needs the keyring (PESTERLY_MAIL_URL brings its own).
    if (!settings.user.empty() && keyring.Available()) {
        auto stored = keyring.Read(MailAccountName(server));
        if (const Error* error = std::get_if<Error>(&stored)) {
            reason = error->message;
            return nullptr;
        }
        settings.password = std::get<std::string>(std::move(stored));
    }
    settings.stop = std::move(stop);
    return LoadMailPost(settings, reason);
}

std::variant<std::string, Error> SendTestMail(const MailSettings& settings) {
    std::string reason;
    const Module* module = LoadModule(reason);
    if (module == nullptr) {
        return Error{Unloadable(reason)};
    }
    std::string answer;
    if (!module->send_test_mail(&settings, &answer)) {
        return Error{answer};
    }
    return answer;
}

}  // namespace pesterly
