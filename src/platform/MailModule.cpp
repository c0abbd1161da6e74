#include "platform/MailModule.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QStringList>

#include "PesterlyConfig.h"

namespace pesterly {
namespace {

// Stands in for the mail service when the module is missing: every attempt to send says so.
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

using MakeSession = MailSession* (*)(const std::stop_token*);

// Beside the program in the build folder; in its own folder once installed. Only these
// places are searched, never the library path of the environment.
MakeSession LoadModule(std::string& reason) {
    static MakeSession make = nullptr;
    if (make != nullptr) {
        return make;
    }
    const QStringList folders = {QCoreApplication::applicationDirPath(),
                                 QStringLiteral(PESTERLY_MODULE_DIR)};
    for (const QString& folder : folders) {
        QLibrary module(folder + QStringLiteral("/libpesterly-mail.so"));
        if (!module.load()) {
            reason = module.errorString().toStdString();
            continue;
        }
        make = reinterpret_cast<MakeSession>(module.resolve("PesterlyMakeSystemMailSession"));
        if (make != nullptr) {
            return make;
        }
        reason = module.errorString().toStdString();
    }
    return nullptr;
}

}  // namespace

std::unique_ptr<MailSession> MakeSystemMailSession(std::stop_token stop) {
    std::string reason;
    if (const MakeSession make = LoadModule(reason)) {
        return std::unique_ptr<MailSession>(make(&stop));
    }
    return std::make_unique<UnavailableMailSession>(
        "Pesterly's mail module (libpesterly-mail.so) could not be loaded, so no mail can be "
        "sent: " +
        reason + ". Reinstalling Pesterly should bring it back.");
}

}  // namespace pesterly
