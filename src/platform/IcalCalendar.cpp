#include "platform/IcalCalendar.h"

#include <libical/ical.h>

#include <cctype>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <optional>
#include <utility>

namespace pesterly {
namespace {

struct ComponentFree {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

// libical's default is to stop the program on a malformed value; a file from elsewhere must
// never do that.
void QuietErrors() {
    icalerror_set_errors_are_fatal(0);
}

std::string Take(char* text) {
    std::string taken = text != nullptr ? text : "";
    std::free(text);
    return taken;
}

icaltimetype IcalTime(DateValue value, bool whole_day) {
    icaltimetype time = icaltime_null_time();
    time.year = static_cast<int>(value.Year());
    time.month = value.Month();
    time.day = value.Day();
    time.is_date = whole_day ? 1 : 0;
    if (!whole_day) {
        time.hour = value.Hour();
        time.minute = value.Minute();
        time.second = value.Second();
    }
    return time;
}

icalrecurrencetype_frequency IcalFrequency(CalendarFrequency frequency) {
    switch (frequency) {
        case CalendarFrequency::kYearly:
            return ICAL_YEARLY_RECURRENCE;
        case CalendarFrequency::kMonthly:
            return ICAL_MONTHLY_RECURRENCE;
        case CalendarFrequency::kWeekly:
            return ICAL_WEEKLY_RECURRENCE;
        case CalendarFrequency::kDaily:
            return ICAL_DAILY_RECURRENCE;
        default:
            return ICAL_NO_RECURRENCE;
    }
}

// A time of the file as local time: one with a zone (TZID, or UTC) is moved into this
// computer's zone; a date, or a time without a zone, is taken as it stands.
DateValue LocalTime(icaltimetype time) {
    if (!time.is_date && time.zone != nullptr) {
        const time_t moment = icaltime_as_timet_with_zone(time, time.zone);
        std::tm local{};
        if (localtime_r(&moment, &local) != nullptr) {
            return DateValue::Compose(int64_t{local.tm_year} + 1900, local.tm_mon + 1,
                                      local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
        }
    }
    return DateValue::Compose(time.year, time.month, time.day, time.is_date ? 0 : time.hour,
                              time.is_date ? 0 : time.minute, time.is_date ? 0 : time.second);
}

CalendarFrequency FrequencyOf(icalrecurrencetype_frequency frequency) {
    switch (frequency) {
        case ICAL_YEARLY_RECURRENCE:
            return CalendarFrequency::kYearly;
        case ICAL_MONTHLY_RECURRENCE:
            return CalendarFrequency::kMonthly;
        case ICAL_WEEKLY_RECURRENCE:
            return CalendarFrequency::kWeekly;
        case ICAL_DAILY_RECURRENCE:
            return CalendarFrequency::kDaily;
        case ICAL_NO_RECURRENCE:
            return CalendarFrequency::kNone;
        default:
            return CalendarFrequency::kOther;
    }
}

// The values of one BY list, which libical ends with ICAL_RECURRENCE_ARRAY_MAX.
template <size_t N>
std::vector<int> Values(const short (&list)[N]) {
    std::vector<int> values;
    for (size_t i = 0; i < N && list[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i) {
        values.push_back(list[i]);
    }
    return values;
}

CalendarRule RuleOf(icalrecurrencetype recurrence) {
    CalendarRule rule;
    rule.text = Take(icalrecurrencetype_as_string_r(&recurrence));
    rule.frequency = FrequencyOf(recurrence.freq);
    rule.interval = recurrence.interval;
    for (const int day : Values(recurrence.by_day)) {
        if (icalrecurrencetype_day_position(static_cast<short>(day)) != 0) {
            rule.other_parts.push_back("a weekday of a certain week (BYDAY)");
        } else {
            rule.weekdays.push_back(
                static_cast<int>(icalrecurrencetype_day_day_of_week(static_cast<short>(day))) - 1);
        }
    }
    rule.months = Values(recurrence.by_month);
    rule.month_days = Values(recurrence.by_month_day);
    const std::pair<const char*, bool> others[] = {
        {"BYSETPOS", !Values(recurrence.by_set_pos).empty()},
        {"BYYEARDAY", !Values(recurrence.by_year_day).empty()},
        {"BYWEEKNO", !Values(recurrence.by_week_no).empty()},
        {"BYHOUR", !Values(recurrence.by_hour).empty()},
        {"BYMINUTE", !Values(recurrence.by_minute).empty()},
        {"BYSECOND", !Values(recurrence.by_second).empty()},
    };
    for (const auto& [name, present] : others) {
        if (present) {
            rule.other_parts.emplace_back(name);
        }
    }
    rule.count = recurrence.count;
    if (!icaltime_is_null_time(recurrence.until)) {
        rule.until = LocalTime(recurrence.until);
    }
    return rule;
}

CalendarItem ItemOf(icalcomponent* component) {
    CalendarItem item;
    item.task = icalcomponent_isa(component) == ICAL_VTODO_COMPONENT;
    const auto text = [](const char* value) { return std::string(value != nullptr ? value : ""); };
    item.uid = text(icalcomponent_get_uid(component));
    item.summary = text(icalcomponent_get_summary(component));
    item.description = text(icalcomponent_get_description(component));
    for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_CATEGORIES_PROPERTY);
         p != nullptr; p = icalcomponent_get_next_property(component, ICAL_CATEGORIES_PROPERTY)) {
        item.categories.push_back(text(icalproperty_get_categories(p)));
    }
    // A task falls due on its DUE date; without one, it starts on its start date.
    icaltimetype start = item.task ? icalcomponent_get_due(component) : icaltime_null_time();
    if (icaltime_is_null_time(start)) {
        start = icalcomponent_get_dtstart(component);
    }
    if (!icaltime_is_null_time(start)) {
        item.start = LocalTime(start);
        item.whole_day = start.is_date != 0;
    }
    item.completed = item.task && (icalcomponent_get_status(component) == ICAL_STATUS_COMPLETED ||
                                   icalcomponent_get_first_property(
                                       component, ICAL_COMPLETED_PROPERTY) != nullptr);
    if (icalproperty* rrule = icalcomponent_get_first_property(component, ICAL_RRULE_PROPERTY)) {
        item.rule = RuleOf(icalproperty_get_rrule(rrule));
    }
    return item;
}

// The first line that holds the text (with an empty text, the first line that is not blank),
// numbered as an editor counts lines; empty when there is none.
std::string NumberedLine(std::string_view bytes, std::string_view containing) {
    int number = 0;
    size_t begin = 0;
    while (begin < bytes.size()) {
        size_t end = bytes.find('\n', begin);
        end = end == std::string_view::npos ? bytes.size() : end;
        std::string_view line = bytes.substr(begin, end - begin);
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const bool blank = line.find_first_not_of(" \t") == std::string_view::npos;
        if (containing.empty() ? !blank : line.find(containing) != std::string_view::npos) {
            return "line " + std::to_string(number) + ": " + std::string(line.substr(0, 200));
        }
        begin = end + 1;
    }
    return {};
}

// libical keeps what it could not read as X-LIC-ERROR properties in place of the lines. A
// property without a value (an empty "DESCRIPTION:", as some programs write) is only left out.
std::optional<std::string> FirstDamage(icalcomponent* component, std::string_view bytes) {
    for (icalproperty* error = icalcomponent_get_first_property(component, ICAL_XLICERROR_PROPERTY);
         error != nullptr;
         error = icalcomponent_get_next_property(component, ICAL_XLICERROR_PROPERTY)) {
        const std::string said = icalproperty_get_xlicerror(error);
        if (said.starts_with("No value for")) {
            continue;
        }
        // The message ends with the text it could not read, after its last colon.
        const size_t colon = said.rfind(": ");
        const std::string where =
            colon == std::string::npos ? "" : NumberedLine(bytes, said.substr(colon + 2));
        return where.empty() ? said : where + "\n(" + said + ")";
    }
    for (icalcomponent* child = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT);
         child != nullptr;
         child = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT)) {
        if (auto damage = FirstDamage(child, bytes)) {
            return damage;
        }
    }
    return std::nullopt;
}

bool StartsCalendar(std::string_view line) {
    constexpr std::string_view kBegin = "BEGIN:VCALENDAR";
    if (line.substr(0, 3) == "\xEF\xBB\xBF") {  // a byte order mark some programs write
        line.remove_prefix(3);
    }
    if (line.size() < kBegin.size()) {
        return false;
    }
    for (size_t i = 0; i < kBegin.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(line[i])) != kBegin[i]) {
            return false;
        }
    }
    return line.substr(kBegin.size()).find_first_not_of(" \t\r") == std::string_view::npos;
}

}  // namespace

std::string WriteICalendar(const std::vector<CalendarItem>& items, int64_t stamp) {
    QuietErrors();
    Component calendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    icalcomponent_add_property(calendar.get(),
                               icalproperty_new_prodid("-//Pesterly//Pesterly//EN"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    const icaltimetype stamp_time = icaltime_from_timet_with_zone(static_cast<time_t>(stamp), 0,
                                                                  icaltimezone_get_utc_timezone());
    for (const CalendarItem& item : items) {
        icalcomponent* event = icalcomponent_new(ICAL_VEVENT_COMPONENT);
        icalcomponent_add_property(event, icalproperty_new_uid(item.uid.c_str()));
        icalcomponent_add_property(event, icalproperty_new_dtstamp(stamp_time));
        if (item.start.has_value()) {
            icalcomponent_add_property(
                event, icalproperty_new_dtstart(IcalTime(*item.start, item.whole_day)));
        }
        if (item.rule.has_value()) {
            icalrecurrencetype recurrence;
            icalrecurrencetype_clear(&recurrence);
            recurrence.freq = IcalFrequency(item.rule->frequency);
            icalcomponent_add_property(event, icalproperty_new_rrule(recurrence));
        }
        // libical refuses to read back an empty SUMMARY, so an event without a description
        // goes without one.
        if (!item.summary.empty()) {
            icalcomponent_add_property(event, icalproperty_new_summary(item.summary.c_str()));
        }
        if (!item.description.empty()) {
            icalcomponent_add_property(event,
                                       icalproperty_new_description(item.description.c_str()));
        }
        for (const std::string& category : item.categories) {
            // libical 3.0 writes a comma in a category name unescaped, as a list separator,
            // so such a name reaches a calendar program as several categories.
            icalcomponent_add_property(event, icalproperty_new_categories(category.c_str()));
        }
        icalcomponent_add_component(calendar.get(), event);
    }
    return Take(icalcomponent_as_ical_string_r(calendar.get()));
}

Result<std::vector<CalendarItem>> ReadICalendar(std::string_view bytes) {
    QuietErrors();
    const std::string first = NumberedLine(bytes, "");
    const size_t text_start = first.find(": ");
    if (first.empty() || !StartsCalendar(std::string_view(first).substr(text_start + 2))) {
        return Error{first.empty() ? "The file is empty."
                                   : "This is not an iCalendar file: it does not begin with "
                                     "BEGIN:VCALENDAR, but with " +
                                         first};
    }
    const Component root(icalparser_parse_string(std::string(bytes).c_str()));
    if (root == nullptr) {
        return Error{"libical could not read the file as iCalendar."};
    }
    if (const auto damage = FirstDamage(root.get(), bytes)) {
        return Error{"The file is damaged at " + *damage};
    }
    std::vector<icalcomponent*> calendars;
    if (icalcomponent_isa(root.get()) == ICAL_VCALENDAR_COMPONENT) {
        calendars.push_back(root.get());
    } else {  // several calendars in one file come inside one root
        for (icalcomponent* c =
                 icalcomponent_get_first_component(root.get(), ICAL_VCALENDAR_COMPONENT);
             c != nullptr;
             c = icalcomponent_get_next_component(root.get(), ICAL_VCALENDAR_COMPONENT)) {
            calendars.push_back(c);
        }
    }
    std::vector<CalendarItem> items;
    for (icalcomponent* calendar : calendars) {
        for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT);
             c != nullptr; c = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT)) {
            const icalcomponent_kind kind = icalcomponent_isa(c);
            if (kind == ICAL_VEVENT_COMPONENT || kind == ICAL_VTODO_COMPONENT) {
                items.push_back(ItemOf(c));
            }
        }
    }
    return items;
}

}  // namespace pesterly
