#include "store/DateValue.h"

#include <gtest/gtest.h>

namespace pesterly {
namespace {

TEST(DateValue, DayZeroIsThirtiethOfDecember1899) {
    const DateValue zero;
    EXPECT_EQ(zero.Year(), 1899);
    EXPECT_EQ(zero.Month(), 12);
    EXPECT_EQ(zero.Day(), 30);
    EXPECT_EQ(zero.DayOfWeek(), 6);  // a Saturday
    // The well-known serial of 14 March 2001 is 36964.
    EXPECT_EQ(DateValue::Compose(2001, 3, 14).Days(), 36964);
    EXPECT_EQ(DateValue::Compose(2001, 3, 14).DayOfWeek(), 3);  // Wednesday
}

TEST(DateValue, ComposeCarriesDaysAndMonthsOver) {
    EXPECT_EQ(DateValue::Compose(2025, 2, 29), DateValue::Compose(2025, 3, 1));
    EXPECT_EQ(DateValue::Compose(2025, 4, 31), DateValue::Compose(2025, 5, 1));
    EXPECT_EQ(DateValue::Compose(2024, 2, 29).Day(), 29);
    EXPECT_EQ(DateValue::Compose(2025, 2, 31), DateValue::Compose(2025, 3, 3));
    EXPECT_EQ(DateValue::Compose(2024, 13, 15), DateValue::Compose(2025, 1, 15));
    EXPECT_EQ(DateValue::Compose(2025, 0, 1), DateValue::Compose(2024, 12, 1));
    EXPECT_EQ(DateValue::Compose(2025, 3, 0), DateValue::Compose(2025, 2, 28));
}

TEST(DateValue, SplitsIntoDateAndTimeOfDay) {
    const DateValue value = DateValue::Compose(2001, 3, 14, 14, 5, 9);
    EXPECT_EQ(value.DatePart(), DateValue::Compose(2001, 3, 14));
    EXPECT_EQ(value.TimePart(), DateValue::TimeOfDay(14, 5, 9));
    EXPECT_EQ(value.AddDays(-370).DatePart(), DateValue::Compose(2000, 3, 9));
    // Before day 0 the date part still lies at or before the value.
    const DateValue early = DateValue::Compose(1899, 12, 29, 6, 0, 0);
    EXPECT_EQ(early.DatePart(), DateValue::Compose(1899, 12, 29));
    EXPECT_EQ(early.Hour(), 6);
}

TEST(DateValue, CalendarFieldsAgreeWithComposeOverFourCenturies) {
    for (int64_t day = -1000; day < 150000; day += 37) {
        const DateValue value(day * DateValue::kSecondsPerDay);
        EXPECT_EQ(DateValue::Compose(value.Year(), value.Month(), value.Day()), value) << day;
        EXPECT_LE(value.Day(), DaysInMonth(value.Year(), value.Month()));
    }
}

}  // namespace
}  // namespace pesterly
