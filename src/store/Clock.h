#pragma once

#include "store/DateValue.h"

namespace pesterly {

// The wall clock, read through an interface so that every date rule can be tested.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual DateValue Now() const = 0;

    DateValue Today() const { return Now().DatePart(); }
    DateValue TimeOfDay() const { return Now().TimePart(); }
};

}  // namespace pesterly
