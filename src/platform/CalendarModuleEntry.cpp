// The entry points of the calendar module, which the program loads when it first reads or
// writes a calendar.
#include "platform/IcalCalendar.h"

extern "C" __attribute__((visibility("default"))) void PesterlyWriteCalendar(
    const std::vector<pesterly::CalendarItem>* items, int64_t stamp, std::string* text) {
    *text = pesterly::WriteICalendar(*items, stamp);
}

extern "C" __attribute__((visibility("default"))) bool PesterlyReadCalendar(
    const std::string* bytes, std::vector<pesterly::CalendarItem>* items, std::string* error) {
    pesterly::Result<std::vector<pesterly::CalendarItem>> read = pesterly::ReadICalendar(*bytes);
    if (!read) {
        *error = read.error().message;
        return false;
    }
    *items = *std::move(read);
    return true;
}
