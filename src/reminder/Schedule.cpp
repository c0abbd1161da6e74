#include "reminder/Schedule.h"

#include <algorithm>

namespace pesterly {

bool ReviewIsDue(DateValue check_date, DateValue check_time, DateValue now) {
    return check_date < now.DatePart() && now.TimePart() > check_time;
}

DateValue NextCheck(DateValue check_date, DateValue check_time, DateValue now) {
    // The first whole second at which the review is due: on the first day after check_date
    // that is not already past its review time, one second after check_time.
    DateValue day = std::max(now.DatePart(), check_date.DatePart().AddDays(1));
    const int64_t due_second = check_time.TimePart().Seconds() + 1;
    if (day == now.DatePart() && now.TimePart().Seconds() >= due_second) {
        day = day.AddDays(1);
    }
    const int64_t wait = ReviewIsDue(check_date, check_time, now)
                             ? 1
                             : std::clamp<int64_t>(day.Seconds() + due_second - now.Seconds(), 1,
                                                   kLongestSleepSeconds);
    return DateValue(now.Seconds() + wait);
}

}  // namespace pesterly
