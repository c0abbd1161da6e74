#include "exchange/Calendar.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>

#include "reminder/Review.h"

namespace pesterly {
namespace {

constexpr int kDaysBeforeToday = 370;  // the DoneDate a new event starts with

// The years a calendar file can carry: libical, which the calendar programs of this desktop
// share, writes no date after the year 3000.
bool InCalendarYears(DateValue date) {
    return date.Year() >= 1 && date.Year() <= 3000;
}

std::string IsoDate(DateValue date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04lld-%02d-%02d", static_cast<long long>(date.Year()),
                  date.Month(), date.Day());
    return text;
}

CalendarFrequency FrequencyOf(int16_t repeat) {
    switch (repeat) {
        case kRepeatYearly:
            return CalendarFrequency::kYearly;
        case kRepeatMonthly:
            return CalendarFrequency::kMonthly;
        case kRepeatWeekly:
            return CalendarFrequency::kWeekly;
        case kRepeatDaily:
            return CalendarFrequency::kDaily;
        default:
            return CalendarFrequency::kNone;
    }
}

int16_t RepeatOf(CalendarFrequency frequency) {
    switch (frequency) {
        case CalendarFrequency::kYearly:
            return kRepeatYearly;
        case CalendarFrequency::kMonthly:
            return kRepeatMonthly;
        case CalendarFrequency::kWeekly:
            return kRepeatWeekly;
        case CalendarFrequency::kDaily:
            return kRepeatDaily;
        default:
            return kRepeatOneTime;
    }
}

bool IsOnly(const std::vector<int>& values, int value) {
    return values.empty() || (values.size() == 1 && values[0] == value);
}

// Why a repeat code cannot hold the rule; nothing when it can. A code repeats every single
// period from the first date on, so a rule may name only what that date already says.
std::optional<Text> Unholdable(const CalendarRule& rule, DateValue start) {
    const CalendarFrequency f = rule.frequency;
    if (f == CalendarFrequency::kNone || f == CalendarFrequency::kOther) {
        return Text(PESTERLY_TEXT("Calendar",
                                  "it repeats more often than daily, or in no way Pesterly knows"));
    }
    if (rule.interval > 1) {
        return Text(PESTERLY_TEXT("Calendar", "it repeats every %1 periods"),
                    {std::to_string(rule.interval)});
    }
    if (!rule.other_parts.empty()) {
        return Text(PESTERLY_TEXT("Calendar", "Pesterly cannot hold %1"),
                    {JoinParts(rule.other_parts, ", ")});
    }
    if (rule.weekdays.size() > 1) {
        return Text(PESTERLY_TEXT("Calendar", "it falls on several days of the week"));
    }
    if (!rule.weekdays.empty() && f != CalendarFrequency::kWeekly) {
        return Text(PESTERLY_TEXT("Calendar", "it falls on certain weekdays only"));
    }
    if (!IsOnly(rule.months, start.Month()) ||
        (!rule.months.empty() && f != CalendarFrequency::kYearly)) {
        return Text(PESTERLY_TEXT("Calendar", "it falls in other months than its first date"));
    }
    const bool days_fit = f == CalendarFrequency::kYearly || f == CalendarFrequency::kMonthly;
    if (!IsOnly(rule.month_days, start.Day()) || (!rule.month_days.empty() && !days_fit)) {
        return Text(PESTERLY_TEXT("Calendar", "it falls on other days than its first date"));
    }
    return std::nullopt;
}

// The k-th date of the series from start, or nothing where a calendar skips it: a day the
// month lacks (the 31st, 29 February) makes no date.
std::optional<DateValue> NthDate(CalendarFrequency f, DateValue start, int64_t k) {
    if (f == CalendarFrequency::kDaily || f == CalendarFrequency::kWeekly) {
        return start.AddDays(k * (f == CalendarFrequency::kDaily ? 1 : 7));
    }
    const DateValue first = DateValue::Compose(
        start.Year(), start.Month() + (f == CalendarFrequency::kYearly ? 12 * k : k), 1);
    if (start.Day() > DaysInMonth(first.Year(), first.Month())) {
        return std::nullopt;
    }
    return DateValue(DateValue::Compose(first.Year(), first.Month(), start.Day()).Seconds() +
                     start.TimePart().Seconds());
}

struct Occurrence {
    DateValue date;
    int64_t index = 0;  // how many dates of the series come before it
};

// The first date of the series on or after today.
Occurrence FirstOnOrAfter(CalendarFrequency f, DateValue start, DateValue today) {
    if (start.DatePart() >= today) {
        return {start, 0};
    }
    if (f == CalendarFrequency::kDaily || f == CalendarFrequency::kWeekly) {
        const int64_t period = f == CalendarFrequency::kDaily ? 1 : 7;
        const int64_t k = (today.Days() - start.Days() + period - 1) / period;
        return {start.AddDays(k * period), k};
    }
    Occurrence found{start, 0};
    for (int64_t k = 1;; ++k) {
        if (const std::optional<DateValue> date = NthDate(f, start, k)) {
            found = {*date, found.index + 1};
            if (date->DatePart() >= today) {
                return found;
            }
        }
    }
}

// The event a calendar item becomes, or why it cannot become one.
Result<Happening> EventOf(const CalendarItem& item, DateValue today) {
    Happening event;
    event.Desc = item.summary;
    event.EmailBody = item.description;
    event.DoneDate = today.AddDays(-kDaysBeforeToday);
    if (!item.start.has_value()) {
        return Failure({PESTERLY_TEXT("Calendar", "it has no date")});
    }
    if (!InCalendarYears(*item.start)) {
        return Failure({PESTERLY_TEXT("Calendar", "its date lies outside the years 1 to 3000")});
    }
    event.EventDate = *item.start;
    if (!item.rule.has_value()) {
        return event;
    }
    const CalendarRule& rule = *item.rule;
    if (std::optional<Text> why = Unholdable(rule, *item.start)) {
        return Failure(std::move(*why));
    }
    if (rule.weekdays.size() == 1) {  // a weekly rule on another day than its start
        const int ahead = (rule.weekdays[0] - item.start->DayOfWeek() + 7) % 7;
        event.EventDate = item.start->AddDays(ahead);
    }
    const Occurrence next = FirstOnOrAfter(rule.frequency, event.EventDate, today);
    if (rule.count > 0 && next.index >= rule.count) {
        return Failure({PESTERLY_TEXT("Calendar", "its last date is past")});
    }
    if (rule.until.has_value() && next.date.DatePart() > rule.until->DatePart()) {
        return Failure({PESTERLY_TEXT("Calendar", "it ended on %1"), {IsoDate(*rule.until)}});
    }
    event.Repeat = RepeatOf(rule.frequency);
    event.DoneDate = DoneDateBefore(event.Repeat, next.date.DatePart());
    return event;
}

// The category reference for a name, adding the name while there is room; 0 when there is
// none.
int16_t CategoryFor(Database& db, const std::string& name) {
    const auto names = db.Categories.begin();
    const auto found = std::find(names, names + db.CategoryCount, name);
    if (found != names + db.CategoryCount) {
        return static_cast<int16_t>(found - names + 1);
    }
    return db.AppendCategory(name) ? db.CategoryCount : int16_t{0};
}

}  // namespace

std::string CalendarUid(std::string_view desc) {
    // 64-bit FNV-1a over the UTF-8 bytes: fixed here, so that it never changes with the
    // compiler or the library.
    uint64_t hash = 14695981039346656037ULL;
    for (const char c : desc) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    }
    char text[40];
    std::snprintf(text, sizeof text, "%016llx@pesterly", static_cast<unsigned long long>(hash));
    return text;
}

std::vector<int> AllSlots(const Database& db) {
    std::vector<int> live;
    for (int slot = 0; slot < db.HappeningCount; ++slot) {
        live.push_back(slot);
    }
    return live;
}

std::vector<CalendarItem> CalendarItemsOf(const Database& db, const std::vector<int>& chosen) {
    std::vector<CalendarItem> items;
    std::map<std::string, int> uses;
    for (const int slot : chosen) {
        const Happening& event = db.Happenings[slot];
        CalendarItem item;
        if (event.Repeat == kRepeatOneTime) {
            item.start = event.EventDate;
        } else if (const std::optional<DateValue> next = NextDue(event)) {
            item.start = next;
            item.rule.emplace();
            item.rule->frequency = FrequencyOf(event.Repeat);
        } else {
            continue;  // never due
        }
        if (!InCalendarYears(*item.start)) {
            continue;  // no calendar program could read it
        }
        item.whole_day = item.start->TimePart() == DateValue();
        const int use = ++uses[event.Desc];
        item.uid = CalendarUid(event.Desc);
        if (use > 1) {
            item.uid.insert(item.uid.find('@'), "-" + std::to_string(use));
        }
        item.summary = event.Desc;
        item.description = event.EmailBody;
        if (const std::string& name = db.CategoryName(event.Category); !name.empty()) {
            item.categories.push_back(name);
        }
        items.push_back(std::move(item));
    }
    return items;
}

CalendarImportSummary ImportCalendar(Database& db, const std::vector<CalendarItem>& items,
                                     DateValue today) {
    CalendarImportSummary summary;
    std::vector<Happening> events;
    std::map<std::string, std::string> category_of;  // by description
    for (const CalendarItem& item : items) {
        if (item.completed) {
            ++summary.completed_tasks;
            continue;
        }
        Result<Happening> mapped = EventOf(item, today);
        if (!mapped) {
            summary.not_held.push_back(
                item.rule.has_value()
                    ? Text(PESTERLY_TEXT("Calendar", "\"%1\" (%2): %3"),
                           {item.summary, item.rule->text, Reason(mapped.error())})
                    : Text(PESTERLY_TEXT("Calendar", "\"%1\": %2"),
                           {item.summary, Reason(mapped.error())}));
            continue;
        }
        Happening& event = *mapped;
        // A task not done yet is still to do; a calendar's past appointment is over.
        if (!item.task && event.Repeat == kRepeatOneTime && event.EventDate.DatePart() < today) {
            ++summary.past_events;
            continue;
        }
        if (!item.categories.empty()) {
            category_of.emplace(event.Desc, item.categories.front());
        }
        events.push_back(std::move(event));
    }
    summary.events = ImportHappenings(db, events);
    for (const int slot : summary.events.appended_slots) {
        Happening& event = db.Happenings[slot];
        if (const auto name = category_of.find(event.Desc); name != category_of.end()) {
            event.Category = CategoryFor(db, name->second);
        }
    }
    return summary;
}

std::optional<Text> CalendarImportReport(const CalendarImportSummary& summary) {
    std::vector<Text> lines;
    if (!summary.not_held.empty()) {
        lines.emplace_back(
            PESTERLY_TEXT("Calendar",
                          "Pesterly cannot hold these events as they are, so they were "
                          "left out:"));
        for (const Text& line : summary.not_held) {
            lines.push_back(Text::Joined({Text("  "), line}, ""));  // indented by two blanks
        }
    }
    const auto counted = [&lines](int count, Text one, Text many) {
        if (count > 0) {
            lines.push_back(count == 1 ? std::move(one) : std::move(many));
            lines.back().fillings = {std::to_string(count)};
        }
    };
    counted(
        summary.past_events,
        Text(PESTERLY_TEXT("Calendar", "1 event that was over before today was left out.")),
        Text(PESTERLY_TEXT("Calendar", "%1 events that were over before today were left out.")));
    counted(summary.completed_tasks,
            Text(PESTERLY_TEXT("Calendar", "1 completed task was left out.")),
            Text(PESTERLY_TEXT("Calendar", "%1 completed tasks were left out.")));
    counted(
        summary.events.left_out,
        Text(PESTERLY_TEXT("Calendar",
                           "The event table is full (101 events), so 1 new event from the file "
                           "were left out.")),
        Text(PESTERLY_TEXT("Calendar",
                           "The event table is full (101 events), so %1 new events from the file "
                           "were left out.")));
    if (lines.empty()) {
        return std::nullopt;
    }
    return Text::Joined(std::move(lines), "\n");
}

}  // namespace pesterly
