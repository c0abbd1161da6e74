#pragma once

#include <functional>

class QWidget;

namespace pesterly {

class Clock;
class DesktopNotifier;
class WakeUpSource;
struct Database;

// When the daily review runs: the program sleeps until the review comes due (or an hour, to
// catch a new time zone), wakes at once when the clock is set, and holds the review while a
// dialog is open. A review that starts while the window is out of sight also calls the user
// through a desktop notification.
class ReviewSchedule {
  public:
    // `on_wake` runs whenever the wake-up comes; it is to call Look(). `review` asks about the
    // due events. `notifier` may be null: no notifications then.
    ReviewSchedule(Database& db, const Clock& clock, WakeUpSource& source,
                   std::function<void()> on_wake, std::function<void()> review,
                   const QWidget& window, DesktopNotifier* notifier);
    ~ReviewSchedule();
    ReviewSchedule(const ReviewSchedule&) = delete;
    ReviewSchedule& operator=(const ReviewSchedule&) = delete;

    // Sets the wake-up for the next look at the clock.
    void Arm();
    // Runs the review when it is due and no dialog is open, then sets the next wake-up.
    void Look();

  private:
    // Before the first question, when the window is hidden or behind others: a desktop
    // notification of the due events, and the question's own call for attention. False when
    // nothing was sent.
    bool CallTheUser();

    Database& db_;
    const Clock& clock_;
    WakeUpSource& source_;
    std::function<void()> on_wake_;
    std::function<void()> review_;
    const QWidget& window_;
    DesktopNotifier* notifier_;
};

}  // namespace pesterly
