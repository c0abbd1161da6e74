#include "platform/MailModule.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QStringList>

namespace pesterly {
namespace {

using MakePost = MailPost* (*)(const MailSettings*, const std::stop_token*);

// Beside the program in the build folder; in its own folder once installed. Only these
// places are searched, never the library path of the environment.
MakePost LoadModule(std::string& reason) {
    static MakePost make = nullptr;
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
        make = reinterpret_cast<MakePost>(module.resolve("PesterlyMakeMailPost"));
        if (make != nullptr) {
            return make;
        }
        reason = module.errorString().toStdString();
    }
    return nullptr;
}

}  // namespace

std::unique_ptr<MailPost> LoadMailPost(const MailSettings* settings, std::stop_token stop,
                                       std::string& reason) {
    std::string why;
    if (const MakePost make = LoadModule(why)) {
        return std::unique_ptr<MailPost>(make(settings, &stop));
    }
    reason =
        "Pesterly's mail module (libpesterly-mail.so) could not be loaded, so no mail can be "
        "sent: " +
        why + ". Reinstalling Pesterly should bring it back.";
    return nullptr;
}

}  // namespace pesterly
