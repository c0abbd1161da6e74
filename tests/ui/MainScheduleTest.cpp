#include <gtest/gtest.h>

#include <QDialog>

#include "MainWindowHarness.h"
#include "support/QtPrinters.h"
#include "ui/main/FlexGrid.h"
#include "ui/main/RowFormat.h"

namespace pesterly {
namespace {

const DateValue kToday = DateValue::Compose(2026, 12, 6);

// The window opens at 10:00 on these one-time events, last reviewed yesterday unless told.
class MainScheduleTest : public ::testing::Test, protected testing::MainWindowHarness {
  protected:
    std::unique_ptr<PesterlyMain> Open(const std::vector<std::pair<const char*, DateValue>>& events,
                                       DateValue last_review = kToday.AddDays(-1)) {
        std::vector<Happening> table;
        for (const auto& [desc, date] : events) {
            table.push_back(Event(desc, date));
        }
        Seed(table, {}, last_review);
        return OpenWindow();
    }
    int64_t SecondsToWakeUp() const { return wakeup.deadline->Seconds() - clock.Now().Seconds(); }
};

TEST_F(MainScheduleTest, LateStartReviewsOnceAtTheFirstTick) {
    asker.Script({Answer::kYes});
    auto window = Open({{"Dentist", kToday}, {"Later", kToday.AddDays(2)}});
    EXPECT_TRUE(asker.questions.empty());  // nothing is asked while loading
    ASSERT_TRUE(wakeup.deadline);
    EXPECT_LE(SecondsToWakeUp(), 1);

    wakeup.Fire();
    EXPECT_EQ(asker.questions, std::vector<std::string>{"Dentist"});
    EXPECT_EQ(db.CheckDate, kToday);
    ASSERT_EQ(window->FGrid->Rows(), 2);
    EXPECT_EQ(window->FGrid->CellText(1, kColToBeDone), "Later");
    EXPECT_TRUE(wakeup.deadline);

    clock.Advance(3600);
    wakeup.Fire();
    EXPECT_EQ(asker.questions.size(), 1u);
}

TEST_F(MainScheduleTest, NoReviewWhileADialogIsOpen) {
    auto window = Open({{"Dentist", kToday}});
    QDialog editor;
    editor.setModal(true);
    editor.show();
    wakeup.Fire();
    EXPECT_TRUE(asker.questions.empty());
    EXPECT_EQ(db.CheckDate, kToday.AddDays(-1));
    EXPECT_EQ(SecondsToWakeUp(), 1);  // looks again a second later
    editor.close();
    wakeup.Fire();
    EXPECT_EQ(asker.questions.size(), 1u);
}

TEST_F(MainScheduleTest, ReviewEndingAfterMidnightCountsForTheNewDay) {
    asker.on_question = [&](const std::string&) {
        clock.Set(DateValue::Compose(2026, 12, 7, 0, 10, 0));
    };
    auto window = Open({{"Dentist", kToday}});
    wakeup.Fire();
    EXPECT_EQ(db.CheckDate, kToday.AddDays(1));
    clock.Set(DateValue::Compose(2026, 12, 7, 9, 0, 0));
    wakeup.Fire();
    EXPECT_EQ(asker.questions.size(), 1u);
}

TEST_F(MainScheduleTest, ReviewShowsTheGridInSlotOrderAgain) {
    auto window =
        Open({{"b", kToday.AddDays(5)}, {"a", kToday.AddDays(5)}, {"c", kToday.AddDays(5)}});
    window->FGrid->SortGeneric(kColToBeDone);
    ASSERT_EQ(window->FGrid->CellText(1, kColToBeDone), "a");
    wakeup.Fire();
    EXPECT_TRUE(asker.questions.empty());
    EXPECT_EQ(window->FGrid->CellText(1, kColToBeDone), "b");
    EXPECT_EQ(window->FGrid->CellText(3, kColSlot), " 2");
}

}  // namespace
}  // namespace pesterly
