// The entry points of the calendar module, which the program loads when it first reads or
// writes a calendar.
#include "platform/IcalCalendar.h"

extern "C" __attribute__((visibility("default"))) void PesterlyWriteCalendar(
    const std::vector<pesterly::CalendarItem>* items, int64_t stamp, std::string* text) {
    *text = pesterly::WriteICalendar(*items, stamp);
}

extern "C" __attribute__((visibility("default"))) bool PesterlyReadCalendar(
    const std::string* bytes, std::vector<pesterly::CalendarItem>* items, std::string* error) {
    auto read = pesterly::ReadICalendar(*bytes);
    if (auto* failure = std::get_if<pesterly::Error>(&read)) {
        *error = std::move(failure->message);
        return false;
    }
    *items = std::get<std::vector<pesterly::CalendarItem>>(std::move(read));
    return true;
}
