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
    entries_.clear();
    sections_.clear();
    const QStringList keys = settings_->allKeys();
    entries_.reserve(static_cast<size_t>(keys.size()));
    for (const QString& name : keys) {
        // Of twins differing only in case, one is kept.
        entries_.emplace(Lower(name.toStdString()),
                         Entry{name, ValueText(settings_->value(name)).toStdString()});
        const qsizetype slash = name.indexOf(QLatin1Char('/'));
        if (slash > 0) {
            sections_.emplace(Lower(name.left(slash).toStdString()), name.left(slash));
        }
    }
}

std::string IniSettingsStore::Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

std::string IniSettingsStore::LowerName(std::string_view section, std::string_view key) {
    std::string name;
    name.reserve(section.size() + 1 + key.size());
    name.append(section).append(1, '/').append(key);
    return Lower(std::move(name));
}

std::string IniSettingsStore::GetSetting(std::string_view section, std::string_view key,
                                         std::string_view default_value) {
    const auto found = entries_.find(LowerName(section, key));
    return found == entries_.end() ? std::string(default_value) : found->second.value;
}

void IniSettingsStore::SaveSetting(std::string_view section, std::string_view key,
                                   std::string_view value) {
    std::string lower_name = LowerName(section, key);
    auto found = entries_.find(lower_name);
    if (found == entries_.end()) {
        // Keep the spelling the file already has for the section.
        const std::string lower_section = Lower(std::string(section));
        const auto known = sections_.find(lower_section);
        const QString section_name = known != sections_.end() ? known->second : ToQ(section);
        sections_.emplace(lower_section, section_name);
        found = entries_
                    .emplace(std::move(lower_name),
                             Entry{section_name + QLatin1Char('/') + ToQ(key), {}})
                    .first;
    } else if (found->second.value == value) {
        return;  // most of a table saved at exit is what was loaded at start
    }
    found->second.value = std::string(value);
    settings_->setValue(found->second.name, ToQ(value));
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
