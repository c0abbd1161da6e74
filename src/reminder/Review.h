#pragma once

#include <optional>

#include "reminder/NagMailer.h"
#include "reminder/QuestionAsker.h"
#include "store/Clock.h"
#include "store/Database.h"

namespace pesterly {

// The next due date of a repeating event, counted from the day it was last done: a year, a
// month (with carry, so 31 January gives 3 March), a week or a day later. Nothing for a
// one-time event or an unknown repeat code.
std::optional<DateValue> NextDue(const Happening& event);

// The DoneDate from which the review counts the given due date for a repeating event: one
// period before it. Where no DoneDate leads exactly there (a monthly date on the 31st), the
// latest one that leads to an earlier day, so that the review never asks later than the date.
DateValue DoneDateBefore(int16_t repeat, DateValue due);

// Whether the review asks about the event on the given day. A one-time event is due from its
// date on; a repeating one from its next due date on; an unknown repeat code never.
bool IsDue(const Happening& event, DateValue today);

// The day a review will next ask about the event: the first review day on which it is due.
// The daily review runs at most once a day: today when the last review (`last_review`) was
// before today, otherwise on the day after the last review. An event left unanswered or put
// off stays due, so it is asked about again at the next review. Nothing for an unknown repeat
// code, which is never asked about.
std::optional<DateValue> NextAskedDay(const Happening& event, DateValue last_review,
                                      DateValue today);

// Walks the table in slot order and asks about every due event, carrying out each answer
// before looking at the next event: Yes removes a one-time event or sets a repeating event's
// DoneDate to today; No sends the event's nag mail when it asks for mail; Cancel puts it off.
// A mail that cannot be sent is reported, and the walk goes on. The grid is the caller's.
void ReviewDueHappenings(Database& db, QuestionAsker& asker, NagMailer& mailer, const Clock& clock);

}  // namespace pesterly
