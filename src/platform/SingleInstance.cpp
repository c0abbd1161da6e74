#include "platform/SingleInstance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace pesterly {
namespace {

constexpr int kReplyWaitMs = 3000;

QString ServerName(const QString& settings_path) {
    const QByteArray digest = QCryptographicHash::hash(
        QFileInfo(settings_path).absoluteFilePath().toUtf8(), QCryptographicHash::Sha1);
    return QStringLiteral("pesterly-%1-%2")
        .arg(::getuid())
        .arg(QString::fromLatin1(digest.toHex().left(16)));
}

QString LockPath(const QString& settings_path) {
    const QFileInfo info(settings_path);
    QDir().mkpath(info.absolutePath());
    return info.absolutePath() + QStringLiteral("/Pesterly.lock");
}

}  // namespace

SingleInstance::SingleInstance(const QString& settings_path, QObject* parent)
    : QObject(parent), server_name_(ServerName(settings_path)), lock_(LockPath(settings_path)) {
    // A copy that died keeps no lock: its process is gone, and QLockFile sees that.
    lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Claim() {
    if (lock_.tryLock(0)) {
        Listen();
        return true;
    }
    if (lock_.error() != QLockFile::LockFailedError) {
        // The lock cannot be made at all (an unwritable folder): the settings file cannot be
        // written either, and the program says so when it saves. Run rather than refuse.
        Listen();
        return true;
    }
    AskRunningCopyToShow();
    return false;
}

void SingleInstance::Listen() {
    QLocalServer::removeServer(server_name_);  // left over from a copy that died
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* peer = server_->nextPendingConnection()) {
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            peer->write("ok\n");
            peer->flush();
            emit ShowRequested();
        }
    });
    server_->listen(server_name_);
}

bool SingleInstance::AskRunningCopyToShow() {
    QLocalSocket socket;
    socket.connectToServer(server_name_);
    if (!socket.waitForConnected(kReplyWaitMs)) {
        return false;
    }
    return socket.waitForReadyRead(kReplyWaitMs);
}

}  // namespace pesterly
