#pragma once

#include <functional>

#include "store/DateValue.h"

namespace pesterly {

// Wakes the program at a moment of the local wall clock, sleeping until then. It also wakes it
// at once when the wall clock is set, and on time after a suspend, so that the caller can look
// at the clock again.
class WakeUpSource {
  public:
    virtual ~WakeUpSource() = default;
    // Calls `wake` once, at `when` or at the first change of the clock before; replaces any
    // wake-up set earlier.
    virtual void WakeAt(DateValue when, std::function<void()> wake) = 0;
    // No wake-up until the next WakeAt.
    virtual void Cancel() = 0;
};

}  // namespace pesterly
