#include "platform/WholeFile.h"

#include <QFile>
#include <QSaveFile>

namespace pesterly {
namespace {

// Far more than 101 events with long mail bodies take.
constexpr qint64 kLargestFile = 64 * 1024 * 1024;

Error FileError(const char* what, const QString& path, const QString& reason) {
    return Error{std::string(what) + " " + path.toStdString() + ": " + reason.toStdString()};
}

}  // namespace

MaybeError WriteWholeFile(const QString& path, const std::string& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return FileError("Pesterly could not create the file", path, file.errorString());
    }
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !file.commit()) {
        return FileError("Pesterly could not write the file", path, file.errorString());
    }
    return std::nullopt;
}

std::variant<std::string, Error> ReadWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return FileError("Pesterly could not open the file", path, file.errorString());
    }
    if (file.size() > kLargestFile) {
        return FileError("Pesterly will not read the file", path,
                         QStringLiteral("it is far too large to be an exchange file"));
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return FileError("Pesterly could not read the file", path, file.errorString());
    }
    return bytes.toStdString();
}

}  // namespace pesterly
