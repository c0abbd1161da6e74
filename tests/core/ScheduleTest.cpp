#include "reminder/Schedule.h"

#include <gtest/gtest.h>

namespace pesterly {
namespace {

const DateValue kToday = DateValue::Compose(2026, 12, 6);
const DateValue kEight = DateValue::TimeOfDay(8, 0, 0);

DateValue At(DateValue day, int hour, int minute, int second) {
    return DateValue(day.Seconds() + DateValue::TimeOfDay(hour, minute, second).Seconds());
}

TEST(Schedule, ReviewIsDueStrictlyAfterTheTimeOnALaterDay) {
    const DateValue yesterday = kToday.AddDays(-1);
    EXPECT_FALSE(ReviewIsDue(yesterday, kEight, At(kToday, 8, 0, 0)));
    EXPECT_TRUE(ReviewIsDue(yesterday, kEight, At(kToday, 8, 0, 1)));
    EXPECT_TRUE(ReviewIsDue(yesterday, kEight, At(kToday, 10, 0, 0)));
    EXPECT_FALSE(ReviewIsDue(kToday, kEight, At(kToday, 10, 0, 0)));
    EXPECT_FALSE(ReviewIsDue(yesterday, kEight, At(kToday, 7, 59, 59)));
    // After midnight the new day waits for the review time, not for midnight.
    EXPECT_FALSE(ReviewIsDue(kToday, kEight, At(kToday.AddDays(1), 0, 0, 5)));
    // A review date in the future (the clock was set back) holds the review off.
    EXPECT_FALSE(ReviewIsDue(kToday.AddDays(3), kEight, At(kToday, 23, 0, 0)));
}

TEST(Schedule, TimerSleepsAtMostAMinuteAndWakesForTheReview) {
    const DateValue yesterday = kToday.AddDays(-1);
    // Due now.
    EXPECT_EQ(MillisecondsToNextCheck(yesterday, kEight, At(kToday, 9, 0, 0)), 0);
    // Ten seconds before the review time: wake at its first second past.
    EXPECT_EQ(MillisecondsToNextCheck(yesterday, kEight, At(kToday, 7, 59, 50)), 11'000);
    EXPECT_EQ(MillisecondsToNextCheck(yesterday, kEight, At(kToday, 8, 0, 0)), 1'000);
    // Far from anything: a minute.
    EXPECT_EQ(MillisecondsToNextCheck(yesterday, kEight, At(kToday, 3, 0, 0)), 60'000);
    EXPECT_EQ(MillisecondsToNextCheck(kToday, kEight, At(kToday, 9, 0, 0)), 60'000);
    // Reviewed today, tomorrow's review is reached exactly.
    EXPECT_EQ(MillisecondsToNextCheck(kToday, kEight, At(kToday.AddDays(1), 7, 59, 30)), 31'000);
    EXPECT_EQ(MillisecondsToNextCheck(kToday.AddDays(5), kEight, At(kToday, 9, 0, 0)), 60'000);
    // Review time just before midnight.
    const DateValue late = DateValue::TimeOfDay(23, 59, 58);
    EXPECT_EQ(MillisecondsToNextCheck(yesterday, late, At(kToday, 23, 59, 58)), 1'000);
    EXPECT_EQ(MillisecondsToNextCheck(kToday, late, At(kToday, 23, 59, 58)), 60'000);
}

TEST(Schedule, EveryWaitEndsAtOrBeforeTheFirstDueSecond) {
    // Walk a day and a half in uneven steps: sleeping for the computed time never skips the
    // first second at which the review is due.
    const DateValue check_time = DateValue::TimeOfDay(6, 30, 0);
    for (int64_t s = 0; s < 86400 * 3 / 2; s += 997) {
        const DateValue now(kToday.Seconds() + s);
        const int64_t wait = MillisecondsToNextCheck(kToday.AddDays(-1), check_time, now);
        ASSERT_GE(wait, 0);
        ASSERT_LE(wait, kLongestCheckInterval);
        const DateValue wake(now.Seconds() + wait / 1000);
        for (int64_t t = now.Seconds(); t < wake.Seconds(); ++t) {
            ASSERT_FALSE(ReviewIsDue(kToday.AddDays(-1), check_time, DateValue(t)))
                << "slept past the review at " << s;
        }
    }
}

}  // namespace
}  // namespace pesterly
