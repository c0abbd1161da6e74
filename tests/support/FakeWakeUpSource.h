#pragma once

#include <functional>
#include <optional>
#include <utility>

#include "reminder/WakeUpSource.h"
#include "support/FakeClock.h"

namespace pesterly::testing {

// A wake-up source on a fake clock: time passes, the clock is set or the machine sleeps only
// when the test says so, and the wake-up comes as the real-time clock's would.
class FakeWakeUpSource : public WakeUpSource {
  public:
    explicit FakeWakeUpSource(FakeClock& clock) : clock_(clock) {}

    void WakeAt(DateValue when, std::function<void()> wake) override {
        deadline = when;
        wake_ = std::move(wake);
    }
    void Cancel() override {
        deadline.reset();
        wake_ = nullptr;
    }

    // The wake-up comes now, whatever its deadline.
    void Fire() {
        deadline.reset();
        if (auto wake = std::exchange(wake_, nullptr)) {
            wake();
        }
    }
    // Time runs on to `until`, the clock showing each deadline as it comes.
    void RunUntil(DateValue until) {
        while (deadline && *deadline <= until) {
            clock_.Set(*deadline);
            Fire();
        }
        clock_.Set(until);
    }
    // The clock is set: the wake-up comes at once.
    void SetClock(DateValue now) {
        clock_.Set(now);
        Fire();
    }
    // The machine sleeps until `now`: a deadline that passed meanwhile comes on waking.
    void Resume(DateValue now) {
        clock_.Set(now);
        if (deadline && *deadline <= now) {
            Fire();
        }
    }

    std::optional<DateValue> deadline;

  private:
    FakeClock& clock_;
    std::function<void()> wake_;
};

}  // namespace pesterly::testing
