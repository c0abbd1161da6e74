#include "reminder/Schedule.h"

#include <gtest/gtest.h>

namespace pesterly {
namespace {

const DateValue kToday = DateValue::Compose(2026, 12, 6);
const DateValue kEight = DateValue::TimeOfDay(8, 0, 0);

DateValue At(DateValue day, int hour, int minute, int second) {
    return DateValue(day.Seconds() + DateValue::TimeOfDay(hour, minute, second).Seconds());
}

TEST(Schedule, SleepsAtMostAnHourAndWakesForTheReview) {
    const DateValue yesterday = kToday.AddDays(-1);
    const DateValue late = DateValue::TimeOfDay(23, 59, 58);
    struct Case {
        DateValue check_date, check_time, now;
        int64_t wait;
    };
    const Case cases[] = {
        {yesterday, kEight, At(kToday, 9, 0, 0), 1},     // due now: a second from now
        {yesterday, kEight, At(kToday, 7, 59, 50), 11},  // wake at the first second past 8:00
        {yesterday, kEight, At(kToday, 8, 0, 0), 1},
        {yesterday, kEight, At(kToday, 3, 0, 0), 3600},  // far from anything: an hour
        {yesterday, kEight, At(kToday, 7, 0, 1), 3600},
        {kToday, kEight, At(kToday, 9, 0, 0), 3600},
        {kToday, kEight, At(kToday.AddDays(1), 7, 59, 30), 31},  // tomorrow's, exactly
        {kToday.AddDays(5), kEight, At(kToday, 9, 0, 0), 3600},  // the clock was set back
        {yesterday, late, At(kToday, 23, 59, 58), 1},            // review time just before midnight
        {kToday, late, At(kToday, 23, 59, 58), 3600},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NextCheck(c.check_date, c.check_time, c.now).Seconds() - c.now.Seconds(), c.wait)
            << c.now.Hour() << ":" << c.now.Minute() << ":" << c.now.Second();
    }
}

}  // namespace
}  // namespace pesterly
