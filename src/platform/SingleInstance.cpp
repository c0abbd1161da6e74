#include "platform/SingleInstance.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace pesterly {
namespace {

constexpr int kReplyWaitMs = 3000;
// Sent by the running copy once its window has been shown.
constexpr char kShown[] = "shown\n";
constexpr size_t kShownLength = sizeof kShown - 1;

// Any process can connect to an abstract socket, or bind its name first: the user of the
// other end is checked on both sides.
bool PeerIsThisUser(int fd) {
    ucred peer{};
    socklen_t length = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 && peer.uid == ::getuid();
}

sockaddr_un Address(const std::string& name, socklen_t& length) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());  // sun_path[0] stays 0
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    return address;
}

QString LockPath(const QString& settings_path) {
    const QFileInfo info(settings_path);
    QDir().mkpath(info.absolutePath());
    return info.absolutePath() + QStringLiteral("/Pesterly.lock");
}

bool WaitFor(int fd, short events) {
    pollfd wanted{fd, events, 0};
    int ready = 0;
    while ((ready = ::poll(&wanted, 1, kReplyWaitMs)) < 0 && errno == EINTR) {
    }
    return ready == 1 && (wanted.revents & events) != 0;
}

}  // namespace

// A name in the abstract socket namespace: nothing on disk to clean up after a crash.
std::string SingleInstance::SocketName(const QString& settings_path) {
    const QByteArray digest = QCryptographicHash::hash(
        QFileInfo(settings_path).absoluteFilePath().toUtf8(), QCryptographicHash::Sha1);
    return "pesterly-" + std::to_string(::getuid()) + "-" + digest.toHex().left(16).toStdString();
}

SingleInstance::SingleInstance(const QString& settings_path, QObject* parent)
    : QObject(parent), socket_name_(SocketName(settings_path)), lock_(LockPath(settings_path)) {
    // Only a dead copy's lock is stale, however long a living copy has held it.
    lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() {
    if (listener_ >= 0) {
        ::close(listener_);
    }
}

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
    answer_ = AskRunningCopyToShow();
    return false;
}

void SingleInstance::Listen() {
    listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    socklen_t length = 0;
    const sockaddr_un address = Address(socket_name_, length);
    if (listener_ < 0 ||
        ::bind(listener_, reinterpret_cast<const sockaddr*>(&address), length) != 0 ||
        ::listen(listener_, 4) != 0) {
        // Later starts then cannot reach this copy, but still do not run beside it.
        if (errno == EADDRINUSE) {
            std::fputs(
                "pesterly: another program holds this copy's local socket name, so a "
                "later start cannot bring its window up.\n",
                stderr);
        }
        return;
    }
    notifier_ = new QSocketNotifier(listener_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SingleInstance::AcceptAll);
}

void SingleInstance::AcceptAll() {
    int peer = -1;
    while ((peer = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0) {
        if (PeerIsThisUser(peer)) {
            Q_EMIT ShowRequested();
            [[maybe_unused]] const ssize_t sent = ::send(peer, kShown, kShownLength, MSG_NOSIGNAL);
        }
        ::close(peer);
    }
}

SingleInstance::Answer SingleInstance::AskRunningCopyToShow() {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        return Answer::kNoAnswer;
    }
    socklen_t length = 0;
    const sockaddr_un address = Address(socket_name_, length);
    Answer answer = Answer::kNoAnswer;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0 ||
        (errno == EINPROGRESS && WaitFor(fd, POLLOUT))) {
        if (!PeerIsThisUser(fd)) {
            answer = Answer::kSocketOfAnotherUser;
        } else {
            std::string reply;
            char chunk[16];
            ssize_t n = 0;
            while (reply.size() < kShownLength && WaitFor(fd, POLLIN) &&
                   (n = ::recv(fd, chunk, sizeof chunk, 0)) > 0) {
                reply.append(chunk, static_cast<size_t>(n));
            }
            if (reply == kShown) {
                answer = Answer::kWindowShown;
            }
        }
    }
    ::close(fd);
    return answer;
}

}  // namespace pesterly
