#include "platform/SecretServiceKeyring.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QLibrary>
#include <QStringList>

#include "PesterlyConfig.h"

// The keyring module's entry points (platform/KeyringModuleEntry.cpp).
extern "C" bool PesterlyKeyringRead(const std::string* account, std::string* password,
                                    std::string* error);
extern "C" bool PesterlyKeyringWrite(const std::string* account, const std::string* password,
                                     std::string* error);

namespace pesterly {
namespace {

const QString kSecretsBus = QStringLiteral("org.freedesktop.secrets");

struct Module {
    decltype(&PesterlyKeyringRead) read = nullptr;
    decltype(&PesterlyKeyringWrite) write = nullptr;
};

// Beside the program in the build folder; in its own folder once installed. Only these
// places are searched, never the library path of the environment.
Result<const Module*> LoadModule() {
    static Module loaded;
    if (loaded.read != nullptr) {
        return &loaded;
    }
    QString reason;
    for (const QString& folder :
         {QCoreApplication::applicationDirPath(), QStringLiteral(PESTERLY_MODULE_DIR)}) {
        QLibrary module(folder + QStringLiteral("/libpesterly-keyring.so"));
        if (module.load()) {
            loaded.read = reinterpret_cast<decltype(&PesterlyKeyringRead)>(
                module.resolve("PesterlyKeyringRead"));
            loaded.write = reinterpret_cast<decltype(&PesterlyKeyringWrite)>(
                module.resolve("PesterlyKeyringWrite"));
            if (loaded.read != nullptr && loaded.write != nullptr) {
                return &loaded;
            }
            loaded = {};
        }
        reason = module.errorString();
    }
    return Error{
        "Pesterly's keyring module (libpesterly-keyring.so) could not be loaded, so "
        "the mail server's password cannot be read or stored: " +
        reason.toStdString() + ". Reinstalling Pesterly should bring it back."};
}

}  // namespace

bool SecretServiceKeyring::Available() {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || bus.interface() == nullptr) {
        return false;
    }
    // A service that is not running yet but would be started on the first call counts too.
    return bus.interface()->isServiceRegistered(kSecretsBus).value() ||
           bus.interface()->activatableServiceNames().value().contains(kSecretsBus);
}

Result<std::string> SecretServiceKeyring::Read(const std::string& account) {
    const Result<const Module*> module = LoadModule();
    if (!module) {
        return module.error();
    }
    std::string password;
    std::string problem;
    if (!(*module)->read(&account, &password, &problem)) {
        return Error{problem};
    }
    return password;
}

Result<void> SecretServiceKeyring::Write(const std::string& account, const std::string& password) {
    const Result<const Module*> module = LoadModule();
    if (!module) {
        return module.error();
    }
    std::string problem;
    if (!(*module)->write(&account, &password, &problem)) {
        return Error{problem};
    }
    return {};
}

}  // namespace pesterly
