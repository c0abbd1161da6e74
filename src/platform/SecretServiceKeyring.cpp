#include "platform/SecretServiceKeyring.h"

#include <qt6keychain/keychain.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QEventLoop>

namespace pesterly {
namespace {

const QString kService = QStringLiteral("Pesterly");
const QString kSecretsBus = QStringLiteral("org.freedesktop.secrets");

// Runs the job to its end. QtKeychain reports through signals only, so the wait lets events run.
void RunToEnd(QKeychain::Job& job) {
    job.setAutoDelete(false);
    // Without a keyring service QtKeychain could keep the password in a plain file instead.
    job.setInsecureFallback(false);
    QEventLoop wait;
    QObject::connect(&job, &QKeychain::Job::finished, &wait, &QEventLoop::quit);
    job.start();
    wait.exec(QEventLoop::ExcludeUserInputEvents);
}

Error KeyringError(const char* doing, const QKeychain::Job& job) {
    return Error{std::string("The desktop's keyring could not ") + doing +
                 " the mail server's password: " + job.errorString().toStdString()};
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
    QKeychain::ReadPasswordJob job(kService);
    job.setKey(QString::fromStdString(account));
    RunToEnd(job);
    if (job.error() == QKeychain::EntryNotFound) {
        return std::string();
    }
    if (job.error() != QKeychain::NoError) {
        return KeyringError("read", job);
    }
    return job.textData().toStdString();
}

Result<void> SecretServiceKeyring::Write(const std::string& account, const std::string& password) {
    if (password.empty()) {
        QKeychain::DeletePasswordJob job(kService);
        job.setKey(QString::fromStdString(account));
        RunToEnd(job);
        if (job.error() != QKeychain::NoError && job.error() != QKeychain::EntryNotFound) {
            return KeyringError("remove", job);
        }
        return {};
    }
    QKeychain::WritePasswordJob job(kService);
    job.setKey(QString::fromStdString(account));
    job.setTextData(QString::fromStdString(password));
    RunToEnd(job);
    if (job.error() != QKeychain::NoError) {
        return KeyringError("store", job);
    }
    return {};
}

}  // namespace pesterly
