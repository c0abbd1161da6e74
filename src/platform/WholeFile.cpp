#include "platform/WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace pesterly {
namespace {

// Far more than 101 events with long mail bodies take.
constexpr int64_t kLargestFile = 64 * 1024 * 1024;

// `what` is a marked text with the path as %1 and the reason as %2.
Error FileError(const char* context, const char* what, const QString& path, const QString& reason) {
    return Failure({context, what, {path.toStdString(), reason.toStdString()}});
}

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// Where a replacement goes: a symbolic link is kept, and what it points to is replaced.
QString WrittenPath(const QString& path) {
    const QFileInfo info(path);
    return info.isSymLink() && !info.symLinkTarget().isEmpty() ? info.symLinkTarget() : path;
}

// The six letters or digits that mkostemp puts in place of XXXXXX, and not a word: a copy a
// person made and named "backup", "Backup" or "BACKUP" is left alone (a random name looks like
// a word only about once in a hundred times; such a leftover merely stays).
bool IsTemporarySuffix(const QString& suffix) {
    int digits = 0;
    int capitals = 0;
    for (const QChar c : suffix) {
        if (c.unicode() > 0x7F || !c.isLetterOrNumber()) {
            return false;
        }
        digits += c.isDigit() ? 1 : 0;
        capitals += c.isUpper() ? 1 : 0;
    }
    const bool word = digits == 0 && (capitals == 6 || capitals == 0 ||
                                      (capitals == 1 && suffix.front().isUpper()));
    return suffix.size() == 6 && !word;
}

// A write lease is granted only while no other file descriptor is open on the file, so it
// proves that no process is writing the file now; it is held across the removal.
void RemoveIfNobodyHasItOpen(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
        ::fcntl(fd, F_SETLEASE, F_WRLCK) == 0) {
        ::unlink(name.constData());
        ::fcntl(fd, F_SETLEASE, F_UNLCK);
    }
    ::close(fd);
}

}  // namespace

Result<void> WriteWholeFile(const QString& path, const std::string& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return FileError(PESTERLY_TEXT("WholeFile", "Pesterly could not create the file %1: %2"),
                         path, file.errorString());
    }
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !file.commit()) {
        return FileError(PESTERLY_TEXT("WholeFile", "Pesterly could not write the file %1: %2"),
                         path, file.errorString());
    }
    return {};
}

Result<std::string> ReadWholeFile(const QString& path) {
    FileContents contents = ReadRegularFile(path, kLargestFile);
    if (contents.status != FileContents::Status::kRead) {
        return Failure({PESTERLY_TEXT("WholeFile", "Pesterly could not read the file %1: %2"),
                        {path.toStdString(), contents.reason}});
    }
    return std::move(contents.bytes);
}

FileContents ReadRegularFile(const QString& path, int64_t largest) {
    FileContents contents;
    // Without O_NONBLOCK, opening a pipe waits for a writer that may never come.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        contents.status = errno == ENOENT || errno == ENOTDIR ? FileContents::Status::kMissing
                                                              : FileContents::Status::kFailed;
        contents.reason = std::strerror(errno);
        return contents;
    }
    contents.status = FileContents::Status::kFailed;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        contents.reason = std::strerror(errno);
    } else if (!S_ISREG(info.st_mode)) {
        contents.reason = S_ISDIR(info.st_mode)
                              ? "it is a folder, not a file"
                              : "it is not an ordinary file (it is a pipe, a socket or a device)";
    } else if (info.st_size > largest) {
        contents.reason = "it is far too large to be one of Pesterly's files";
    } else {
        contents.bytes.reserve(static_cast<size_t>(info.st_size));
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                contents.reason = std::strerror(errno);
                break;
            }
            if (n == 0) {
                contents.status = FileContents::Status::kRead;
                break;
            }
            contents.bytes.append(buffer, static_cast<size_t>(n));
            if (static_cast<int64_t>(contents.bytes.size()) > largest) {
                contents.reason = "it is far too large to be one of Pesterly's files";
                break;
            }
        }
    }
    ::close(fd);
    if (contents.status != FileContents::Status::kRead) {
        contents.bytes.clear();
    }
    return contents;
}

Result<void> ReplacePrivateFile(const QString& path, const std::string& bytes) {
    const QString target = WrittenPath(path);
    QByteArray temp = QFile::encodeName(target + QStringLiteral(".XXXXXX"));
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);  // created with mode 0600
    if (fd < 0) {
        return FileError(PESTERLY_TEXT("WholeFile", "Pesterly could not write the file %1: %2"),
                         path, QString::fromLocal8Bit(std::strerror(errno)));
    }
    // fdatasync: the data and the size, without the times nobody needs after a power cut.
    bool ok = WriteAll(fd, bytes) && ::fdatasync(fd) == 0;
    int failure = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        failure = errno;
    }
    if (ok && ::rename(temp.constData(), QFile::encodeName(target).constData()) != 0) {
        ok = false;
        failure = errno;
    }
    if (!ok) {
        ::unlink(temp.constData());
        return FileError(PESTERLY_TEXT("WholeFile", "Pesterly could not write the file %1: %2"),
                         path, QString::fromLocal8Bit(std::strerror(failure)));
    }
    // The rename lives in the folder: until the folder reaches the disk, a power cut may still
    // bring back the old file.
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // A file system that cannot sync a folder says EINVAL; its renames are as safe as it gets.
    if (dir < 0 || (::fsync(dir) != 0 && errno != EINVAL)) {
        failure = errno;
        if (dir >= 0) {
            ::close(dir);
        }
        return FileError(
            PESTERLY_TEXT(
                "WholeFile",
                "Pesterly wrote the file but could not make sure it reached the disk %1: %2"),
            path, QString::fromLocal8Bit(std::strerror(failure)));
    }
    ::close(dir);
    return {};
}

void RemoveStaleCopies(const QString& path) {
    const QFileInfo target(WrittenPath(path));
    const QString prefix = target.fileName() + QLatin1Char('.');
    // Names compared here rather than by a name filter, which Qt turns into a regular
    // expression: compiling three of those cost more than reading the settings at start.
    QDirIterator files(target.absolutePath(),
                       QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    while (files.hasNext()) {
        const QString copy = files.next();
        const QString name = files.fileName();
        if (name.size() == prefix.size() + 6 && name.startsWith(prefix) &&
            IsTemporarySuffix(name.mid(prefix.size()))) {
            RemoveIfNobodyHasItOpen(copy);
        }
    }
}

}  // namespace pesterly
