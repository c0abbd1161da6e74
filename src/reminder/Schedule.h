#pragma once

#include <cstdint>

#include "store/DateValue.h"

namespace pesterly {

// The daily review is due once the calendar date has passed the day of the last review and
// the time of day has passed the chosen review time; both comparisons are strict.
bool ReviewIsDue(DateValue check_date, DateValue check_time, DateValue now);

// When the schedule looks at the clock next: the first second at which the review becomes due,
// but no later than an hour from now, so that a new time zone or a change to or from daylight
// saving time is caught, and no sooner than a second from now (the review is due already, or
// a dialog holds it off).
DateValue NextCheck(DateValue check_date, DateValue check_time, DateValue now);

inline constexpr int64_t kLongestSleepSeconds = 3600;

}  // namespace pesterly
