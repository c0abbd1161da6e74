#pragma once

#include <compare>
#include <cstdint>

namespace pesterly {

// A point in local civil time, counted in whole seconds since 30 December 1899 00:00.
// It carries no time zone: the calendar arithmetic below is plain proleptic Gregorian.
// A value whose date part is zero holds a time of day alone.
class DateValue {
  public:
    static constexpr int64_t kSecondsPerDay = 86400;

    constexpr DateValue() = default;
    constexpr explicit DateValue(int64_t seconds) : seconds_(seconds) {}

    // Date composition with carry: month 13 is January of the next year, and a day beyond
    // the end of the month runs on into the next one (2025, 2, 29 is 1 March 2025).
    static DateValue Compose(int64_t year, int64_t month, int64_t day);
    static DateValue Compose(int64_t year, int64_t month, int64_t day, int hour, int minute,
                             int second);
    static constexpr DateValue TimeOfDay(int hour, int minute, int second) {
        return DateValue(int64_t{hour} * 3600 + int64_t{minute} * 60 + second);
    }

    constexpr int64_t Seconds() const { return seconds_; }
    // Whole days since 30 December 1899 (day 0); earlier dates are negative.
    int64_t Days() const;
    DateValue DatePart() const { return DateValue(Days() * kSecondsPerDay); }
    DateValue TimePart() const { return DateValue(seconds_ - Days() * kSecondsPerDay); }
    DateValue AddDays(int64_t days) const { return DateValue(seconds_ + days * kSecondsPerDay); }

    int64_t Year() const;
    int Month() const;  // 1 to 12
    int Day() const;    // 1 to 31
    int Hour() const;
    int Minute() const;
    int Second() const;
    int DayOfWeek() const;  // 0 is Sunday

    friend constexpr auto operator<=>(DateValue, DateValue) = default;

  private:
    int64_t seconds_ = 0;
};

// Days in the given month of the proleptic Gregorian calendar.
int DaysInMonth(int64_t year, int month);

}  // namespace pesterly
