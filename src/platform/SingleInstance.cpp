#include "platform/SingleInstance.h"

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QSysInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

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

// A folder of this user's own in the temporary folder, made if need be; empty when the name is
// taken by anything else (another user's folder, a link, a folder others may write to).
QString PrivateTemporaryFolder() {
    const QByteArray path = QFile::encodeName(QDir::tempPath() + QStringLiteral("/pesterly-") +
                                              QString::number(::getuid()));
    ::mkdir(path.constData(), 0700);
    struct stat info {};
    if (::lstat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::getuid() || (info.st_mode & 077) != 0) {
        return {};
    }
    return QFile::decodeName(path);
}

// False for a lock left by a copy that has ended, which could not be removed because its folder
// has become read-only: it proves nothing about a running copy. A lock taken on another machine
// (a shared home folder) counts as held.
bool HeldByALivingProcess(const QLockFile& lock) {
    qint64 pid = 0;
    QString host;
    QString application;
    if (!lock.getLockInfo(&pid, &host, &application)) {
        return true;  // being written by a copy that starts this moment
    }
    return (!host.isEmpty() && host != QSysInfo::machineHostName()) ||
           (pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM));
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

QStringList SingleInstance::LockPaths(const QString& settings_path) {
    const QString name =
        QString::fromStdString(SocketName(settings_path)) + QStringLiteral(".lock");
    QStringList paths;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime)) {
        paths << runtime + QLatin1Char('/') + name;
    }
    if (const QString temporary = PrivateTemporaryFolder(); !temporary.isEmpty()) {
        paths << temporary + QLatin1Char('/') + name;
    }
    paths << QFileInfo(settings_path).absolutePath() + QStringLiteral("/Pesterly.lock");
    return paths;
}

SingleInstance::SingleInstance(const QString& settings_path, QStringList lock_paths,
                               QObject* parent)
    : QObject(parent),
      socket_name_(SocketName(settings_path)),
      lock_paths_(lock_paths.isEmpty() ? LockPaths(settings_path) : std::move(lock_paths)) {}

SingleInstance::~SingleInstance() {
    if (listener_ >= 0) {
        ::close(listener_);
    }
}

bool SingleInstance::Claim() {
    if (!TakeLocks()) {
        return false;
    }
    AnswerLaterStarts();
    return true;
}

bool SingleInstance::TakeLocks() {
    for (const QString& path : lock_paths_) {
        auto lock = std::make_unique<QLockFile>(path);
        // Only a dead copy's lock is stale, however long a living copy has held it.
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            locks_.push_back(std::move(lock));
        } else if (lock->error() == QLockFile::LockFailedError && HeldByALivingProcess(*lock)) {
            locks_.clear();
            answer_ = AskRunningCopyToShow();
            return false;
        }
        // Otherwise no lock can be made here (a full or read-only folder, or none): the other
        // folders must do.
    }
    if (locks_.empty()) {
        answer_ = Answer::kNoLock;
        return false;
    }
    Listen();
    return true;
}

void SingleInstance::AnswerLaterStarts() {
    if (listener_ >= 0 && notifier_ == nullptr) {
        notifier_ = new QSocketNotifier(listener_, QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, &SingleInstance::AcceptAll);
    }
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
        if (listener_ >= 0) {
            ::close(std::exchange(listener_, -1));
        }
    }
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
