#pragma once

#include <cstdint>

#include "store/DateValue.h"

namespace pesterly {

// The daily review is due once the calendar date has passed the day of the last review and
// the time of day has passed the chosen review time; both comparisons are strict.
bool ReviewIsDue(DateValue check_date, DateValue check_time, DateValue now);

// How long the schedule's timer may sleep before its next look: never past the first second at
// which the review becomes due, and never more than a minute, so that a change of the system
// clock or a resume from suspend is noticed soon. Zero when the review is due now.
int64_t MillisecondsToNextCheck(DateValue check_date, DateValue check_time, DateValue now);

inline constexpr int64_t kLongestCheckInterval = 60'000;

}  // namespace pesterly
