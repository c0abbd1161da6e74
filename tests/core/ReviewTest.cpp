#include "reminder/Review.h"

#include <gtest/gtest.h>

#include "support/FakeClock.h"
#include "support/RecordingNagMailer.h"
#include "support/ScriptedAsker.h"

namespace pesterly {
namespace {

using testing::FakeClock;
using testing::RecordingNagMailer;
using testing::ScriptedAsker;

const DateValue kToday = DateValue::Compose(2026, 12, 6);

Happening Repeating(const char* desc, int16_t repeat, DateValue done) {
    Happening h;
    h.Desc = desc;
    h.Repeat = repeat;
    h.DoneDate = done;
    h.EventDate = DateValue::Compose(2001, 3, 14);
    return h;
}

Happening OneTime(const char* desc, DateValue date) {
    Happening h;
    h.Desc = desc;
    h.EventDate = date;
    return h;
}

TEST(NextDue, EachRepeatRuleCountsFromTheDoneDate) {
    const struct {
        int16_t repeat;
        DateValue done;
        DateValue next;
    } cases[] = {
        {kRepeatYearly, DateValue::Compose(2024, 2, 29), DateValue::Compose(2025, 3, 1)},
        {kRepeatYearly, DateValue::Compose(2023, 6, 1), DateValue::Compose(2024, 6, 1)},
        {kRepeatMonthly, DateValue::Compose(2024, 12, 15), DateValue::Compose(2025, 1, 15)},
        {kRepeatMonthly, DateValue::Compose(2025, 1, 31), DateValue::Compose(2025, 3, 3)},
        {kRepeatMonthly, DateValue::Compose(2025, 6, 10), DateValue::Compose(2025, 7, 10)},
        {kRepeatWeekly, DateValue::Compose(2025, 12, 29, 9, 30, 0),
         DateValue::Compose(2026, 1, 5, 9, 30, 0)},
        {kRepeatDaily, DateValue::Compose(2025, 12, 31, 18, 0, 0),
         DateValue::Compose(2026, 1, 1, 18, 0, 0)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NextDue(Repeating("x", c.repeat, c.done)), c.next) << c.repeat;
    }
    // Composing drops the time of day; adding days keeps it.
    EXPECT_EQ(NextDue(Repeating("x", kRepeatYearly, DateValue::Compose(2024, 5, 1, 10, 0, 0))),
              DateValue::Compose(2025, 5, 1));
    EXPECT_EQ(NextDue(OneTime("x", kToday)), std::nullopt);
    EXPECT_EQ(NextDue(Repeating("x", 7, kToday)), std::nullopt);
}

// Due on the day itself and every day after, never a day early; asked about at the first
// review on or after that day: today's if it has not run yet, else the next day's.
TEST(NextAskedDay, FirstReviewOnOrAfterTheDueDay) {
    const auto day = [](int days, int seconds = 0) {
        return DateValue(kToday.AddDays(days).Seconds() + seconds);
    };
    const struct {
        const char* what;
        Happening event;
        int last_review;
        std::optional<int> asked;
    } cases[] = {
        {"due today, review to come", OneTime("a", day(0)), -1, 0},
        {"due today, review done or put off", OneTime("a", day(0)), 0, 1},
        {"overdue", OneTime("a", day(-30)), -1, 0},
        {"tomorrow", OneTime("a", day(1)), -1, 1},
        {"today at 10:00", OneTime("a", day(0, 36000)), -1, 1},
        {"weekly, done six days ago", Repeating("w", kRepeatWeekly, day(-6)), -1, 1},
        {"weekly, done a week ago", Repeating("w", kRepeatWeekly, day(-7)), -1, 0},
        {"weekly, done at 9:30 a week ago", Repeating("w", kRepeatWeekly, day(-7, 34200)), -1, 1},
        {"daily, done today", Repeating("d", kRepeatDaily, day(0)), 0, 1},
        {"clock set back", OneTime("a", day(-1)), 3, 4},
        {"unknown repeat", Repeating("?", 7, day(-9)), -1, std::nullopt},
    };
    for (const auto& c : cases) {
        const auto asked = NextAskedDay(c.event, day(c.last_review), kToday);
        EXPECT_EQ(asked, c.asked ? std::optional(day(*c.asked)) : std::nullopt) << c.what;
    }
}

class ReviewTest : public ::testing::Test {
  protected:
    void Review() { ReviewDueHappenings(db, asker, mailer, clock); }

    Database db;
    ScriptedAsker asker;
    RecordingNagMailer mailer;
    FakeClock clock{DateValue::Compose(2026, 12, 6, 8, 0, 1)};
};

TEST_F(ReviewTest, YesRemovesOneTimeEventsAndStampsRepeatingOnes) {
    db.AppendHappening(OneTime("Dentist", kToday));
    db.AppendHappening(OneTime("Pay bill", kToday.AddDays(-3)));
    db.AppendHappening(Repeating("Water plants", kRepeatWeekly, kToday.AddDays(-10)));
    db.AppendHappening(OneTime("Next week", kToday.AddDays(7)));
    asker.Script({Answer::kYes, Answer::kYes, Answer::kYes});
    Review();
    // The event that moves into a freed slot is asked about in the same walk.
    EXPECT_EQ(asker.questions, (std::vector<std::string>{"Dentist", "Pay bill", "Water plants"}));
    ASSERT_EQ(db.HappeningCount, 2);
    EXPECT_EQ(db.Happenings[0].Desc, "Water plants");
    EXPECT_EQ(db.Happenings[0].DoneDate, kToday);
    EXPECT_EQ(db.Happenings[0].EventDate, DateValue::Compose(2001, 3, 14));
    EXPECT_EQ(db.Happenings[1].Desc, "Next week");
    EXPECT_EQ(asker.unexpected, 0);
}

TEST_F(ReviewTest, NoMailsOnlyEventsThatAskForIt) {
    Happening mailed = OneTime("Renew passport", kToday);
    mailed.SendMail = true;
    mailed.SpecialEmail = "me@example.org";
    db.AppendHappening(mailed);
    db.AppendHappening(OneTime("Quiet", kToday));
    Happening weekly = Repeating("Weekly report", kRepeatWeekly, kToday.AddDays(-8));
    weekly.SendMail = true;
    db.AppendHappening(weekly);
    const Database before = db;
    asker.Script({Answer::kNo, Answer::kNo, Answer::kNo});
    Review();
    ASSERT_EQ(mailer.sent.size(), 2u);
    EXPECT_EQ(mailer.sent[0], mailed);
    EXPECT_EQ(mailer.sent[1].Desc, "Weekly report");
    // No changes nothing, so the events come up again at the next review.
    EXPECT_EQ(db.HappeningCount, before.HappeningCount);
    EXPECT_EQ(db.Happenings, before.Happenings);
    EXPECT_EQ(db.EditBuffer, before.EditBuffer);  // the mail step uses a record of its own
    // A mail that cannot go out is told about, naming the event, and the walk goes on.
    mailer.failure = "the mail server refused the connection";
    asker.Script({Answer::kNo, Answer::kCancel, Answer::kCancel});
    Review();
    EXPECT_EQ(asker.questions.size(), 6u);
    EXPECT_EQ(mailer.sent.size(), 3u);
    ASSERT_EQ(asker.messages.size(), 1u);
    EXPECT_NE(asker.messages[0].find("Renew passport"), std::string::npos);
    EXPECT_NE(asker.messages[0].find("refused the connection"), std::string::npos);
}

TEST_F(ReviewTest, AnswerCountsFromTheDayItIsGivenAndKeepsEditsMadeMeanwhile) {
    db.AppendHappening(Repeating("Daily pills", kRepeatDaily, kToday.AddDays(-1)));
    db.AppendHappening(OneTime("Due tomorrow", kToday.AddDays(1)));
    // The first question stays open past midnight, and the event is edited meanwhile.
    asker.on_question = [&](const std::string&) {
        clock.Set(kToday.AddDays(1));
        db.Happenings[0].Desc = "Pills, edited";
    };
    asker.Script({Answer::kYes, Answer::kCancel});
    Review();
    EXPECT_EQ(db.Happenings[0].DoneDate, kToday.AddDays(1));
    EXPECT_EQ(db.Happenings[0].Desc, "Pills, edited");
    // By the time the walk reaches it, the second event has come due.
    EXPECT_EQ(asker.questions.size(), 2u);
}

}  // namespace
}  // namespace pesterly
