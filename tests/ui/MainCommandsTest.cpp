#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "MainWindowHarness.h"
#include "support/FakeClock.h"
#include "support/MemorySettingsStore.h"
#include "support/QtPrinters.h"
#include "support/RecordingNagMailer.h"
#include "support/ScriptedAsker.h"
#include "ui/dialogs/EditHappening.h"
#include "ui/main/FlexGrid.h"
#include "ui/main/PesterlyMain.h"
#include "ui/main/RowFormat.h"

namespace pesterly {
namespace {

using testing::FakeClock;
using testing::MemorySettingsStore;
using testing::RecordingNagMailer;
using testing::ScriptedAsker;

const DateValue kToday = DateValue::Compose(2026, 12, 6);

class MainCommandsTest : public ::testing::Test, protected testing::MainWindowHarness {
  protected:
    MainCommandsTest() { clock.Set(DateValue::Compose(2026, 12, 6, 9, 0, 0)); }

    // Opens the main window on a store holding events with these descriptions, in slot order.
    std::unique_ptr<PesterlyMain> Open(const std::vector<std::string>& descs) {
        std::vector<Happening> events;
        for (const std::string& desc : descs) {
            events.push_back(Event(desc, DateValue::Compose(2027, 1, 5)));
        }
        Seed(events);
        return OpenWindow();
    }
    // Answers the event editor when it opens: `act` runs on it inside its modal loop.
    void WhenEditorOpens(std::function<void(EditHappening&)> act) {
        QTimer::singleShot(0, [act, this] {
            auto* editor = qobject_cast<EditHappening*>(QApplication::activeModalWidget());
            editor_seen = editor != nullptr;
            if (editor != nullptr) {
                act(*editor);
            }
        });
    }
    QStringList Column(const FlexGrid& grid, int col) {
        QStringList texts;
        for (int row = 1; row < grid.Rows(); ++row) {
            texts << grid.CellText(row, col);
        }
        return texts;
    }
    void DoubleClickRow(PesterlyMain& window, int row) {
        FlexGrid& grid = *window.FGrid;
        const QRect cell = grid.visualRect(grid.model()->index(row - 1, kColToBeDone));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    }

    bool editor_seen = false;
};

TEST_F(MainCommandsTest, AddNewEventOnAnEmptyTableKeepsTheDefaultEventWhenCancelled) {
    auto window = Open({});
    db.Happenings[0].Category = 3;  // a leftover in the never-live slot must not leak in
    db.Happenings[0].UseNagList = true;
    WhenEditorOpens([](EditHappening& editor) { editor.CancelButton->click(); });
    window->AddNewButton->click();
    EXPECT_TRUE(editor_seen);
    ASSERT_EQ(db.HappeningCount, 1);
    const Happening& added = db.Happenings[0];
    EXPECT_EQ(added.Desc, "?");
    EXPECT_EQ(added.EventDate, kToday);
    EXPECT_EQ(added.DoneDate, kToday.AddDays(-370));
    EXPECT_EQ(added.Repeat, kRepeatOneTime);
    EXPECT_FALSE(added.SendMail);
    EXPECT_FALSE(added.UseNagList);
    EXPECT_EQ(added.Category, 0);
    EXPECT_EQ(added.SpecialEmail, "");
    ASSERT_EQ(window->FGrid->Rows(), 2);
    EXPECT_EQ(window->FGrid->CellText(1, kColToBeDone), "?");
    EXPECT_EQ(window->FGrid->CellText(1, kColRepeat), "One Time ");
}

TEST_F(MainCommandsTest, AddNewEventAfterSortingAppendsAndEditsTheNewRow) {
    auto window = Open({"b", "c", "a"});
    window->FGrid->SortGeneric(kColToBeDone);
    WhenEditorOpens([](EditHappening& editor) {
        editor.DescText->setText("new one");
        editor.OKButton->click();
    });
    window->AddNewButton->click();
    EXPECT_EQ(Column(*window->FGrid, kColToBeDone), QStringList({"a", "b", "c", "new one"}));
    EXPECT_EQ(Column(*window->FGrid, kColSlot), QStringList({" 2", " 0", " 1", " 3"}));
    EXPECT_EQ(db.Happenings[3].Desc, "new one");
}

TEST_F(MainCommandsTest, FullTableRefusesANewEventAndStaysInStep) {
    auto window = Open({});
    for (int i = 0; i < Database::kSlots; ++i) {
        db.AppendHappening(Happening{});
    }
    window->FGrid->SetRows(Database::kSlots + 1);
    window->AddNewButton->click();
    EXPECT_FALSE(editor_seen);
    EXPECT_EQ(db.HappeningCount, Database::kSlots);
    EXPECT_EQ(window->FGrid->Rows(), Database::kSlots + 1);
    ASSERT_EQ(asker.messages.size(), 1u);
    EXPECT_NE(asker.messages[0].find("101"), std::string::npos);
}

TEST_F(MainCommandsTest, DoubleClickOpensTheEventShownInTheRowOfASortedGrid) {
    auto window = Open({"zebra", "apple", "mango"});
    window->FGrid->SortGeneric(kColToBeDone);  // apple, mango, zebra
    std::string opened;
    WhenEditorOpens([&opened](EditHappening& editor) {
        opened = editor.DescText->text().toStdString();
        editor.DescText->setText("mango, ripe");
        editor.OKButton->click();
    });
    DoubleClickRow(*window, 2);
    EXPECT_EQ(opened, "mango");
    EXPECT_EQ(db.Happenings[2].Desc, "mango, ripe");
    EXPECT_EQ(db.Happenings[0].Desc, "zebra");
    EXPECT_EQ(window->FGrid->CellText(2, kColToBeDone), "mango, ripe");
    EXPECT_EQ(window->FGrid->CellText(1, kColToBeDone), "apple");

    WhenEditorOpens([](EditHappening& editor) {
        editor.DescText->setText("discarded");
        editor.CancelButton->click();
    });
    DoubleClickRow(*window, 1);
    EXPECT_EQ(db.Happenings[1].Desc, "apple");
}

TEST_F(MainCommandsTest, DeleteMovesLaterEventsDownAndShowsSlotOrder) {
    auto window = Open({"a", "b", "c"});
    window->FGrid->SortGeneric(kColSlot);
    window->FGrid->SetRow(3);
    window->DeleteButton->click();
    EXPECT_EQ(db.HappeningCount, 2);
    EXPECT_EQ(Column(*window->FGrid, kColToBeDone), QStringList({"a", "b"}));

    window->FGrid->SetRow(1);
    window->DeleteButton->click();
    EXPECT_EQ(db.Happenings[0].Desc, "b");
    EXPECT_EQ(Column(*window->FGrid, kColSlot), QStringList({" 0"}));
    EXPECT_TRUE(asker.messages.empty());
}

TEST_F(MainCommandsTest, DeleteRefusesSeveralRowsAndIgnoresNoRow) {
    auto window = Open({"a", "b", "c", "d", "e"});
    FlexGrid& grid = *window->FGrid;
    window->DeleteButton->click();  // no current row
    EXPECT_EQ(db.HappeningCount, 5);

    grid.SetRow(2);
    grid.setRangeSelected(QTableWidgetSelectionRange(1, 0, 3, kGridColumns - 1), true);
    window->DeleteButton->click();
    ASSERT_EQ(asker.messages.size(), 1u);
    EXPECT_EQ(asker.messages[0], "I was too lazy to implement multiple event deletes");
    EXPECT_EQ(db.HappeningCount, 5);
    EXPECT_EQ(grid.Rows(), 6);
}

TEST_F(MainCommandsTest, HeaderClickSortsNumbersAsNumbers) {
    std::vector<std::string> names;
    for (int i = 0; i < 12; ++i) {
        names.push_back("event " + std::to_string(11 - i));
    }
    auto window = Open(names);
    FlexGrid& grid = *window->FGrid;
    QHeaderView* header = grid.horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(kColToBeDone) + 5, 5));
    // Text sorts as text: "event 10" before "event 2".
    EXPECT_EQ(grid.CellText(1, kColToBeDone), "event 0");
    EXPECT_EQ(grid.CellText(2, kColToBeDone), "event 1");
    EXPECT_EQ(grid.CellText(3, kColToBeDone), "event 10");
    EXPECT_EQ(grid.Row(), 1);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(kColSlot) + 5, 5));
    // Slots are numbers: 10 comes after 9.
    EXPECT_EQ(grid.CellText(10, kColSlot), " 9");
    EXPECT_EQ(grid.CellText(11, kColSlot), " 10");
    EXPECT_EQ(grid.CellText(12, kColSlot), " 11");
}

TEST_F(MainCommandsTest, HeaderClickOnAnEmptyGridDoesNothing) {
    auto window = Open({});
    QHeaderView* header = window->FGrid->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(window->FGrid->Rows(), 1);
    EXPECT_EQ(window->FGrid->Row(), 0);
}

}  // namespace
}  // namespace pesterly
