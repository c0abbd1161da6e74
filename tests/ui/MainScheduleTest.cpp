#include <gtest/gtest.h>

#include <QDialog>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>

#include "MainWindowHarness.h"
#include "platform/RealTimeWakeUpSource.h"
#include "platform/SystemClock.h"
#include "support/FakeClock.h"
#include "support/MemorySettingsStore.h"
#include "support/QtPrinters.h"
#include "support/RecordingNagMailer.h"
#include "support/ScriptedAsker.h"
#include "ui/main/FlexGrid.h"
#include "ui/main/PesterlyMain.h"

namespace pesterly {
namespace {

using testing::FakeClock;
using testing::MemorySettingsStore;
using testing::RecordingNagMailer;
using testing::ScriptedAsker;

const DateValue kToday = DateValue::Compose(2026, 12, 6);

DateValue At(DateValue day, int hour, int minute, int second) {
    return DateValue(day.Seconds() + DateValue::TimeOfDay(hour, minute, second).Seconds());
}

class MainScheduleTest : public ::testing::Test, protected testing::MainWindowHarness {
  protected:
    MainScheduleTest() { clock.Set(DateValue::Compose(2026, 12, 6, 10, 0, 0)); }

    // Opens the window on these one-time events, last reviewed yesterday unless told.
    std::unique_ptr<PesterlyMain> Open(const std::vector<std::pair<const char*, DateValue>>& events,
                                       DateValue last_review = kToday.AddDays(-1)) {
        std::vector<Happening> table;
        for (const auto& [desc, date] : events) {
            table.push_back(Event(desc, date));
        }
        Seed(table, {}, last_review);
        return OpenWindow();
    }
    // The schedule's wake-up comes.
    void Tick(PesterlyMain&) { wakeup.Fire(); }
    int64_t SecondsToWakeUp() const { return wakeup.deadline->Seconds() - clock.Now().Seconds(); }
};

TEST_F(MainScheduleTest, LateStartReviewsOnceAtTheFirstTick) {
    asker.Script({Answer::kYes});
    auto window = Open({{"Dentist", kToday}, {"Later", kToday.AddDays(2)}});
    EXPECT_TRUE(asker.questions.empty());  // nothing is asked while loading
    ASSERT_TRUE(wakeup.deadline);
    EXPECT_LE(SecondsToWakeUp(), 1);

    Tick(*window);
    EXPECT_EQ(asker.questions, std::vector<std::string>{"Dentist"});
    EXPECT_EQ(db.CheckDate, kToday);
    ASSERT_EQ(window->FGrid->Rows(), 2);
    EXPECT_EQ(window->FGrid->CellText(1, 5), "Later");
    EXPECT_TRUE(wakeup.deadline);

    clock.Advance(3600);
    Tick(*window);
    EXPECT_EQ(asker.questions.size(), 1u);
}

TEST_F(MainScheduleTest, ReviewWaitsForTheReviewTimeAndTheDay) {
    clock.Set(DateValue::Compose(2026, 12, 6, 8, 0, 0));  // exactly the review time
    auto window = Open({{"Dentist", kToday}});
    EXPECT_EQ(SecondsToWakeUp(), 1);
    Tick(*window);
    EXPECT_TRUE(asker.questions.empty());
    clock.Advance(1);
    Tick(*window);
    EXPECT_EQ(asker.questions.size(), 1u);
    // Reviewed today: the program sleeps an hour at a time until tomorrow.
    EXPECT_EQ(SecondsToWakeUp(), 3600);
    clock.Set(DateValue::Compose(2026, 12, 7, 0, 0, 30));
    Tick(*window);
    EXPECT_EQ(asker.questions.size(), 1u);
}

TEST_F(MainScheduleTest, NoReviewWhileADialogIsOpen) {
    auto window = Open({{"Dentist", kToday}});
    QDialog editor;
    editor.setModal(true);
    editor.show();
    Tick(*window);
    EXPECT_TRUE(asker.questions.empty());
    EXPECT_EQ(db.CheckDate, kToday.AddDays(-1));
    EXPECT_EQ(SecondsToWakeUp(), 1);  // looks again a second later
    editor.close();
    Tick(*window);
    EXPECT_EQ(asker.questions.size(), 1u);
}

TEST_F(MainScheduleTest, ReviewEndingAfterMidnightCountsForTheNewDay) {
    asker.on_question = [&](const std::string&) {
        clock.Set(DateValue::Compose(2026, 12, 7, 0, 10, 0));
    };
    auto window = Open({{"Dentist", kToday}});
    Tick(*window);
    EXPECT_EQ(db.CheckDate, kToday.AddDays(1));
    clock.Set(DateValue::Compose(2026, 12, 7, 9, 0, 0));
    Tick(*window);
    EXPECT_EQ(asker.questions.size(), 1u);
}

TEST_F(MainScheduleTest, ReviewShowsTheGridInSlotOrderAgain) {
    auto window =
        Open({{"b", kToday.AddDays(5)}, {"a", kToday.AddDays(5)}, {"c", kToday.AddDays(5)}});
    window->FGrid->SortGeneric(5);
    ASSERT_EQ(window->FGrid->CellText(1, 5), "a");
    Tick(*window);
    EXPECT_TRUE(asker.questions.empty());
    EXPECT_EQ(window->FGrid->CellText(1, 5), "b");
    EXPECT_EQ(window->FGrid->CellText(1, 6), " 0");
    EXPECT_EQ(window->FGrid->CellText(3, 6), " 2");
}

TEST_F(MainScheduleTest, HiddenTestButtonReviewsWithoutTouchingTheReviewDate) {
    auto window = Open({{"Dentist", kToday}}, kToday);
    window->Command1->click();
    EXPECT_EQ(asker.questions.size(), 1u);
    EXPECT_EQ(db.CheckDate, kToday);
}

TEST_F(MainScheduleTest, ClockChangeOrResumeBringsTheReviewWithinASecondOfItsMoment) {
    // Open at 10:00, reviewed today: the next review is due at 8:00:01 tomorrow.
    const DateValue tomorrow = kToday.AddDays(1);
    struct Case {
        const char* what;
        bool resume;  // else the clock is set
        DateValue to, due;
    };
    const Case cases[] = {
        {"set past the review time", false, At(tomorrow, 9, 0, 0), At(tomorrow, 9, 0, 0)},
        {"set to just before it", false, At(tomorrow, 7, 59, 58), At(tomorrow, 8, 0, 1)},
        {"set back a day", false, At(kToday.AddDays(-1), 9, 0, 0), At(tomorrow, 8, 0, 1)},
        {"resumed after it", true, At(tomorrow, 12, 0, 0), At(tomorrow, 12, 0, 0)},
        {"resumed before it", true, At(tomorrow, 7, 30, 0), At(tomorrow, 8, 0, 1)},
        {"resumed days later", true, At(kToday.AddDays(3), 6, 0, 0),
         At(kToday.AddDays(3), 8, 0, 1)},
    };
    for (const Case& c : cases) {
        clock.Set(At(kToday, 10, 0, 0));
        auto window = Open({{"Dentist", kToday}}, kToday);
        std::optional<DateValue> asked_at;
        asker.on_question = [&](const std::string&) { asked_at = asked_at.value_or(clock.Now()); };
        wakeup.RunUntil(At(kToday, 23, 0, 0));
        c.resume ? wakeup.Resume(c.to) : wakeup.SetClock(c.to);
        wakeup.RunUntil(DateValue(c.due.Seconds() + 5));
        ASSERT_TRUE(asked_at) << c.what;
        EXPECT_GE(*asked_at, c.due) << c.what;
        EXPECT_LE(asked_at->Seconds() - c.due.Seconds(), 1) << c.what;
        window.reset();
    }
}

TEST(RealTimeWakeUpSource, WakesInTheSecondOfItsDeadlineOnTheRealClock) {
    const SystemClock clock;
    RealTimeWakeUpSource source;
    const DateValue deadline(clock.Now().Seconds() + 2);
    std::optional<DateValue> woken_at;
    QEventLoop loop;
    source.WakeAt(deadline, [&] {
        woken_at = clock.Now();
        loop.quit();
    });
    QTimer::singleShot(4000, &loop, &QEventLoop::quit);
    loop.exec();
    ASSERT_TRUE(woken_at);
    EXPECT_EQ(*woken_at, deadline);  // not before it, and within a second after
}

}  // namespace
}  // namespace pesterly
