#include "platform/AutostartEntry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "platform/WholeFile.h"

namespace pesterly {
namespace {

// A desktop entry is small; a larger file is not one we should read or replace.
constexpr int64_t kLargestEntry = 64 * 1024;

// One argument of an Exec line: quoted when it holds a character the line gives a meaning,
// with the characters that stay special inside quotes escaped. Then, since the whole line is
// a string value, every backslash is doubled and a percent sign written as "%%".
QString ExecArgument(const QString& argument) {
    static const QString kReserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString text = argument;
    if (std::any_of(text.begin(), text.end(), [](QChar c) { return kReserved.contains(c); })) {
        QString quoted;
        for (const QChar c : text) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
                c == QLatin1Char('\\')) {
                quoted += QLatin1Char('\\');
            }
            quoted += c;
        }
        text = QLatin1Char('"') + quoted + QLatin1Char('"');
    }
    return text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('%'), QStringLiteral("%%"));
}

}  // namespace

AutostartEntry::AutostartEntry(QString path, QString program)
    : path_(std::move(path)), program_(std::move(program)) {}

QString AutostartEntry::DefaultPath() {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config)) {
        config = QDir::homePath() + QStringLiteral("/.config");
    }
    return config + QStringLiteral("/autostart/pesterly.desktop");
}

bool AutostartEntry::SwitchedOffElsewhere() const {
    const FileContents file = ReadRegularFile(path_, kLargestEntry);
    if (file.status != FileContents::Status::kRead) {
        return false;
    }
    bool in_entry = false;
    for (const QString& raw : QString::fromUtf8(file.bytes).split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            in_entry = line == QStringLiteral("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!in_entry || equals < 0) {
            continue;
        }
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if ((key == QStringLiteral("Hidden") && value == QStringLiteral("true")) ||
            (key == QStringLiteral("X-GNOME-Autostart-enabled") &&
             value == QStringLiteral("false"))) {
            return true;
        }
    }
    return false;
}

bool AutostartEntry::StartsAtLogin(bool start_at_login) const {
    return start_at_login && !SwitchedOffElsewhere();
}

QString AutostartEntry::EntryText() const {
    return QStringLiteral(
               "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=Pesterly\n"
               "Comment=Starts Pesterly in the notification area at login; turn it off under "
               "Options, Reminder Options\n"
               "Comment[de]=Startet Pesterly bei der Anmeldung im Benachrichtigungsbereich; "
               "abschalten unter Optionen, Erinnerungsoptionen\n"
               "Exec=") +
           ExecArgument(program_) +
           QStringLiteral(
               " --hidden\n"
               "Icon=pesterly\n"
               "Terminal=false\n"
               "StartupNotify=false\n");
}

Result<void> AutostartEntry::Follow(bool start_at_login, bool asked_now) const {
    if (!asked_now && SwitchedOffElsewhere()) {
        return {};
    }
    if (!start_at_login) {
        if (QFileInfo::exists(path_) && !QFile::remove(path_)) {
            return Failure({PESTERLY_TEXT("AutostartEntry",
                                          "Pesterly could not remove %1, which starts it at "
                                          "login; remove it by hand to stop that."),
                            {path_.toStdString()}});
        }
        return {};
    }
    const std::string text = EntryText().toStdString();
    const FileContents now = ReadRegularFile(path_, kLargestEntry);
    if (now.status == FileContents::Status::kRead && now.bytes == text) {
        return {};
    }
    const QString folder = QFileInfo(path_).absolutePath();
    if (!QDir().mkpath(folder)) {
        return Failure({PESTERLY_TEXT("AutostartEntry",
                                      "Pesterly could not create the folder %1 "
                                      "for the entry that starts it at login."),
                        {folder.toStdString()}});
    }
    return ReplacePrivateFile(path_, text);
}

}  // namespace pesterly
