#include "platform/mail/NagMailDiary.h"

#include <QDir>
#include <QFileInfo>
#include <cinttypes>
#include <cstdio>
#include <sstream>

#include "platform/WholeFile.h"
#include "platform/mail/Outbox.h"

namespace pesterly {
namespace {

constexpr int64_t kLargestDiary = 4 << 20;

std::string DayText(DateValue day) {
    char text[32];
    std::snprintf(text, sizeof text, "%04" PRId64 "-%02d-%02d", day.Year(), day.Month(), day.Day());
    return text;
}

// FNV-1a of the event's lasting parts; a line of the diary holds no description in clear.
std::string EventKey(const Happening& event) {
    const std::string parts = event.Desc + '\0' + std::to_string(event.EventDate.Seconds()) + '\0' +
                              std::to_string(event.Repeat);
    uint64_t hash = 14695981039346656037ULL;
    for (const char c : parts) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, hash);
    return text;
}

}  // namespace

QString NagMailDiary::DefaultPath() {
    return QFileInfo(Outbox::DefaultFolder()).path() + QStringLiteral("/nag-mails-sent");
}

Result<bool> NagMailDiary::NoteMail(const Happening& event, DateValue today) {
    const FileContents contents = ReadRegularFile(path_, kLargestDiary);
    if (contents.status == FileContents::Status::kFailed) {
        return Failure({PESTERLY_TEXT("NagMailDiary",
                                      "Pesterly cannot read its record of the "
                                      "nag mails sent today (%1): %2."),
                        {path_.toStdString(), contents.reason}});
    }
    // Only today's lines matter; older ones are dropped at each write.
    const std::string day = DayText(today) + " ";
    const std::string line = day + EventKey(event);
    std::string kept;
    std::istringstream lines(contents.bytes);
    for (std::string old; std::getline(lines, old);) {
        if (old == line) {
            return true;
        }
        if (old.starts_with(day)) {
            kept += old + "\n";
        }
    }
    QDir().mkpath(QFileInfo(path_).path());
    if (Result<void> written = ReplacePrivateFile(path_, kept + line + "\n"); !written) {
        return Failure(
            {PESTERLY_TEXT("NagMailDiary", "Pesterly cannot note the nag mail in %1: %2"),
             {path_.toStdString(), Reason(written.error())}});
    }
    return false;
}

}  // namespace pesterly
