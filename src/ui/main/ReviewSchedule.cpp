#include "ui/main/ReviewSchedule.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <string>
#include <vector>

#include "platform/DesktopNotifier.h"
#include "reminder/Review.h"
#include "reminder/Schedule.h"
#include "reminder/WakeUpSource.h"
#include "store/Clock.h"
#include "store/Database.h"

namespace pesterly {
namespace {

constexpr size_t kEventsNamed = 3;
// A description runs to a whole paragraph now and then; the notification names it.
constexpr qsizetype kLongestName = 80;

// The question open now: the review's questions are modal, and no dialog was open before.
void BringQuestionToFront() {
    if (QWidget* question = QApplication::activeModalWidget()) {
        question->raise();
        question->activateWindow();
    }
}

// The first few due events by name, one a line, and how many more there are.
QString DueEventsText(const std::vector<std::string>& descs) {
    QStringList lines;
    for (size_t i = 0; i < std::min(descs.size(), kEventsNamed); ++i) {
        QString name = QString::fromStdString(descs[i]).simplified();
        if (name.size() > kLongestName) {
            name = name.left(kLongestName - 1) + QChar(0x2026);
        }
        lines << name;
    }
    if (descs.size() > kEventsNamed) {
        const int more = static_cast<int>(descs.size() - kEventsNamed);
        lines << QCoreApplication::translate("ReviewSchedule", "and %n more", nullptr, more);
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

ReviewSchedule::ReviewSchedule(Database& db, const Clock& clock, WakeUpSource& source,
                               std::function<void()> on_wake, std::function<void()> review,
                               const QWidget& window, DesktopNotifier* notifier)
    : db_(db),
      clock_(clock),
      source_(source),
      on_wake_(std::move(on_wake)),
      review_(std::move(review)),
      window_(window),
      notifier_(notifier) {}

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
        const bool called = CallTheUser();
        review_();
        if (called) {
            notifier_->Withdraw();
        }
        db_.options.CheckDate = clock_.Today();
    }
    Arm();
}

bool ReviewSchedule::CallTheUser() {
    // A question opens where the window is; behind other windows, or with the window in the
    // notification area, it may open unseen (Wayland gives a program no focus of its own).
    if (notifier_ == nullptr || (window_.isVisible() && window_.isActiveWindow())) {
        return false;
    }
    std::vector<std::string> due;
    for (int slot = 0; slot < db_.HappeningCount; ++slot) {
        if (IsDue(db_.Happenings[slot], clock_.Today())) {
            due.push_back(db_.Happenings[slot].Desc);
        }
    }
    if (due.empty()) {
        return false;
    }
    notifier_->Notify(DueEventsText(due), BringQuestionToFront);
    // Runs inside the first question's own event loop, once its window is up.
    QTimer::singleShot(0, [] {
        if (QWidget* question = QApplication::activeModalWidget()) {
            QApplication::alert(question);
        }
    });
    return true;
}

}  // namespace pesterly
