#include <gtest/gtest.h>

#include <QDialog>
#include <QPushButton>
#include <QTimer>

#include "MainWindowHarness.h"
#include "store/SettingsLayout.h"
#include "store/TextForms.h"
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

    void SetUp() override {
        store.SaveSetting("Options", "CheckDate", forms::GeneralDate(kToday.AddDays(-1)));
        store.SaveSetting("Options", "CheckTime", "8:00:00 AM");
    }
    void AddStored(const char* desc, DateValue date) {
        const int slot = std::stoi(store.GetSetting("Events", "EventCount", "0"));
        store.SaveSetting("Events", SlotKey("EDesc", slot), desc);
        store.SaveSetting("Events", SlotKey("EDate", slot), forms::GeneralDate(date));
        store.SaveSetting("Events", "EventCount", forms::PaddedNumber(slot + 1));
    }
    std::unique_ptr<PesterlyMain> Open() { return OpenWindow(); }
    static void Tick(PesterlyMain& window) {
        ASSERT_TRUE(QMetaObject::invokeMethod(window.SlowTimer, "timeout"));
    }
};

TEST_F(MainScheduleTest, LateStartReviewsOnceAtTheFirstTick) {
    AddStored("Dentist", kToday);
    AddStored("Later", kToday.AddDays(2));
    asker.Script({Answer::kYes});
    auto window = Open();
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
    AddStored("Dentist", kToday);
    clock.Set(DateValue::Compose(2026, 12, 6, 8, 0, 0));  // exactly the review time
    auto window = Open();
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
    AddStored("Dentist", kToday);
    auto window = Open();
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
    AddStored("Dentist", kToday);
    asker.on_question = [&](const std::string&) {
        clock.Set(DateValue::Compose(2026, 12, 7, 0, 10, 0));
    };
    auto window = Open();
    Tick(*window);
    EXPECT_EQ(db.CheckDate, kToday.AddDays(1));
    clock.Set(DateValue::Compose(2026, 12, 7, 9, 0, 0));
    Tick(*window);
    EXPECT_EQ(asker.questions.size(), 1u);
}

TEST_F(MainScheduleTest, ReviewShowsTheGridInSlotOrderAgain) {
    AddStored("b", kToday.AddDays(5));
    AddStored("a", kToday.AddDays(5));
    AddStored("c", kToday.AddDays(5));
    auto window = Open();
    window->FGrid->SortGeneric(5);
    ASSERT_EQ(window->FGrid->CellText(1, 5), "a");
    Tick(*window);
    EXPECT_TRUE(asker.questions.empty());
    EXPECT_EQ(window->FGrid->CellText(1, 5), "b");
    EXPECT_EQ(window->FGrid->CellText(1, 6), " 0");
    EXPECT_EQ(window->FGrid->CellText(3, 6), " 2");
}

TEST_F(MainScheduleTest, HiddenTestButtonReviewsWithoutTouchingTheReviewDate) {
    AddStored("Dentist", kToday);
    store.SaveSetting("Options", "CheckDate", forms::GeneralDate(kToday));
    auto window = Open();
    window->Command1->click();
    EXPECT_EQ(asker.questions.size(), 1u);
    EXPECT_EQ(db.CheckDate, kToday);
}

}  // namespace
}  // namespace pesterly
