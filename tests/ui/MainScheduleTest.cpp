#include <gtest/gtest.h>

#include <QDialog>
#include <QPushButton>
#include <QTimer>

#include "MainWindowHarness.h"
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
    static void Tick(PesterlyMain& window) {
        ASSERT_TRUE(QMetaObject::invokeMethod(window.SlowTimer, "timeout"));
    }
};

TEST_F(MainScheduleTest, LateStartReviewsOnceAtTheFirstTick) {
    asker.Script({Answer::kYes});
    auto window = Open({{"Dentist", kToday}, {"Later", kToday.AddDays(2)}});
    EXPECT_TRUE(asker.questions.empty());  // nothing is asked while loading
    EXPECT_TRUE(window->SlowTimer->isActive());
    EXPECT_LE(window->SlowTimer->interval(), 1000);

    Tick(*window);
    EXPECT_EQ(asker.questions, std::vector<std::string>{"Dentist"});
    EXPECT_EQ(db.CheckDate, kToday);
    ASSERT_EQ(window->FGrid->Rows(), 2);
    EXPECT_EQ(window->FGrid->CellText(1, 5), "Later");
    EXPECT_TRUE(window->SlowTimer->isActive());

    clock.Advance(3600);
    Tick(*window);
    EXPECT_EQ(asker.questions.size(), 1u);
}

TEST_F(MainScheduleTest, ReviewWaitsForTheReviewTimeAndTheDay) {
    clock.Set(DateValue::Compose(2026, 12, 6, 8, 0, 0));  // exactly the review time
    auto window = Open({{"Dentist", kToday}});
    EXPECT_EQ(window->SlowTimer->interval(), 1000);
    Tick(*window);
    EXPECT_TRUE(asker.questions.empty());
    clock.Advance(1);
    Tick(*window);
    EXPECT_EQ(asker.questions.size(), 1u);
    // Reviewed today: the timer idles a minute at a time until tomorrow.
    EXPECT_EQ(window->SlowTimer->interval(), 60'000);
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
    EXPECT_TRUE(window->SlowTimer->isActive());
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

}  // namespace
}  // namespace pesterly
