#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "MainWindowHarness.h"
#include "exchange/ExchangeFile.h"
#include "support/QtPrinters.h"
#include "ui/main/FlexGrid.h"
#include "ui/main/RowFormat.h"

namespace pesterly {
namespace {

class MainExchangeTest : public ::testing::Test, protected testing::MainWindowHarness {
  protected:
    std::unique_ptr<PesterlyMain> Open(int count) {
        std::vector<Happening> events;
        for (int slot = 0; slot < count; ++slot) {
            events.push_back(
                Event("event " + std::to_string(slot), DateValue::Compose(2001, 3, 14)));
            events.back().EmailBody = "line 1\nline 2";
        }
        Seed(events);
        return OpenWindow();
    }
    std::vector<std::string> Exported(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const auto parsed = ParseExchangeFile(file.readAll().toStdString());
        std::vector<std::string> descs;
        for (const Happening& h : std::get<std::vector<Happening>>(parsed)) {
            descs.push_back(h.Desc);
        }
        return descs;
    }
    QString Write(const char* name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    QTemporaryDir dir;
};

TEST_F(MainExchangeTest, ExportsTheSelectedRowsInGridOrderWhicheverWayTheyWereSelected) {
    auto window = Open(6);
    FlexGrid& grid = *window->FGrid;
    grid.SortGeneric(kColSlot);
    grid.sortItems(kColSlot, Qt::DescendingOrder);  // rows now show slots 5, 4, 3, 2, 1, 0
    const QString path = dir.filePath("some.Pesterly");
    for (const auto& [current, other] : {std::pair{5, 2}, std::pair{2, 5}}) {
        grid.clearSelection();
        grid.SetRow(other);
        grid.setRangeSelected(QTableWidgetSelectionRange(1, 0, 4, kGridColumns - 1), true);
        grid.setCurrentCell(current - 1, 0, QItemSelectionModel::NoUpdate);
        ASSERT_EQ(grid.RowSel(), other);
        window->ExportTo(path);
        EXPECT_EQ(Exported(path),
                  (std::vector<std::string>{"event 4", "event 3", "event 2", "event 1"}));
    }
    EXPECT_TRUE(asker.messages.empty());
}

TEST_F(MainExchangeTest, ImportingAnExportIntoTheSameTableAddsNothing) {
    auto window = Open(3);
    window->FGrid->SetRow(1);
    window->FGrid->setRangeSelected(QTableWidgetSelectionRange(0, 0, 2, 6), true);
    window->FGrid->setCurrentCell(0, 0, QItemSelectionModel::NoUpdate);
    const QString path = dir.filePath("all.Pesterly");
    window->ExportTo(path);
    window->ReadFile(path);
    EXPECT_EQ(db.HappeningCount, 3);
    EXPECT_EQ(window->FGrid->Rows(), 4);
}

TEST_F(MainExchangeTest, ImportAppendsNewEventsWithTheirRows) {
    auto window = Open(1);
    const QString path = Write(
        "new.Pesterly",
        "2\r\n"
        "#2001-03-14#,1,\"Mother's birthday\",#2000-03-14#,#TRUE#,\"\",3,\"Buy a present.\"\r\n"
        "#2001-04-02#,0,\"event 0\",#2000-03-28#,#FALSE#,\" \",0,\"\"\r\n");
    window->ReadFile(path);
    ASSERT_EQ(db.HappeningCount, 2);
    EXPECT_EQ(db.Happenings[1].Desc, "Mother's birthday");
    EXPECT_FALSE(db.Happenings[1].UseNagList);
    ASSERT_EQ(window->FGrid->Rows(), 3);
    EXPECT_EQ(window->FGrid->CellText(2, kColToBeDone), "Mother's birthday");
    EXPECT_EQ(window->FGrid->CellText(2, kColSlot), " 1");
    EXPECT_TRUE(asker.messages.empty());
}

TEST_F(MainExchangeTest, DamagedOrMissingFilesChangeNothingAndSayWhy) {
    auto window = Open(2);
    const QString path = Write("broken.Pesterly",
                               "3\r\n"
                               "#2001-03-14#,1,\"new one\",#2000-03-14#,#TRUE#,\"\",3,\"x\"\r\n"
                               "#2001-03-14#,1,\"another\",#2000-03-14#,#MAYBE#,\"\",3,\"x\"\r\n");
    window->ReadFile(path);
    EXPECT_EQ(db.HappeningCount, 2);
    EXPECT_EQ(window->FGrid->Rows(), 3);
    ASSERT_EQ(asker.messages.size(), 1u);
    EXPECT_NE(asker.messages[0].find("line 3"), std::string::npos) << asker.messages[0];

    window->ReadFile(dir.filePath("no such file.Pesterly"));
    ASSERT_EQ(asker.messages.size(), 2u);
    EXPECT_NE(asker.messages[1].find("no such file"), std::string::npos);

    window->FGrid->SetRow(1);
    window->ExportTo(dir.filePath("missing folder/out.Pesterly"));
    ASSERT_EQ(asker.messages.size(), 3u);
    EXPECT_NE(asker.messages[2].find("could not create"), std::string::npos);
}

TEST_F(MainExchangeTest, FullTableTakesWhatFitsAndSaysHowManyWereLeftOut) {
    auto window = Open(100);
    std::vector<Happening> incoming(3);
    for (int i = 0; i < 3; ++i) {
        incoming[i].Desc = "incoming " + std::to_string(i);
    }
    window->ReadFile(
        Write("three.Pesterly", QByteArray::fromStdString(WriteExchangeFile(incoming))));
    EXPECT_EQ(db.HappeningCount, Database::kSlots);
    EXPECT_EQ(window->FGrid->Rows(), Database::kSlots + 1);
    ASSERT_EQ(asker.messages.size(), 1u);
    EXPECT_NE(asker.messages[0].find("2 new events"), std::string::npos) << asker.messages[0];
}

}  // namespace
}  // namespace pesterly
