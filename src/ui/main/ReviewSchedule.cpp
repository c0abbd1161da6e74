#include "ui/main/ReviewSchedule.h"

#include <QApplication>

#include "reminder/Schedule.h"
#include "reminder/WakeUpSource.h"
#include "store/Clock.h"
#include "store/Database.h"

namespace pesterly {

ReviewSchedule::ReviewSchedule(Database& db, const Clock& clock, WakeUpSource& source,
                               std::function<void()> on_wake, std::function<void()> review)
    : db_(db),
      clock_(clock),
      source_(source),
      on_wake_(std::move(on_wake)),
      review_(std::move(review)) {}

ReviewSchedule::~ReviewSchedule() {
    source_.Cancel();
}

void ReviewSchedule::Arm() {
    source_.WakeAt(NextCheck(db_.options.CheckDate, db_.options.CheckTime, clock_.Now()), on_wake_);
}

void ReviewSchedule::Look() {
    // A dialog may be working on the table: the next look, a second from now, waits for it.
    if (ReviewIsDue(db_.options.CheckDate, db_.options.CheckTime, clock_.Now()) &&
        QApplication::activeModalWidget() == nullptr) {
        // Off for the whole review: its questions keep the event loop, and so the wake-ups,
        // going.
        source_.Cancel();
        review_();
        db_.options.CheckDate = clock_.Today();
    }
    Arm();
}

}  // namespace pesterly
