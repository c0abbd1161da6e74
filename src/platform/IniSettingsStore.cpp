#include "platform/IniSettingsStore.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

namespace pesterly {
namespace {

QString ToQ(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// QSettings reads an unquoted value with commas in it as a list; a person who typed
// "Buy milk, eggs" into the file meant one text.
QString ValueText(const QVariant& value) {
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(QStringLiteral(", "));
    }
    return value.toString();
}

}  // namespace

IniSettingsStore::IniSettingsStore(const QString& path)
    : path_(path), settings_(std::make_unique<QSettings>(path, QSettings::IniFormat)) {
    IndexNames();
    if (settings_->status() == QSettings::FormatError) {
        const QString kept = path + QStringLiteral(".damaged");
        QFile::remove(kept);
        QFile::copy(path, kept);
        read_problem_ = "Some lines of the settings file " + path.toStdString() +
                        " could not be read. Pesterly has loaded what it could; the lines it "
                        "could not read will be gone when it next saves. The file as it was is "
                        "kept as " +
                        kept.toStdString() + ".";
    }
}

QString IniSettingsStore::DefaultPath() {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config)) {
        config = QDir::homePath() + QStringLiteral("/.config");
    }
    return config + QStringLiteral("/Pesterly/Pesterly.ini");
}

void IniSettingsStore::IndexNames() {
    names_.clear();
    sections_.clear();
    const QStringList keys = settings_->allKeys();
    for (const QString& name : keys) {
        names_.insert(name.toLower(), name);  // of twins differing in case, one is kept
        const qsizetype slash = name.indexOf(QLatin1Char('/'));
        if (slash > 0) {
            sections_.insert(name.left(slash).toLower(), name.left(slash));
        }
    }
}

std::string IniSettingsStore::GetSetting(std::string_view section, std::string_view key,
                                         std::string_view default_value) {
    const QString wanted = (ToQ(section) + QLatin1Char('/') + ToQ(key)).toLower();
    const auto found = names_.constFind(wanted);
    if (found == names_.constEnd()) {
        return std::string(default_value);
    }
    return ValueText(settings_->value(*found)).toStdString();
}

void IniSettingsStore::SaveSetting(std::string_view section, std::string_view key,
                                   std::string_view value) {
    const QString lower_section = ToQ(section).toLower();
    const QString lower_name = lower_section + QLatin1Char('/') + ToQ(key).toLower();
    QString name = names_.value(lower_name);
    if (name.isEmpty()) {
        // Keep the spelling the file already has for the section.
        name = sections_.value(lower_section, ToQ(section)) + QLatin1Char('/') + ToQ(key);
        names_.insert(lower_name, name);
        sections_.insert(lower_section, name.left(name.indexOf(QLatin1Char('/'))));
    }
    settings_->setValue(name, ToQ(value));
}

MaybeError IniSettingsStore::Commit() {
    const QFileInfo info(path_);
    if (!QDir().mkpath(info.absolutePath())) {
        return Error{"Pesterly could not create the folder " + info.absolutePath().toStdString() +
                     " for its settings."};
    }
    QFile::setPermissions(info.absolutePath(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!info.exists()) {
        // Create the file owner-only first: the atomic replace keeps the mode it finds.
        const int fd =
            ::open(QFile::encodeName(path_).constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd >= 0) {
            ::close(fd);
        }
    }
    if (settings_->status() == QSettings::AccessError) {
        // QSettings keeps reporting its first error for as long as it lives; a fresh one on
        // the same file still holds the unsaved values, and may succeed now.
        settings_ = std::make_unique<QSettings>(path_, QSettings::IniFormat);
    }
    settings_->sync();
    if (settings_->status() == QSettings::AccessError) {
        return Error{"Pesterly could not write its settings file " + path_.toStdString() +
                     ". Check that the disk is not full and that you may write there."};
    }
    QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner);
    return std::nullopt;
}

}  // namespace pesterly
