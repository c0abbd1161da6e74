#include "ui/main/PesterlyMain.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QLocale>
#include <QMenu>
#include <QScrollBar>
#include <QTimer>

#include "MainWindowHarness.h"
#include "support/QtPrinters.h"
#include "ui/dialogs/DialogDriver.h"

// The main window: its rows and layout, saving, the tray icon and the daily review's schedule.
namespace pesterly {
namespace {

const DateValue kToday = DateValue::Compose(2026, 12, 6);

class MainWindowTest : public ::testing::Test, protected testing::MainWindowHarness {};

TEST_F(MainWindowTest, RowsShowEachRepeatRuleAsWritten) {
    const DateValue pi_day = DateValue::Compose(2001, 3, 14);
    Happening once = Event("Dentist", pi_day);
    once.Category = 2;
    once.SendMail = true;
    once.SpecialEmail = "me@example.org";
    Seed({once, Event("Birthday", pi_day, kRepeatYearly), Event("Rent", pi_day, kRepeatMonthly),
          Event("Bins", pi_day, kRepeatWeekly), Event("Pills", pi_day, kRepeatDaily),
          Event("Odd", pi_day, 7)},
         {"Family", "Work"});
    auto window = OpenWindow();
    const FlexGrid& grid = *window->FGrid;
    ASSERT_EQ(grid.Rows(), 7);
    const QStringList want[] = {
        {"Work", "Yes", "One Time ", "Mar 14,2001", "me@example.org", "Dentist", " 0"},
        {"", "No", "Yearly", "Mar 14", "", "Birthday", " 1"},
        {"", "No", "Monthly", "on the 14th", "", "Rent", " 2"},
        {"", "No", "Weekly", "Wednesday", "", "Bins", " 3"},
        {"", "No", "Daily", " ", "", "Pills", " 4"},
        {"", "No", "", "", "", "Odd", " 5"},
    };
    for (int r = 0; r < 6; ++r) {
        for (int c = 0; c < kGridColumns; ++c) {
            EXPECT_EQ(grid.CellText(r + 1, c), want[r][c]) << "row " << r << " col " << c;
        }
    }
}

TEST(RowFormat, MonthlyDatesCarryTheirOrdinalAndNamesFollowTheUsersLocale) {
    Database db;
    db.HappeningCount = 1;
    db.Happenings[0].Repeat = kRepeatMonthly;
    const std::pair<int, const char*> days[] = {
        {1, "1st"},   {2, "2nd"},   {3, "3rd"},   {4, "4th"},   {11, "11th"}, {12, "12th"},
        {13, "13th"}, {21, "21st"}, {22, "22nd"}, {23, "23rd"}, {30, "30th"}, {31, "31st"},
    };
    for (const auto& [day, text] : days) {
        db.Happenings[0].EventDate = DateValue::Compose(2001, 1, day);
        EXPECT_EQ(*FormatRow(db, 0, QLocale())[kColDate], QString("on the ") + text);
    }
    db.Happenings[0].EventDate = DateValue::Compose(2001, 3, 14);
    const QLocale german(QLocale::German, QLocale::Germany);
    db.Happenings[0].Repeat = kRepeatWeekly;
    EXPECT_EQ(*FormatRow(db, 0, german)[kColDate], "Mittwoch");
    db.Happenings[0].Repeat = kRepeatOneTime;
    EXPECT_EQ(*FormatRow(db, 0, german)[kColDate],
              german.monthName(3, QLocale::ShortFormat) + " 14,2001");
    db.Happenings[0].Repeat = 9;
    EXPECT_FALSE(FormatRow(db, 0, german)[kColRepeat] || FormatRow(db, 0, german)[kColDate]);
}

TEST_F(MainWindowTest, CommandLineIsEchoedBeforeTheTableLoads) {
    Seed({Event("x", DateValue())});
    auto window = OpenWindow({"--hello", "two words", ""});
    EXPECT_EQ(asker.messages, std::vector<std::string>{"--hello \"two words\" \"\""});
    EXPECT_EQ(window->FGrid->Rows(), 2);
}

TEST_F(MainWindowTest, FailedSaveKeepsTheWindowOpenAndSays) {
    auto window = OpenWindow();
    store.fail_next_commit = "Pesterly could not write its settings file.";
    EXPECT_FALSE(window->close());
    ASSERT_EQ(asker.messages.size(), 1u);
    EXPECT_NE(asker.messages[0].find("could not write"), std::string::npos);
    EXPECT_TRUE(window->close());
}

// The headers show whole, and the columns fit beside a vertical scroll bar.
TEST_F(MainWindowTest, TidyLayout) {
    auto window = OpenWindow();
    testing::ExpectTidyForm(*window->centralWidget(), false);
    EXPECT_TRUE(window->Command1->isHidden()) << "the test button is the developer's";
    const FlexGrid& grid = *window->FGrid;
    int total = 0;
    for (int col = 0; col < kGridColumns; ++col) {
        total += grid.columnWidth(col);
        EXPECT_GE(grid.columnWidth(col),
                  grid.horizontalHeader()->fontMetrics().horizontalAdvance(grid.CellText(0, col)))
            << col;
    }
    EXPECT_LE(total, grid.width() - grid.verticalScrollBar()->sizeHint().width());
    EXPECT_GT(grid.columnWidth(kColToBeDone), grid.width() / 3);
}

class MainTrayTest : public ::testing::Test, protected testing::MainWindowHarness {
  protected:
    void SetUp() override {
        unloads = 0;
        window.reset();
        window = OpenWindow();
        QObject::connect(window.get(), &PesterlyMain::Unloaded, [this] { ++unloads; });
        window->show();
    }
    void StartupTick() { ASSERT_TRUE(QMetaObject::invokeMethod(window->StartupTimer, "timeout")); }
    // Something the user changed today, which every way of ending must save.
    void ChangeSomething() { db.CheckTime = DateValue::TimeOfDay(6, 45, 0); }
    bool Saved() { return store.GetSetting("Options", "CheckTime", "") == "6:45:00 AM"; }

    std::unique_ptr<PesterlyMain> window;
    int unloads = 0;
};

TEST_F(MainTrayTest, IconComesWithTheStartupTimerAndReactsOnlyWhileHidden) {
    EXPECT_EQ(tray.adds, 0);
    EXPECT_TRUE(window->StartupTimer->isActive());
    StartupTick();
    EXPECT_EQ(tray.adds, 1);
    EXPECT_FALSE(window->StartupTimer->isActive());

    tray.Click(TrayMouse::kRightDoubleClick);  // ignored while shown
    EXPECT_EQ(unloads, 0);
    EXPECT_TRUE(window->isVisible());

    window->HideButton->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(tray.shown);
    EXPECT_TRUE(wakeup.deadline);
    tray.Click(TrayMouse::kLeftPress);
    EXPECT_TRUE(window->isVisible());

    window->HideButton->click();
    tray.Click(TrayMouse::kLeftDoubleClick);
    EXPECT_TRUE(window->isVisible());

    window->HideButton->click();
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        menu->actions().first()->trigger();  // Show Pesterly
        menu->close();
    });
    tray.Click(TrayMouse::kRightPress);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainTrayTest, EveryCommandThatEndsSavesFirst) {
    for (QAction* PesterlyMain::*command : {&PesterlyMain::FileExit, &PesterlyMain::TrayExit}) {
        SetUp();
        StartupTick();
        ChangeSomething();
        ((*window).*command)->trigger();
        EXPECT_TRUE(Saved()) << ((*window).*command)->objectName().toStdString();
        EXPECT_EQ(unloads, 1);
        EXPECT_FALSE(tray.shown);
    }
}

// Nobody may be there to answer: a desktop's request to end ends even when the save fails,
// with the table in a rescue copy.
TEST_F(MainTrayTest, DesktopRequestToEndEndsWithoutAskingEvenWhenTheSaveFails) {
    StartupTick();
    store.fail_next_commit = "disk full";
    window->EndOnRequest();
    EXPECT_EQ(unloads, 1);
    EXPECT_FALSE(tray.shown);
    EXPECT_TRUE(asker.messages.empty());
    ASSERT_EQ(store.rescues.size(), 1u);
    EXPECT_EQ(store.rescues[0].count("events/eventcount"), 1u);
}

TEST_F(MainTrayTest, WithoutANotificationAreaHideIsOffAndSaysWhy) {
    tray.available = false;
    StartupTick();
    EXPECT_FALSE(window->HideButton->isEnabled());
    EXPECT_FALSE(window->HideButton->toolTip().isEmpty());
    // A panel that starts after Pesterly docks the icon: Hide comes on without a focus change,
    // and goes off again when the panel quits.
    tray.SetAvailable(true);
    EXPECT_TRUE(window->HideButton->isEnabled());
    tray.SetAvailable(false);
    EXPECT_FALSE(window->HideButton->isEnabled());
    tray.available = true;
    QEvent activation(QEvent::ActivationChange);
    QApplication::sendEvent(window.get(), &activation);
    EXPECT_TRUE(window->HideButton->isEnabled());
}

// The window opens at 10:00 on these one-time events, last reviewed yesterday unless told.
class MainScheduleTest : public ::testing::Test, protected testing::MainWindowHarness {
  protected:
    std::unique_ptr<PesterlyMain> Open(const std::vector<std::string>& descs,
                                       DateValue date = kToday) {
        return MainWindowHarness::Open(descs, date, kToday.AddDays(-1));
    }
    int64_t SecondsToWakeUp() const { return wakeup.deadline->Seconds() - clock.Now().Seconds(); }
};

TEST_F(MainScheduleTest, LateStartReviewsOnceAtTheFirstTick) {
    asker.Script({Answer::kYes});
    Seed({Event("Dentist", kToday), Event("Later", kToday.AddDays(2))}, {}, kToday.AddDays(-1));
    auto window = OpenWindow();
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
    auto window = Open({"Dentist"});
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
    auto window = Open({"Dentist"});
    wakeup.Fire();
    EXPECT_EQ(db.CheckDate, kToday.AddDays(1));
    clock.Set(DateValue::Compose(2026, 12, 7, 9, 0, 0));
    wakeup.Fire();
    EXPECT_EQ(asker.questions.size(), 1u);
}

TEST_F(MainScheduleTest, ReviewShowsTheGridInSlotOrderAgain) {
    auto window = Open({"b", "a", "c"}, kToday.AddDays(5));
    window->FGrid->SortGeneric(kColToBeDone);
    ASSERT_EQ(window->FGrid->CellText(1, kColToBeDone), "a");
    wakeup.Fire();
    EXPECT_TRUE(asker.questions.empty());
    EXPECT_EQ(window->FGrid->CellText(1, kColToBeDone), "b");
    EXPECT_EQ(window->FGrid->CellText(3, kColSlot), " 2");
}

}  // namespace
}  // namespace pesterly
