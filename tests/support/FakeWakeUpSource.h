#pragma once

#include <functional>
#include <optional>
#include <utility>

#include "reminder/WakeUpSource.h"

namespace pesterly::testing {

// A wake-up source that the test fires: time passes only when the test says so.
class FakeWakeUpSource : public WakeUpSource {
  public:
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

    std::optional<DateValue> deadline;

  private:
    std::function<void()> wake_;
};

}  // namespace pesterly::testing
