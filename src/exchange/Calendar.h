#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/ImportHappenings.h"
#include "store/Database.h"
#include "store/Text.h"

namespace pesterly {

// Events as calendar programs hold them, and the rules that turn Pesterly's events into them
// and back. Reading and writing the files themselves is the platform's (IcalCalendar).

enum class CalendarFrequency { kNone, kYearly, kMonthly, kWeekly, kDaily, kOther };

// A recurrence rule as a calendar file gives it.
struct CalendarRule {
    std::string text;  // as written, to name it to the user
    CalendarFrequency frequency = CalendarFrequency::kNone;
    int interval = 1;
    std::vector<int> weekdays;    // BYDAY values without a position; 0 is Sunday
    std::vector<int> months;      // BYMONTH
    std::vector<int> month_days;  // BYMONTHDAY
    // Parts that say more than a repeat code can: "BYSETPOS", a BYDAY with a position, ...
    std::vector<std::string> other_parts;
    int count = 0;  // COUNT; 0 when the rule has none
    std::optional<DateValue> until;

    friend bool operator==(const CalendarRule&, const CalendarRule&) = default;
};

// One event or task of a calendar.
struct CalendarItem {
    std::string uid;
    std::string summary;
    std::string description;
    std::vector<std::string> categories;
    std::optional<DateValue> start;  // local time; for a whole day, its midnight
    bool whole_day = false;
    bool task = false;
    bool completed = false;  // a task that is done
    std::optional<CalendarRule> rule;

    friend bool operator==(const CalendarItem&, const CalendarItem&) = default;
};

// A calendar's name for an event: the same at every export while its description stays the
// same, whatever else changes.
std::string CalendarUid(std::string_view desc);

// The events of the given slots as calendar events, in that order. A one-time event falls on
// its date; a repeating event starts on its next due date and repeats by its code. An event
// with an unknown repeat code is never due, so it is left out, and so is one whose calendar date
// lies outside the years 1 to 3000, which calendar files cannot carry. Events that share a
// description get UIDs of their own.
std::vector<CalendarItem> CalendarItemsOf(const Database& db, const std::vector<int>& chosen);
// Every live slot, in slot order.
std::vector<int> AllSlots(const Database& db);

struct CalendarImportSummary {
    ImportSummary events;
    std::vector<Text> not_held;  // one line for each event left out, and why
    int completed_tasks = 0;
    int past_events = 0;  // one-time events over before today
};

// Appends the calendar's events to the table as the exchange import does (a description
// already in the table is skipped; a full table leaves the rest out). A repeating event gets
// the repeat code of its rule, its first date, and a DoneDate one period before its first
// occurrence on or after today, so the review asks about it on the day the calendar shows it.
// Rules a repeat code cannot hold are left out and named. Completed tasks and one-time events
// over before today are left out. An event's first category is looked up by name and added
// when it is new, while there is room.
CalendarImportSummary ImportCalendar(Database& db, const std::vector<CalendarItem>& items,
                                     DateValue today);

// What the user should be told after an import, or nothing when every event went in.
std::optional<Text> CalendarImportReport(const CalendarImportSummary& summary);

}  // namespace pesterly
