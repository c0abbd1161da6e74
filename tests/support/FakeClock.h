#pragma once

#include "store/Clock.h"

namespace pesterly::testing {

// A clock that shows whatever the test sets.
class FakeClock : public Clock {
  public:
    explicit FakeClock(DateValue now = DateValue::Compose(2026, 12, 6, 10, 0, 0)) : now_(now) {}
    DateValue Now() const override { return now_; }
    void Set(DateValue now) { now_ = now; }

  private:
    DateValue now_;
};

}  // namespace pesterly::testing
