#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "MainWindowHarness.h"
#include "support/QtPrinters.h"
#include "ui/dialogs/EditHappening.h"
#include "ui/main/FlexGrid.h"
#include "ui/main/RowFormat.h"

namespace pesterly {
namespace {

const DateValue kToday = DateValue::Compose(2026, 12, 6);

class MainCommandsTest : public ::testing::Test, protected testing::MainWindowHarness {
  protected:
    // Opens the main window on a store holding events with these descriptions, in slot order.
    std::unique_ptr<PesterlyMain> Open(const std::vector<std::string>& descs) {
        std::vector<Happening> events;
        for (const std::string& desc : descs) {
            events.push_back(Event(desc, DateValue::Compose(2027, 1, 5)));
        }
        Seed(events);
        return OpenWindow();
    }
    // Answers the event editor when it opens: types `desc` unless null, then OK or Cancel.
    void WhenEditorOpens(const char* desc, bool ok) {
        QTimer::singleShot(0, [=, this] {
            auto* editor = qobject_cast<EditHappening*>(QApplication::activeModalWidget());
            if ((editor_seen = editor != nullptr)) {
                opened = editor->DescText->text();
                desc ? editor->DescText->setText(desc) : void();
                (ok ? editor->OKButton : editor->CancelButton)->click();
            }
        });
    }
    static QStringList Column(const FlexGrid& grid, int col) {
        QStringList texts;
        for (int row = 1; row < grid.Rows(); ++row) {
            texts << grid.CellText(row, col);
        }
        return texts;
    }
    static void ClickHeader(const FlexGrid& grid, int col) {
        QHeaderView* header = grid.horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(col) + 5, 5));
    }

    bool editor_seen = false;
    QString opened;
};

TEST_F(MainCommandsTest, AddNewEventAppendsTheDefaultEventAndEditsItsRow) {
    auto window = Open({});
    db.Happenings[0].Category = 3;  // a leftover in the never-live slot must not leak in
    db.Happenings[0].UseNagList = true;
    WhenEditorOpens(nullptr, false);
    window->AddNewButton->click();
    EXPECT_TRUE(editor_seen);
    ASSERT_EQ(db.HappeningCount, 1);
    Happening want = Event("?", kToday);
    want.DoneDate = kToday.AddDays(-370);
    EXPECT_EQ(db.Happenings[0], want) << "Cancel keeps the new event";
    EXPECT_EQ(window->FGrid->Rows(), 2);
    EXPECT_EQ(window->FGrid->CellText(1, kColRepeat), "One Time ");

    window.reset();
    window = Open({"b", "c", "a"});
    window->FGrid->SortGeneric(kColToBeDone);
    WhenEditorOpens("new one", true);
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
    FlexGrid& grid = *window->FGrid;
    grid.SortGeneric(kColToBeDone);  // apple, mango, zebra
    const auto double_click = [&grid](int row) {
        const QPoint cell = grid.visualRect(grid.model()->index(row - 1, kColToBeDone)).center();
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell);
    };
    WhenEditorOpens("mango, ripe", true);
    double_click(2);
    EXPECT_EQ(opened, "mango");
    EXPECT_EQ(db.Happenings[2].Desc, "mango, ripe");
    EXPECT_EQ(db.Happenings[0].Desc, "zebra");
    EXPECT_EQ(Column(grid, kColToBeDone), QStringList({"apple", "mango, ripe", "zebra"}));

    WhenEditorOpens("discarded", false);
    double_click(1);
    EXPECT_EQ(db.Happenings[1].Desc, "apple");
}

TEST_F(MainCommandsTest, DeleteMovesLaterEventsDownRefusesSeveralRowsAndIgnoresNoRow) {
    auto window = Open({"a", "b", "c"});
    FlexGrid& grid = *window->FGrid;
    window->DeleteButton->click();  // no current row
    EXPECT_EQ(db.HappeningCount, 3);
    grid.SortGeneric(kColSlot);
    grid.SetRow(3);
    window->DeleteButton->click();
    EXPECT_EQ(Column(grid, kColToBeDone), QStringList({"a", "b"}));
    grid.SetRow(1);
    window->DeleteButton->click();
    EXPECT_EQ(db.HappeningCount, 1);
    EXPECT_EQ(db.Happenings[0].Desc, "b");
    EXPECT_EQ(Column(grid, kColSlot), QStringList({" 0"}));
    EXPECT_TRUE(asker.messages.empty());

    window.reset();
    window = Open({"a", "b", "c", "d", "e"});
    window->FGrid->SetRow(2);
    window->FGrid->setRangeSelected(QTableWidgetSelectionRange(1, 0, 3, kGridColumns - 1), true);
    window->DeleteButton->click();
    EXPECT_EQ(asker.messages.size(), 1u);
    EXPECT_EQ(db.HappeningCount, 5);
    EXPECT_EQ(window->FGrid->Rows(), 6);
}

TEST_F(MainCommandsTest, HeaderClickSortsTextAsTextAndSlotsAsNumbers) {
    auto window = Open({});
    ClickHeader(*window->FGrid, kColToBeDone);  // an empty grid: nothing to sort
    EXPECT_EQ(window->FGrid->Rows(), 1);
    EXPECT_EQ(window->FGrid->Row(), 0);

    std::vector<std::string> names;
    for (int i = 0; i < 12; ++i) {
        names.push_back("event " + std::to_string(11 - i));
    }
    window.reset();
    window = Open(names);
    const FlexGrid& grid = *window->FGrid;
    ClickHeader(grid, kColToBeDone);
    EXPECT_EQ(Column(grid, kColToBeDone).mid(0, 3),
              QStringList({"event 0", "event 1", "event 10"}));
    EXPECT_EQ(grid.Row(), 1);
    ClickHeader(grid, kColSlot);
    EXPECT_EQ(Column(grid, kColSlot).mid(9), QStringList({" 9", " 10", " 11"}));
}

}  // namespace
}  // namespace pesterly
