#include "ui/main/CalendarFileKeeper.h"

#include <QDateTime>

#include "exchange/Calendar.h"
#include "platform/CalendarModule.h"
#include "platform/ShownText.h"
#include "reminder/QuestionAsker.h"
#include "store/SettingsLayout.h"

namespace pesterly {
namespace {
// Long enough for the window to come up first.
constexpr int kWriteDelayMs = 300;
}  // namespace

CalendarFileKeeper::CalendarFileKeeper(Database& db, SettingsStore& store, QuestionAsker& asker)
    : db_(db), store_(store), asker_(asker) {
    soon_.setSingleShot(true);
    soon_.setInterval(kWriteDelayMs);
    QObject::connect(&soon_, &QTimer::timeout, &soon_, [this] { WriteNow(); });
}

QString CalendarFileKeeper::Path() const {
    return QString::fromStdString(db_.options.CalendarFile);
}

Result<void> CalendarFileKeeper::KeepAt(const QString& path) {
    Options wanted = db_.options;
    wanted.CalendarFile = path.toStdString();
    if (Result<void> saved = SaveOptions(store_, db_.options, wanted); !saved) {
        return saved;
    }
    failure_told_ = false;
    WriteNow();
    return {};
}

void CalendarFileKeeper::WriteSoon() {
    if (!Path().isEmpty()) {
        soon_.start();
    }
}

void CalendarFileKeeper::WriteNow() {
    soon_.stop();
    const QString path = Path();
    if (path.isEmpty()) {
        return;
    }
    const Result<void> written = WriteCalendarFile(path, CalendarItemsOf(db_, AllSlots(db_)),
                                                   QDateTime::currentSecsSinceEpoch());
    if (!written && !failure_told_) {
        failure_told_ = true;
        asker_.Tell(tr("Pesterly could not keep the calendar file current. %1\n\nChoose "
                       "another file under File, Keep Calendar File.")
                        .arg(Shown(written.error()))
                        .toStdString());
    } else if (written) {
        failure_told_ = false;
    }
}

}  // namespace pesterly
