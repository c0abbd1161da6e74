#include "store/DateValue.h"

namespace pesterly {
namespace {

// Day 0 of the program's dates, 30 December 1899, as days since 1 January 1970.
constexpr int64_t kDayZeroInUnixDays = -25569;

int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Howard Hinnant's days_from_civil: days since 1970-01-01 of a valid civil date.
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const int64_t era = FloorDiv(y, 400);
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

struct Civil {
    int64_t year;
    int month;
    int day;
};

Civil CivilFromDays(int64_t z) {
    z += 719468;
    const int64_t era = FloorDiv(z, 146097);
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const int64_t m = mp < 10 ? mp + 3 : mp - 9;
    return {yoe + era * 400 + (m <= 2 ? 1 : 0), static_cast<int>(m), static_cast<int>(d)};
}

Civil CivilOf(const DateValue& value) {
    return CivilFromDays(value.Days() + kDayZeroInUnixDays);
}

}  // namespace

DateValue DateValue::Compose(int64_t year, int64_t month, int64_t day) {
    const int64_t month0 = month - 1;
    year += FloorDiv(month0, 12);
    const int64_t normalized_month = month0 - FloorDiv(month0, 12) * 12 + 1;
    const int64_t first = DaysFromCivil(year, normalized_month, 1) - kDayZeroInUnixDays;
    return DateValue((first + day - 1) * kSecondsPerDay);
}

DateValue DateValue::Compose(int64_t year, int64_t month, int64_t day, int hour, int minute,
                             int second) {
    return DateValue(Compose(year, month, day).Seconds() +
                     TimeOfDay(hour, minute, second).Seconds());
}

int64_t DateValue::Days() const {
    return FloorDiv(seconds_, kSecondsPerDay);
}
int64_t DateValue::Year() const {
    return CivilOf(*this).year;
}
int DateValue::Month() const {
    return CivilOf(*this).month;
}
int DateValue::Day() const {
    return CivilOf(*this).day;
}
int DateValue::Hour() const {
    return static_cast<int>(TimePart().Seconds() / 3600);
}
int DateValue::Minute() const {
    return static_cast<int>(TimePart().Seconds() / 60 % 60);
}
int DateValue::Second() const {
    return static_cast<int>(TimePart().Seconds() % 60);
}

int DateValue::DayOfWeek() const {
    // Day 0 was a Saturday.
    return static_cast<int>((Days() % 7 + 7 + 6) % 7);
}

int DaysInMonth(int64_t year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace pesterly
