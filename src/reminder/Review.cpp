#include "reminder/Review.h"

#include <algorithm>

namespace pesterly {

std::optional<DateValue> NextDue(const Happening& event) {
    const DateValue done = event.DoneDate;
    switch (event.Repeat) {
        case kRepeatYearly:
            return DateValue::Compose(done.Year() + 1, done.Month(), done.Day());
        case kRepeatMonthly:
            // Compose carries month 13 into January of the next year.
            return DateValue::Compose(done.Year(), done.Month() + 1, done.Day());
        case kRepeatWeekly:
            return done.AddDays(7);
        case kRepeatDaily:
            return done.AddDays(1);
        default:
            return std::nullopt;
    }
}

DateValue DoneDateBefore(int16_t repeat, DateValue due) {
    // Going back by a year or a month, a day the month lacks is taken as its last day.
    const auto back = [&](int64_t year, int64_t month) {
        const DateValue first = DateValue::Compose(year, month, 1);
        const int day = std::min(due.Day(), DaysInMonth(first.Year(), first.Month()));
        return DateValue(DateValue::Compose(year, month, day).Seconds() + due.TimePart().Seconds());
    };
    switch (repeat) {
        case kRepeatYearly:
            return back(due.Year() - 1, due.Month());
        case kRepeatMonthly:
            return back(due.Year(), due.Month() - 1);
        case kRepeatWeekly:
            return due.AddDays(-7);
        case kRepeatDaily:
            return due.AddDays(-1);
        default:
            return due;
    }
}

bool IsDue(const Happening& event, DateValue today) {
    if (event.Repeat == kRepeatOneTime) {
        return today >= event.EventDate;
    }
    const std::optional<DateValue> next = NextDue(event);
    return next.has_value() && today >= *next;
}

std::optional<DateValue> NextAskedDay(const Happening& event, DateValue last_review,
                                      DateValue today) {
    const std::optional<DateValue> due =
        event.Repeat == kRepeatOneTime ? std::optional(event.EventDate) : NextDue(event);
    if (!due.has_value()) {
        return std::nullopt;
    }
    // A due date with a time of day is first due on the day after it.
    DateValue due_day = due->DatePart();
    if (!IsDue(event, due_day)) {
        due_day = due_day.AddDays(1);
    }
    const DateValue review_day = std::max(today.DatePart(), last_review.DatePart().AddDays(1));
    return std::max(due_day, review_day);
}

void ReviewDueHappenings(Database& db, QuestionAsker& asker, NagMailer& mailer,
                         const Clock& clock) {
    int slot = 0;
    while (slot < db.HappeningCount) {
        if (!IsDue(db.Happenings[slot], clock.Today())) {
            ++slot;
            continue;
        }
        // The answer may come hours later; act on the event as it stands now.
        const Happening event = db.Happenings[slot];
        switch (asker.AskYesNoCancel(event.Desc)) {
            case Answer::kYes:
                if (event.Repeat == kRepeatOneTime) {
                    // The event that moves into this slot is looked at next, in this same walk.
                    db.RemoveHappening(slot);
                    continue;
                }
                db.Happenings[slot].DoneDate = clock.Today();
                break;
            case Answer::kNo:
                if (event.SendMail) {
                    if (const Result<void> sent = mailer.SendNagMail(event); !sent) {
                        asker.Explain({PESTERLY_TEXT("Review",
                                                     "Pesterly could not send the nag mail for "
                                                     "\"%1\".\n\n%2"),
                                       {event.Desc, Reason(sent.error())}});
                    }
                }
                break;
            case Answer::kCancel:
                break;
        }
        ++slot;
    }
}

}  // namespace pesterly
