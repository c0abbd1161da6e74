#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "exchange/Calendar.h"
#include "store/Error.h"

namespace pesterly {

// iCalendar reading and writing, from the calendar module (libpesterly-calendar.so), which is
// loaded on first use: most runs never touch a calendar, and libical need not load at start.

// Writes the items to an iCalendar file, replacing it all at once. `stamp` is the moment of
// writing, in seconds since 1970.
Result<void> WriteCalendarFile(const QString& path, const std::vector<CalendarItem>& items,
                               int64_t stamp);

// The events and tasks of an iCalendar file; an error that names the file and the line for a
// file that cannot be read or is not iCalendar.
Result<std::vector<CalendarItem>> ReadCalendarFile(const QString& path);

}  // namespace pesterly
