// The entry points of the keyring module, which the program loads the first time it reads or
// stores the mail server's password: QtKeychain, and what it brings, stays out of the start.
#include <qt6keychain/keychain.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <string>

namespace {

const QString kService = QStringLiteral("Pesterly");

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

// `what` is a marked text with the keyring's reason as %1. The program's translation applies
// here too: the module runs in its process.
std::string KeyringError(const char* what, const QKeychain::Job& job) {
    return QCoreApplication::translate("SecretServiceKeyring", what)
        .arg(job.errorString())
        .toStdString();
}

}  // namespace

// The stored password, empty when there is none; false, with the reason, when the keyring
// could not be read.
extern "C" __attribute__((visibility("default"))) bool PesterlyKeyringRead(
    const std::string* account, std::string* password, std::string* error) {
    QKeychain::ReadPasswordJob job(kService);
    job.setKey(QString::fromStdString(*account));
    RunToEnd(job);
    if (job.error() == QKeychain::EntryNotFound) {
        password->clear();
        return true;
    }
    if (job.error() != QKeychain::NoError) {
        *error =
            KeyringError(QT_TRANSLATE_NOOP(
                             "SecretServiceKeyring",
                             "The desktop's keyring could not read the mail server's password: %1"),
                         job);
        return false;
    }
    *password = job.textData().toStdString();
    return true;
}

// Stores the password; an empty one removes what the keyring holds for the account.
extern "C" __attribute__((visibility("default"))) bool PesterlyKeyringWrite(
    const std::string* account, const std::string* password, std::string* error) {
    if (password->empty()) {
        QKeychain::DeletePasswordJob job(kService);
        job.setKey(QString::fromStdString(*account));
        RunToEnd(job);
        if (job.error() != QKeychain::NoError && job.error() != QKeychain::EntryNotFound) {
            *error = KeyringError(
                QT_TRANSLATE_NOOP(
                    "SecretServiceKeyring",
                    "The desktop's keyring could not remove the mail server's password: %1"),
                job);
            return false;
        }
        return true;
    }
    QKeychain::WritePasswordJob job(kService);
    job.setKey(QString::fromStdString(*account));
    job.setTextData(QString::fromStdString(*password));
    RunToEnd(job);
    if (job.error() != QKeychain::NoError) {
        *error = KeyringError(
            QT_TRANSLATE_NOOP(
                "SecretServiceKeyring",
                "The desktop's keyring could not store the mail server's password: %1"),
            job);
        return false;
    }
    return true;
}
