#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QTemporaryDir>

#include "MainWindowHarness.h"
#include "exchange/ExchangeFile.h"
#include "ui/dialogs/EditHappening.h"

// The grid's commands: add, edit, delete, sort, export and import.
namespace pesterly {
namespace {

using namespace Qt::StringLiterals;

using ::testing::ElementsAre;
using ::testing::HasSubstr;

const DateValue kToday = DateValue::Compose(2026, 12, 6);

class MainCommandsTest : public ::testing::Test, protected testing::MainWindowHarness {
  protected:
    // Answers the event editor when it opens: types `desc` unless null, then OK or Cancel.
    void WhenEditorOpens(const char* desc, bool ok) {
        QTimer::singleShot(0, [=, this] {
            auto* editor = qobject_cast<EditHappening*>(QApplication::activeModalWidget());
            if ((editor_seen = editor != nullptr)) {
                opened = editor->DescText->text();
                desc ? editor->DescText->setText(QString::fromUtf8(desc)) : void();
                (ok ? editor->OKButton : editor->CancelButton)->click();
            }
        });
    }

    // Opens the window on events "event 0", "event 1" ... in slot order.
    std::unique_ptr<PesterlyMain> OpenNumbered(int count) {
        std::vector<std::string> descs;
        for (int slot = 0; slot < count; ++slot) {
            descs.push_back("event " + std::to_string(slot));
        }
        return Open(descs);
    }
    std::vector<std::string> Exported(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const ParsedExchangeFile parsed = ParseExchangeFile(file.readAll().toStdString());
        std::vector<std::string> descs;
        for (const Happening& h : parsed.value().events) {
            descs.push_back(h.Desc);
        }
        return descs;
    }
    QString Write(const char* name, const QByteArray& bytes) {
        QFile file(dir.filePath(QString::fromUtf8(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    // Answers the next file dialog with this file, in the file type that shows it.
    void WhenFileDialogOpens(const QString& path, const QString& filter) {
        QTimer::singleShot(0, [=] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_TRUE(dialog->nameFilters().contains(filter));
            dialog->selectNameFilter(filter);
            dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept();  // as its Open or Save button
        });
    }

    bool editor_seen = false;
    QString opened;
    QTemporaryDir dir;
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
    EXPECT_EQ(window->FGrid->CellText(1, kColRepeat), u"One Time "_s);

    window.reset();
    window = Open({"b", "c", "a"});
    window->FGrid->SortGeneric(kColToBeDone);
    WhenEditorOpens("new one", true);
    window->AddNewButton->click();
    EXPECT_EQ(Column(*window->FGrid, kColToBeDone),
              QStringList({u"a"_s, u"b"_s, u"c"_s, u"new one"_s}));
    EXPECT_EQ(Column(*window->FGrid, kColSlot), QStringList({u" 2"_s, u" 0"_s, u" 1"_s, u" 3"_s}));
    EXPECT_EQ(db.Happenings[3].Desc, "new one");
}

TEST_F(MainCommandsTest, FullTableRefusesANewEventAndStaysInStep) {
    auto window = OpenNumbered(Database::kSlots);
    window->AddNewButton->click();
    EXPECT_FALSE(editor_seen);
    EXPECT_EQ(db.HappeningCount, Database::kSlots);
    EXPECT_EQ(window->FGrid->Rows(), Database::kSlots + 1);
    EXPECT_THAT(asker.messages, ElementsAre(HasSubstr("101")));
}

TEST_F(MainCommandsTest, HeaderClickSortsTextAsTextAndSlotsAsNumbers) {
    auto window = OpenNumbered(12);
    const FlexGrid& grid = *window->FGrid;
    const auto click_header = [&grid](int col) {
        QHeaderView* header = grid.horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(col) + 5, 5));
    };
    click_header(kColToBeDone);
    EXPECT_EQ(Column(grid, kColToBeDone).mid(0, 3),
              QStringList({u"event 0"_s, u"event 1"_s, u"event 10"_s}));
    EXPECT_EQ(grid.Row(), 1);
    click_header(kColSlot);
    EXPECT_EQ(Column(grid, kColSlot).mid(9), QStringList({u" 9"_s, u" 10"_s, u" 11"_s}));
}

TEST_F(MainCommandsTest, DoubleClickOrEnterOpensTheEventShownInTheRowOfASortedGrid) {
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
    EXPECT_EQ(opened, u"mango"_s);
    EXPECT_EQ(db.Happenings[2].Desc, "mango, ripe");
    EXPECT_EQ(db.Happenings[0].Desc, "zebra");
    EXPECT_EQ(Column(grid, kColToBeDone), QStringList({u"apple"_s, u"mango, ripe"_s, u"zebra"_s}));

    WhenEditorOpens("discarded", false);
    double_click(1);
    EXPECT_EQ(db.Happenings[1].Desc, "apple");

    // From the keyboard: Enter opens the current row, and the Delete key deletes it.
    window->show();
    QApplication::setActiveWindow(window.get());
    grid.setFocus();
    grid.SetRow(3);
    WhenEditorOpens(nullptr, false);
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_EQ(opened, u"zebra"_s);
    QApplication::setActiveWindow(window.get());
    QTest::keyClick(&grid, Qt::Key_Delete);
    EXPECT_EQ(Column(grid, kColToBeDone), QStringList({u"apple"_s, u"mango, ripe"_s}));
    EXPECT_EQ(db.HappeningCount, 2);
}

TEST_F(MainCommandsTest, DeleteMovesLaterEventsDown) {
    auto window = Open({"a", "b", "c"});
    FlexGrid& grid = *window->FGrid;
    grid.SetRow(1);
    window->DeleteButton->click();
    EXPECT_EQ(db.HappeningCount, 2);
    EXPECT_EQ(db.Happenings[0].Desc, "b");
    EXPECT_EQ(Column(grid, kColToBeDone), QStringList({u"b"_s, u"c"_s}));
    EXPECT_EQ(Column(grid, kColSlot), QStringList({u" 0"_s, u" 1"_s}));
    EXPECT_TRUE(asker.messages.empty());
}

// Export and Delete act on the rows shown selected, in grid order, however the user selected
// them, also when no row has been made current.
TEST_F(MainCommandsTest, ExportAndDeleteActOnTheRowsShownSelected) {
    auto window = OpenNumbered(4);
    FlexGrid& grid = *window->FGrid;
    grid.sortItems(kColSlot, Qt::DescendingOrder);  // rows show slots 3, 2, 1, 0
    const auto click = [&grid](int row, Qt::KeyboardModifiers keys = {}) {
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, keys,
                          grid.visualRect(grid.model()->index(row - 1, 0)).center());
    };
    const QString path = dir.filePath(u"chosen"_s);  // saved as typed, with no extension
    WhenFileDialogOpens(path, QStringLiteral("Pesterly (*.Pesterly)"));
    QTest::keyClick(&grid, Qt::Key_A, Qt::ControlModifier);
    window->MenuExport->trigger();
    EXPECT_EQ(Exported(path),
              (std::vector<std::string>{"event 3", "event 2", "event 1", "event 0"}));
    click(3), click(2, Qt::ShiftModifier);  // upwards
    window->ExportTo(path);
    EXPECT_EQ(Exported(path), (std::vector<std::string>{"event 2", "event 1"}));
    click(2), QTest::keyClick(&grid, Qt::Key_Down, Qt::ShiftModifier);
    window->DeleteButton->click();
    EXPECT_THAT(asker.messages, ElementsAre("I was too lazy to implement multiple event deletes"));
    QTest::keyClick(&grid, Qt::Key_Up);
    window->DeleteButton->click();
    EXPECT_EQ(Column(grid, kColToBeDone), QStringList({u"event 0"_s, u"event 1"_s, u"event 3"_s}));
}

// Import offers files of any name. A known event is skipped; of the new ones, what fits is
// appended with its row. Events beyond those the first line announces are ignored, and the
// one message says so too.
TEST_F(MainCommandsTest, ImportAppendsNewEventsThatFitAndSaysWhatWasLeftOut) {
    auto window = OpenNumbered(100);
    WhenFileDialogOpens(
        Write(
            "from a friend",
            "3\r\n"
            "#2001-04-02#,0,\"event 0\",#2000-03-28#,#FALSE#,\" \",0,\"\"\r\n"
            "#2001-03-14#,1,\"Mother's birthday\",#2000-03-14#,#TRUE#,\"\",3,\"Buy a present.\"\r\n"
            "#2001-03-15#,1,\"Father's birthday\",#2000-03-15#,#TRUE#,\"\",3,\"\"\r\n"
            "#2001-03-16#,1,\"Aunt's birthday\",#2000-03-16#,#TRUE#,\"\",3,\"\"\r\n"),
        QStringLiteral("All files (*)"));
    window->MenuImport->trigger();
    ASSERT_EQ(db.HappeningCount, Database::kSlots);
    EXPECT_EQ(db.Happenings[100].Desc, "Mother's birthday");
    ASSERT_EQ(window->FGrid->Rows(), Database::kSlots + 1);
    EXPECT_EQ(window->FGrid->CellText(101, kColToBeDone), u"Mother's birthday"_s);
    EXPECT_EQ(window->FGrid->CellText(101, kColSlot), u" 100"_s);
    EXPECT_THAT(asker.messages,
                ElementsAre(::testing::AllOf(HasSubstr("from line 5 on, was ignored"),
                                             HasSubstr("1 new event from the file was left"))));
}

TEST_F(MainCommandsTest, DamagedOrMissingFilesChangeNothingAndSayWhy) {
    auto window = OpenNumbered(2);
    const QString path = Write("broken.Pesterly",
                               "3\r\n"
                               "#2001-03-14#,1,\"new one\",#2000-03-14#,#TRUE#,\"\",3,\"x\"\r\n"
                               "#2001-03-14#,1,\"another\",#2000-03-14#,#MAYBE#,\"\",3,\"x\"\r\n");
    window->ReadFile(path);
    EXPECT_EQ(db.HappeningCount, 2);
    EXPECT_EQ(window->FGrid->Rows(), 3);
    window->ReadFile(dir.filePath(u"no such file.Pesterly"_s));
    window->FGrid->SetRow(1);
    window->ExportTo(dir.filePath(u"missing folder/out.Pesterly"_s));
    EXPECT_THAT(asker.messages, ElementsAre(HasSubstr("line 3"), HasSubstr("no such file"),
                                            HasSubstr("could not create")));
}

}  // namespace
}  // namespace pesterly
