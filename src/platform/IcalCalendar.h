#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/Calendar.h"
#include "store/Error.h"

namespace pesterly {

// iCalendar files (RFC 5545) through libical: folding, escaping, time zones and rules are the
// library's.

// A calendar holding the items as events. `stamp` is the moment of writing, in seconds since
// 1970 (UTC); times are written as local times without a zone ("floating"), a whole day as a
// date alone.
std::string WriteICalendar(const std::vector<CalendarItem>& items, int64_t stamp);

// The events and tasks of a calendar file, their times in this computer's local time. A file
// that is not iCalendar, or that libical finds damaged, is refused whole, with the line.
Result<std::vector<CalendarItem>> ReadICalendar(std::string_view bytes);

}  // namespace pesterly

// The calendar module's exported functions (platform/CalendarModuleEntry.cpp), which
// platform/CalendarModule.cpp loads on first use.
extern "C" void PesterlyWriteCalendar(const std::vector<pesterly::CalendarItem>* items,
                                      int64_t stamp, std::string* text);
extern "C" bool PesterlyReadCalendar(const std::string* bytes,
                                     std::vector<pesterly::CalendarItem>* items,
                                     std::string* error);
