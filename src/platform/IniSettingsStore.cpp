#include "platform/IniSettingsStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/ShownText.h"
#include "platform/WholeFile.h"

namespace pesterly {
namespace {

// Far more than a full table with long mail bodies takes.
constexpr int64_t kLargestSettingsFile = 16 * 1024 * 1024;

constexpr auto kPrivateFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

QString XdgFolder(const char* variable, const QString& fallback) {
    QString folder = qEnvironmentVariable(variable);
    if (folder.isEmpty() || !QDir::isAbsolutePath(folder)) {
        folder = QDir::homePath() + fallback;
    }
    return folder;
}

// A folder that is there keeps the permissions its owner gave it: one made read-only stays so,
// and a save then fails with a message instead of quietly undoing the owner's choice.
bool MakePrivateFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (info.exists()) {
        return info.isDir();
    }
    if (!QDir().mkpath(folder)) {
        return false;
    }
    QFile::setPermissions(folder, kPrivateFolder);
    return true;
}

std::string LineList(const std::vector<int>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size() && i < 10; ++i) {
        text += (i == 0 ? "" : i + 1 == lines.size() ? " and " : ", ") + std::to_string(lines[i]);
    }
    return lines.size() > 10 ? text + " and " + std::to_string(lines.size() - 10) + " more" : text;
}

}  // namespace

IniSettingsStore::IniSettingsStore(const QString& path) : path_(path), save_path_(path) {
    for (const QString& written :
         {path, path + QStringLiteral(".unsaved"), path + QStringLiteral(".damaged")}) {
        RemoveStaleCopies(written);
    }
    FileContents file = ReadRegularFile(path, kLargestSettingsFile);
    if (file.status == FileContents::Status::kRead) {
        Load(file.bytes);
        return;
    }
    if (file.status == FileContents::Status::kMissing) {
        return;  // a first start
    }
    save_path_ = path + QStringLiteral(".unsaved");
    const FileContents earlier = ReadRegularFile(save_path_, kLargestSettingsFile);
    if (earlier.status == FileContents::Status::kRead) {
        doc_ = ini::Document::Parse(earlier.bytes);
        bytes_as_read_ = earlier.bytes;
    }
    const QString problem =
        earlier.status == FileContents::Status::kRead
            ? tr("Pesterly cannot read its settings file %1: %2.\n\nSo as not to write over "
                 "events it could not read, Pesterly leaves that file alone. It has loaded %3 "
                 "instead, where it kept an earlier session's changes when this happened before, "
                 "and saves what you change to %3.\n\nOnce the settings file can be read again "
                 "(if it now belongs to another user, for example after \"sudo pesterly\", give "
                 "it back with \"sudo chown\"), end Pesterly and copy over what you need from %3.")
            : tr("Pesterly cannot read its settings file %1: %2.\n\nSo as not to write over "
                 "events it could not read, Pesterly leaves that file alone. It starts with an "
                 "empty table and saves what you change to %3.\n\nOnce the settings file can be "
                 "read again (if it now belongs to another user, for example after \"sudo "
                 "pesterly\", give it back with \"sudo chown\"), end Pesterly and copy over what "
                 "you need from %3.");
    read_problem_ =
        problem.arg(path, QString::fromStdString(file.reason), save_path_).toStdString();
}

void IniSettingsStore::Load(const std::string& bytes) {
    doc_ = ini::Document::Parse(bytes);
    bytes_as_read_ = bytes;
    const std::vector<int>& damaged = doc_.DamagedLines();
    if (damaged.empty()) {
        return;
    }
    const auto copy = KeepDamagedCopy();
    const QString kept =
        copy ? tr("The file as it was is kept as %1.").arg(QString::fromStdString(*copy))
             : tr("Pesterly could not keep a copy of the file as it was: %1.")
                   .arg(Shown(copy.error()));
    const QString lines = QString::fromStdString(LineList(damaged));
    const QString problem =
        damaged.size() == 1
            ? tr("Line %1 of the settings file %2 could not be read (a line needs a name, \"=\" "
                 "and a value; a section name needs its closing \"]\"). Pesterly has loaded "
                 "everything else; what it could not read will be gone when it next saves. %3")
            : tr("Lines %1 of the settings file %2 could not be read (a line needs a name, \"=\" "
                 "and a value; a section name needs its closing \"]\"). Pesterly has loaded "
                 "everything else; what it could not read will be gone when it next saves. %3");
    read_problem_ = problem.arg(lines, path_, kept).toStdString();
}

Result<std::string> IniSettingsStore::KeepDamagedCopy() {
    if (!damaged_copy_) {
        const QString kept = save_path_ + QStringLiteral(".damaged");
        if (Result<void> written = ReplacePrivateFile(kept, bytes_as_read_); !written) {
            damaged_copy_ = written.error();
        } else {
            damaged_copy_ = kept.toStdString();
        }
    }
    return *damaged_copy_;
}

QString IniSettingsStore::DefaultPath() {
    return XdgFolder("XDG_CONFIG_HOME", QStringLiteral("/.config")) +
           QStringLiteral("/Pesterly/Pesterly.ini");
}

QString IniSettingsStore::StateFolder() {
    return XdgFolder("XDG_STATE_HOME", QStringLiteral("/.local/state")) +
           QStringLiteral("/Pesterly");
}

std::string IniSettingsStore::GetSetting(std::string_view section, std::string_view key,
                                         std::string_view default_value) {
    const std::string* value = doc_.Find(section, key);
    return value == nullptr ? std::string(default_value) : *value;
}

void IniSettingsStore::SaveSetting(std::string_view section, std::string_view key,
                                   std::string_view value) {
    // Most of a table saved at exit is what was loaded at start: such values change nothing.
    if (doc_.Set(section, key, value)) {
        changed_ = true;
    }
}

bool IniSettingsStore::HasSetting(std::string_view section, std::string_view key) const {
    return doc_.Find(section, key) != nullptr;
}

void IniSettingsStore::RemoveSetting(std::string_view section, std::string_view key) {
    if (doc_.Remove(section, key)) {
        changed_ = true;
    }
}

Result<void> IniSettingsStore::Commit() {
    if (!changed_) {
        return {};
    }
    const QString folder = QFileInfo(save_path_).absolutePath();
    if (!MakePrivateFolder(folder)) {
        return Failure({PESTERLY_TEXT("IniSettingsStore",
                                      "Pesterly could not create the folder "
                                      "%1 for its settings file %2."),
                        {folder.toStdString(), save_path_.toStdString()}});
    }
    if (const Result<void> written = ReplacePrivateFile(save_path_, doc_.Serialize()); !written) {
        return Failure({PESTERLY_TEXT("IniSettingsStore",
                                      "Pesterly could not save its settings file %1. %2. Check "
                                      "that the disk is not full and that you may write there."),
                        {save_path_.toStdString(), Reason(written.error())}});
    }
    changed_ = false;
    return {};
}

Result<std::string> IniSettingsStore::KeepRescueCopy() {
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    const QString name = QStringLiteral("/Pesterly-") + stamp + QStringLiteral(".ini");
    const std::string text = doc_.Serialize();
    // Marked new until the next start has told the user about it.
    const QString folder = StateFolder();
    const QString rescue = folder + name + QStringLiteral(".new");
    Result<void> written;
    if (!MakePrivateFolder(folder)) {
        written = Error{"Pesterly could not create the folder " + folder.toStdString()};
    } else {
        written = ReplacePrivateFile(rescue, text);
    }
    if (written) {
        return rescue.toStdString();
    }
    // The state folder may sit on the same full disk; the temporary folder often does not.
    const QString temp = QDir::tempPath() + name;
    if (ReplacePrivateFile(temp, text)) {
        return temp.toStdString();
    }
    return written.error();
}

std::optional<std::string> IniSettingsStore::TakeRescueNotice(const QString& state_folder,
                                                              const QString& settings_path) {
    const QDir dir(state_folder);
    const QStringList fresh =
        dir.entryList({QStringLiteral("Pesterly-*.ini.new")}, QDir::Files, QDir::Name);
    if (fresh.isEmpty()) {
        return std::nullopt;
    }
    QString list;
    for (const QString& name : fresh) {
        QString path = dir.filePath(name);
        const QString told = path.chopped(4);  // without ".new"
        if (QFile::rename(path, told)) {
            path = told;
        }
        list += QStringLiteral("\n    ") + path;
    }
    return tr("When Pesterly was last ended by the desktop (at logout or by a signal) it could not "
              "save its settings file, so it kept your events in a rescue copy:%1\n\nThe events "
              "shown now are those of the settings file, which may be older. To go back to the "
              "rescued ones, end Pesterly and copy the rescue copy over %2.")
        .arg(list, settings_path)
        .toStdString();
}

}  // namespace pesterly
