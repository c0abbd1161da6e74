#include "platform/SecretServiceKeyring.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include "platform/ModuleLoader.h"

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

Result<Module> LoadKeyringModule() {
    const Result<std::vector<QFunctionPointer>> module = LoadModule(
        QStringLiteral("libpesterly-keyring.so"), {"PesterlyKeyringRead", "PesterlyKeyringWrite"});
    if (!module) {
        return Error{
            "Pesterly's keyring module (libpesterly-keyring.so) could not be loaded, so "
            "the mail server's password cannot be read or stored: " +
            module.error().message + ". Reinstalling Pesterly should bring it back."};
    }
    return Module{reinterpret_cast<decltype(&PesterlyKeyringRead)>((*module)[0]),
                  reinterpret_cast<decltype(&PesterlyKeyringWrite)>((*module)[1])};
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
    const Result<Module> module = LoadKeyringModule();
    if (!module) {
        return module.error();
    }
    std::string password;
    std::string problem;
    if (!module->read(&account, &password, &problem)) {
        return Error{problem};
    }
    return password;
}

Result<void> SecretServiceKeyring::Write(const std::string& account, const std::string& password) {
    const Result<Module> module = LoadKeyringModule();
    if (!module) {
        return module.error();
    }
    std::string problem;
    if (!module->write(&account, &password, &problem)) {
        return Error{problem};
    }
    return {};
}

}  // namespace pesterly
