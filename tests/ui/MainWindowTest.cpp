#include "ui/main/PesterlyMain.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>

#include "MainWindowHarness.h"
#include "support/QtPrinters.h"
#include "ui/dialogs/DialogDriver.h"
#include "ui/main/FlexGrid.h"
#include "ui/main/RowFormat.h"

namespace pesterly {
namespace {

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

}  // namespace
}  // namespace pesterly
