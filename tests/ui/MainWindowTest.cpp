#include "ui/main/PesterlyMain.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>

#include "MainWindowHarness.h"
#include "support/FakeClock.h"
#include "support/MemorySettingsStore.h"
#include "support/QtPrinters.h"
#include "support/RecordingNagMailer.h"
#include "support/ScriptedAsker.h"
#include "ui/main/FlexGrid.h"
#include "ui/main/RowFormat.h"

namespace pesterly {
namespace {

using testing::FakeClock;
using testing::MemorySettingsStore;
using testing::RecordingNagMailer;
using testing::ScriptedAsker;

class MainWindowTest : public ::testing::Test, protected testing::MainWindowHarness {
  protected:
    MainWindowTest() { clock.Set(DateValue::Compose(2026, 12, 6, 7, 30, 0)); }

    std::unique_ptr<PesterlyMain> Open(const QStringList& arguments = {}) {
        return OpenWindow(arguments);
    }
};

TEST_F(MainWindowTest, FirstStartShowsHeaderOnlyAndSavesDefaultsOnClose) {
    auto window = Open();
    EXPECT_EQ(window->FGrid->Rows(), 1);
    EXPECT_EQ(window->FGrid->CellText(0, 0), "Category");
    EXPECT_EQ(window->FGrid->CellText(0, 1), "Email List?");
    EXPECT_EQ(window->FGrid->CellText(0, 5), "To Be Done");
    EXPECT_EQ(window->FGrid->CellText(0, 6), "");
    EXPECT_TRUE(asker.messages.empty());
    EXPECT_EQ(window->windowTitle(), "Pesterly");

    bool unloaded = false;
    QObject::connect(window.get(), &PesterlyMain::Unloaded, [&] { unloaded = true; });
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(unloaded);
    EXPECT_EQ(store.GetSetting("Options", "CheckTime", ""), "8:00:00 AM");
    EXPECT_EQ(store.GetSetting("Options", "CheckDate", ""), "12/6/2026");
    EXPECT_EQ(store.GetSetting("Events", "EventCount", ""), " 0");
}

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

    auto window = Open();
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

TEST(RowFormat, MonthlyDatesCarryTheirOrdinal) {
    Database db;
    db.HappeningCount = 1;
    db.Happenings[0].Repeat = kRepeatMonthly;
    const std::pair<int, const char*> days[] = {
        {1, "on the 1st"},   {2, "on the 2nd"},   {3, "on the 3rd"},   {4, "on the 4th"},
        {11, "on the 11th"}, {12, "on the 12th"}, {13, "on the 13th"}, {21, "on the 21st"},
        {22, "on the 22nd"}, {23, "on the 23rd"}, {30, "on the 30th"}, {31, "on the 31st"},
    };
    for (const auto& [day, text] : days) {
        db.Happenings[0].EventDate = DateValue::Compose(2001, 1, day);
        EXPECT_EQ(*FormatRow(db, 0, QLocale())[kColDate], text);
    }
}

TEST(RowFormat, NamesFollowTheUsersLocale) {
    Database db;
    db.HappeningCount = 1;
    db.Happenings[0].EventDate = DateValue::Compose(2001, 3, 14);
    const QLocale german(QLocale::German, QLocale::Germany);
    db.Happenings[0].Repeat = kRepeatWeekly;
    EXPECT_EQ(*FormatRow(db, 0, german)[kColDate], "Mittwoch");
    db.Happenings[0].Repeat = kRepeatOneTime;
    EXPECT_EQ(*FormatRow(db, 0, german)[kColDate],
              german.monthName(3, QLocale::ShortFormat) + " 14,2001");
    db.Happenings[0].Repeat = 9;
    EXPECT_FALSE(FormatRow(db, 0, german)[kColRepeat].has_value());
    EXPECT_FALSE(FormatRow(db, 0, german)[kColDate].has_value());
}

TEST_F(MainWindowTest, CommandLineIsEchoedBeforeTheTableLoads) {
    Seed({Event("x", DateValue())});
    auto window = Open({"--hello", "two words", ""});
    ASSERT_EQ(asker.messages.size(), 1u);
    EXPECT_EQ(asker.messages[0], "--hello \"two words\" \"\"");
    EXPECT_EQ(window->FGrid->Rows(), 2);
}

TEST_F(MainWindowTest, FailedSaveKeepsTheWindowOpenAndSays) {
    auto window = Open();
    store.fail_next_commit = "Pesterly could not write its settings file.";
    EXPECT_FALSE(window->close());
    ASSERT_EQ(asker.messages.size(), 1u);
    EXPECT_NE(asker.messages[0].find("could not write"), std::string::npos);
    EXPECT_TRUE(window->close());
}

TEST_F(MainWindowTest, LayoutKeepsDesignProportionsAndShowsCaptionsWhole) {
    auto window = Open();
    const QWidget* client = window->centralWidget();
    const double px_per_twip = client->width() / 10095.0;
    EXPECT_NEAR(client->height() / px_per_twip, 4530, 20);
    const FlexGrid& grid = *window->FGrid;
    // Headers show whole, and the columns fit beside a vertical scroll bar.
    int total = 0;
    for (int col = 0; col < kGridColumns; ++col) {
        total += grid.columnWidth(col);
        EXPECT_GE(grid.columnWidth(col),
                  grid.horizontalHeader()->fontMetrics().horizontalAdvance(grid.CellText(0, col)))
            << col;
    }
    EXPECT_LE(total, grid.width() - grid.verticalScrollBar()->sizeHint().width());
    EXPECT_GT(grid.columnWidth(kColToBeDone), grid.width() / 3);
    for (const QPushButton* button :
         {window->AddNewButton, window->HideButton, window->DeleteButton}) {
        EXPECT_GE(button->width(), button->sizeHint().width())
            << button->objectName().toStdString();
        EXPECT_GE(button->height(), button->minimumSizeHint().height());
        EXPECT_FALSE(button->geometry().intersects(grid.geometry()));
    }
    EXPECT_FALSE(window->AddNewButton->geometry().intersects(window->DeleteButton->geometry()));
    EXPECT_FALSE(window->Command1->isVisible());
}

}  // namespace
}  // namespace pesterly
