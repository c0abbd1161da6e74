#include "platform/MailModule.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QStringList>
#include <cstdlib>

#include "store/TextForms.h"

namespace pesterly {
namespace {

// Stands in for the mail service when it cannot be used: every attempt to send says why.
class UnavailableMailSession : public MailSession {
  public:
    explicit UnavailableMailSession(std::string reason) : reason_(std::move(reason)) {}
    MaybeError SignOn() override { return Error{reason_}; }
    void Compose() override {}
    void AddRecipient(RecipientType, std::string, std::string) override {}
    void SetSubject(std::string) override {}
    void SetNoteText(std::string) override {}
    MaybeError Send() override { return Error{reason_}; }
    void SignOff() override {}

  private:
    std::string reason_;
};

struct Module {
    decltype(&PesterlyMakeMailSession) make_session = nullptr;
    decltype(&PesterlySendTestMail) send_test_mail = nullptr;
};

// Beside the program in the build folder; in its own folder once installed. Only these
// places are searched, never the library path of the environment.
const Module* LoadModule(std::string& reason) {
    static Module loaded;
    if (loaded.make_session != nullptr) {
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
        loaded.make_session = reinterpret_cast<decltype(&PesterlyMakeMailSession)>(
            module.resolve("PesterlyMakeMailSession"));
        loaded.send_test_mail = reinterpret_cast<decltype(&PesterlySendTestMail)>(
            module.resolve("PesterlySendTestMail"));
        if (loaded.make_session != nullptr && loaded.send_test_mail != nullptr) {
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

std::unique_ptr<MailSession> MakeSystemMailSession(const MailSettings& settings) {
    std::string reason;
    if (const Module* module = LoadModule(reason)) {
        return std::unique_ptr<MailSession>(module->make_session(&settings));
    }
    return std::make_unique<UnavailableMailSession>(Unloadable(reason));
}

std::unique_ptr<MailSession> MakeSystemMailSession(SettingsStore& store, PasswordKeyring& keyring,
                                                   std::stop_token stop) {
    const MailServerSettings server = LoadMailServer(store);
    if (MaybeError problem = CheckMailServer(server)) {
        return std::make_unique<UnavailableMailSession>(
            "The mail server settings (Options, Mail Server) cannot be used: " + problem->message);
    }
    MailSettings settings = MailSettingsFor(server, "");
    // Only a login of the settings' own needs the keyring (PESTERLY_MAIL_URL brings its own).
    if (!settings.user.empty() && keyring.Available()) {
        auto stored = keyring.Read(MailAccountName(server));
        if (const Error* error = std::get_if<Error>(&stored)) {
            return std::make_unique<UnavailableMailSession>(error->message);
        }
        settings.password = std::get<std::string>(std::move(stored));
    }
    settings.stop = std::move(stop);
    return MakeSystemMailSession(settings);
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
