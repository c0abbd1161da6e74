#pragma once

#include "store/Clock.h"

namespace pesterly {

// The system clock in the user's local time.
class SystemClock : public Clock {
  public:
    DateValue Now() const override;
};

}  // namespace pesterly
