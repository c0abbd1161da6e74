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

// `what` is a marked text with the keyring's reason as %1.
Error KeyringError(const char* context, const char* what, const QKeychain::Job& job) {
    return Failure({context, what, {job.errorString().toStdString()}});
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
        return KeyringError(
            PESTERLY_TEXT("SecretServiceKeyring",
                          "The desktop's keyring could not read the mail server's password: %1"),
            job);
    }
    return job.textData().toStdString();
}

Result<void> SecretServiceKeyring::Write(const std::string& account, const std::string& password) {
    if (password.empty()) {
        QKeychain::DeletePasswordJob job(kService);
        job.setKey(QString::fromStdString(account));
        RunToEnd(job);
        if (job.error() != QKeychain::NoError && job.error() != QKeychain::EntryNotFound) {
            return KeyringError(
                PESTERLY_TEXT(
                    "SecretServiceKeyring",
                    "The desktop's keyring could not remove the mail server's password: %1"),
                job);
        }
        return {};
    }
    QKeychain::WritePasswordJob job(kService);
    job.setKey(QString::fromStdString(account));
    job.setTextData(QString::fromStdString(password));
    RunToEnd(job);
    if (job.error() != QKeychain::NoError) {
        return KeyringError(
            PESTERLY_TEXT("SecretServiceKeyring",
                          "The desktop's keyring could not store the mail server's password: %1"),
            job);
    }
    return {};
}

}  // namespace pesterly
