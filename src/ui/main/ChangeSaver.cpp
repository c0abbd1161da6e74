#include "ui/main/ChangeSaver.h"

#include "platform/ShownText.h"
#include "reminder/QuestionAsker.h"
#include "store/Database.h"
#include "store/SettingsLayout.h"

namespace pesterly {

ChangeSaver::ChangeSaver(Database& db, SettingsStore& store, QuestionAsker& asker, QObject* parent)
    : QObject(parent), db_(db), store_(store), asker_(asker) {
    timer_.setSingleShot(true);
    timer_.setInterval(kDelayMs);
    connect(&timer_, &QTimer::timeout, this, &ChangeSaver::SaveNow);
}

void ChangeSaver::NoteChange() {
    // Not restarted by later changes: a steady stream of them still reaches the disk in time.
    if (!stopped_ && !timer_.isActive()) {
        timer_.start();
    }
}

void ChangeSaver::Stop() {
    stopped_ = true;
    timer_.stop();
}

void ChangeSaver::SaveNow() {
    const Result<void> saved = SaveSettings(db_, store_);
    Q_EMIT Settled();
    if (saved) {
        failure_told_ = false;
        return;
    }
    if (!failure_told_) {
        failure_told_ = true;
        asker_.Tell(tr("%1\n\nYour changes are still here. Pesterly tries again at each change "
                       "and when it ends, and stays open then if it still cannot save.")
                        .arg(Shown(saved.error()))
                        .toStdString());
    }
}

}  // namespace pesterly
