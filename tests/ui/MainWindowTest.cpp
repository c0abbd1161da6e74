#include "ui/main/PesterlyMain.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QHeaderView>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTranslator>

#include "MainWindowHarness.h"
#include "platform/mail/Outbox.h"
#include "support/FakeMailPost.h"
#include "ui/Language.h"
#include "ui/main/ChangeSaver.h"

// The main window: its rows and layout, saving, the tray icon and the daily review's schedule.
namespace pesterly {
namespace {

using namespace Qt::StringLiterals;

const DateValue kToday = DateValue::Compose(2026, 12, 6);

class MainWindowTest : public ::testing::Test, protected testing::MainWindowHarness {};

TEST_F(MainWindowTest, RowsShowEachRepeatRuleAsWritten) {
    const DateValue pi_day = DateValue::Compose(2001, 3, 14);
    Happening once = Event("Dentist", pi_day);
    once.Category = 2;
    once.SendMail = true;
    once.SpecialEmail = "me@example.org";
    Seed({once, Event("Birthday", pi_day, kRepeatYearly),
          Event("Rent", DateValue::Compose(2001, 3, 22), kRepeatMonthly),
          Event("Bins", pi_day, kRepeatWeekly), Event("Pills", pi_day, kRepeatDaily),
          Event("Odd", pi_day, 7)},
         {"Family", "Work"});
    auto window = OpenWindow();
    const FlexGrid& grid = *window->FGrid;
    ASSERT_EQ(grid.Rows(), 7);
    const QStringList want[] = {
        {u"Work"_s, u"Yes"_s, u"One Time "_s, u"Mar 14,2001"_s, u"me@example.org"_s, u"Dentist"_s,
         u" 0"_s},
        {u""_s, u"No"_s, u"Yearly"_s, u"Mar 14"_s, u""_s, u"Birthday"_s, u" 1"_s},
        {u""_s, u"No"_s, u"Monthly"_s, u"on the 22nd"_s, u""_s, u"Rent"_s, u" 2"_s},
        {u""_s, u"No"_s, u"Weekly"_s, u"Wednesday"_s, u""_s, u"Bins"_s, u" 3"_s},
        {u""_s, u"No"_s, u"Daily"_s, u" "_s, u""_s, u"Pills"_s, u" 4"_s},
        {u""_s, u"No"_s, u""_s, u""_s, u""_s, u"Odd"_s, u" 5"_s},
    };
    for (int r = 0; r < 6; ++r) {
        for (int c = 0; c < kGridColumns; ++c) {
            EXPECT_EQ(grid.CellText(r + 1, c), want[r][c]) << "row " << r << " col " << c;
        }
    }
    // The form is tidy, the headers show whole, and the columns fit without scrolling, also
    // when the window grows and the grid takes the room.
    window->show();
    testing::ExpectAccessibleForm(*window);
    for (const int wider : {0, 200}) {
        const QSize grid_before = grid.size();
        window->resize(window->size() + QSize(wider, wider));
        QApplication::processEvents();
        EXPECT_EQ(grid.size(), grid_before + QSize(wider, wider));
        testing::ExpectTidyForm(*window->centralWidget(), false);
        int total = 0;
        for (int col = 0; col < kGridColumns; ++col) {
            total += grid.columnWidth(col);
            EXPECT_GE(
                grid.columnWidth(col),
                grid.horizontalHeader()->fontMetrics().horizontalAdvance(grid.CellText(0, col)))
                << col;
        }
        EXPECT_LE(total, grid.viewport()->width());
    }
}

// Every caption of the window, its menus and the grid's own words, by where each stands; no two
// items of a menu share a mnemonic.
QMap<QString, QString> Captions(const PesterlyMain& window) {
    QMap<QString, QString> shown;
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        const auto* button = qobject_cast<const QAbstractButton*>(w);
        shown[w->objectName() + u".text"_s] = button ? button->text() : QString();
        shown[w->objectName() + u".name"_s] = w->accessibleName();
        shown[w->objectName() + u".tip"_s] = w->toolTip() + w->accessibleDescription();
    }
    for (const QMenu* menu : window.findChildren<QMenu*>()) {
        shown[u"menu "_s + menu->actions().value(0)->objectName()] = menu->title();
        QStringList keys;
        for (const QAction* action : menu->actions()) {
            shown[action->objectName()] = action->text();
            keys << action->text().section(u'&', 1).left(1).toLower();
        }
        keys.removeAll(QString());
        EXPECT_EQ(keys.removeDuplicates(), 0) << menu->title().toStdString();
    }
    for (int row = 0; row < window.FGrid->Rows(); ++row) {
        for (const int col : {kColEmailList, kColRepeat, kColDate}) {
            shown[u"cell %1,%2"_s.arg(row).arg(col)] = window.FGrid->CellText(row, col);
        }
    }
    shown.removeIf([](const auto& entry) { return entry.value().trimmed().isEmpty(); });
    return shown;
}

// The texts follow the first of the desktop's languages that Pesterly speaks; where it speaks
// none of them, every caption is the English one as written. No English caption is left in a
// German window, Qt's own buttons included, and every date is in German form.
TEST_F(MainWindowTest, SpeaksTheDesktopsLanguageOrEnglishAsWritten) {
    const DateValue pi_day = DateValue::Compose(2001, 3, 14);
    Seed({Event("Dentist", pi_day), Event("Birthday", pi_day, kRepeatYearly),
          Event("Rent", DateValue::Compose(2001, 3, 22), kRepeatMonthly),
          Event("Bins", pi_day, kRepeatWeekly), Event("Pills", pi_day, kRepeatDaily)});
    const QMap<QString, QString> english = Captions(*OpenWindow());
    for (const char* other : {"C", "en_GB", "fr_FR"}) {
        EXPECT_FALSE(UseUserLanguage(*qApp, QLocale(QString::fromLatin1(other)))) << other;
        EXPECT_EQ(Captions(*OpenWindow()), english) << other;
    }
    ASSERT_TRUE(UseUserLanguage(*qApp, QLocale(u"de_DE"_s)));
    QLocale::setDefault(QLocale(u"de_DE"_s));
    const QMap<QString, QString> german = Captions(*OpenWindow());
    QMessageBox box(QMessageBox::NoIcon, {}, {}, QMessageBox::Yes | QMessageBox::Cancel);
    const QString yes = box.button(QMessageBox::Yes)->text();
    for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(german.keys(), english.keys());
    for (const auto& [where, text] : english.asKeyValueRange()) {
        if (text != u"Pesterly"_s && text != u"Test"_s) {
            EXPECT_NE(german.value(where), text) << where.toStdString();
        }
    }
    EXPECT_EQ(yes, u"&Ja"_s);
    EXPECT_EQ(german.value(u"cell 1,3"_s), u"14. März 2001"_s);
    EXPECT_EQ(german.value(u"cell 3,3"_s), u"am 22."_s);
}

// The command line is echoed as typed, a count that cannot be read is told of and does not hide
// the events, and a failed save keeps the window open and says so.
TEST_F(MainWindowTest, EchoesTheCommandLineTellsOfADamagedCountAndAFailedSaveKeepsTheWindowOpen) {
    Seed({Event("x", DateValue()), Event("y", DateValue())});
    store.SaveSetting("Events", "EventCount", "2,0");
    auto window = OpenWindow({u"--hello"_s, u"two words"_s, u""_s});
    EXPECT_EQ(window->FGrid->Rows(), 3);
    store.fail_next_commit = "Pesterly could not write its settings file.";
    EXPECT_FALSE(window->close());
    EXPECT_THAT(asker.messages, ::testing::ElementsAre("--hello \"two words\" \"\"",
                                                       ::testing::HasSubstr("as \"2,0\""),
                                                       ::testing::HasSubstr("could not write")));
    EXPECT_TRUE(window->close());
}

// Changes are written while the program runs, a burst of them at once. A write that fails is told
// once, however many changes follow it; later changes keep trying.
TEST_F(MainWindowTest, ChangesAreSavedWithinASecondAndAFailedSaveIsToldOnce) {
    Seed({Event("a", kToday), Event("b", kToday), Event("c", kToday), Event("d", kToday)});
    auto window = OpenWindow();
    int commits = store.commits;
    const auto delete_first = [&] {
        window->FGrid->SetRow(1);
        window->DeleteButton->click();
    };
    delete_first();
    delete_first();
    ASSERT_TRUE(QTest::qWaitFor([&] { return store.commits > commits; }, 1000));
    EXPECT_EQ(store.GetSetting("Events", "EventCount", ""), " 2");
    QTest::qWait(2 * ChangeSaver::kDelayMs);
    EXPECT_EQ(store.commits, ++commits) << "two deletes, one write";
    for (int failing = 0; failing < 2; ++failing) {
        store.fail_next_commit = "disk full";
        delete_first();
        ASSERT_TRUE(QTest::qWaitFor([&] { return store.fail_next_commit.empty(); }, 1000));
    }
    EXPECT_THAT(asker.messages, ::testing::ElementsAre(::testing::StartsWith("disk full")));
}

class MainTrayTest : public ::testing::Test, protected testing::MainWindowHarness {
  protected:
    void SetUp() override {
        window = OpenWindow();
        QObject::connect(window.get(), &PesterlyMain::Unloaded, [this] { ++unloads; });
        window->show();
    }
    void StartupTick() { ASSERT_TRUE(QMetaObject::invokeMethod(window->StartupTimer, "timeout")); }

    std::unique_ptr<PesterlyMain> window;
    int unloads = 0;
};

// File > Exit saves what the user changed today (the tray's Exit is driven end to end).
TEST_F(MainTrayTest, FileExitSavesFirst) {
    StartupTick();
    db.options.CheckTime = DateValue::TimeOfDay(6, 45, 0);
    window->FileExit->trigger();
    EXPECT_EQ(store.GetSetting("Options", "CheckTime", ""), "6:45:00 AM");
    EXPECT_EQ(unloads, 1);
    EXPECT_FALSE(tray.shown);
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
}

// The icon's tip counts the nag mails waiting to go out.
TEST_F(MainWindowTest, TrayTipCountsTheWaitingNagMails) {
    QTemporaryDir folder;
    Outbox waiting(folder.path(), asker, []() -> std::unique_ptr<MailPost> {
        return std::make_unique<testing::FakeMailPost>(Delivery::TryLater("the server is down"));
    });
    outbox = &waiting;
    auto window = OpenWindow();
    for (const char* tip : {"Pesterly: 1 nag mail waiting", "Pesterly: 2 nag mails waiting"}) {
        ASSERT_TRUE(waiting.Send({"Rent", "Rent", "", "a@x.org", {"a@x.org"}}));
        EXPECT_EQ(tray.tip, QString::fromUtf8(tip));
    }
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

// Each row's tip says on which day the review will ask about its event.
TEST_F(MainScheduleTest, LateStartReviewsOnceAtTheFirstTick) {
    asker.Script({Answer::kYes, Answer::kCancel});
    Seed({Event("Dentist", kToday), Event("Later", kToday.AddDays(2)), Event("Call", kToday),
          Event("Odd", kToday, 7)},
         {}, kToday.AddDays(-1));
    auto window = OpenWindow();
    const auto tip_names = [&window](int row, int day) {
        const QString tip = window->FGrid->item(row - 1, kColDate)->toolTip();
        return tip.contains(QLocale().toString(QDate(2026, 12, day), QLocale::LongFormat));
    };
    EXPECT_TRUE(asker.questions.empty());  // nothing is asked while loading
    EXPECT_TRUE(tip_names(1, 6)) << "today's review will ask";
    ASSERT_TRUE(wakeup.deadline);
    EXPECT_LE(SecondsToWakeUp(), 1);

    wakeup.Fire();
    EXPECT_EQ(asker.questions, (std::vector<std::string>{"Dentist", "Call"}));
    EXPECT_EQ(db.options.CheckDate, kToday);
    ASSERT_EQ(window->FGrid->Rows(), 4);
    EXPECT_EQ(window->FGrid->CellText(1, kColToBeDone), u"Later"_s);
    EXPECT_TRUE(tip_names(1, 8));
    EXPECT_TRUE(tip_names(2, 7)) << "put off to tomorrow's review";
    EXPECT_EQ(window->FGrid->item(2, kColDate)->toolTip(), u"Never asked about"_s);
    EXPECT_TRUE(wakeup.deadline);

    clock.Set(DateValue::Compose(2026, 12, 6, 11, 0, 0));
    wakeup.Fire();
    EXPECT_EQ(asker.questions.size(), 2u);
}

TEST_F(MainScheduleTest, NoReviewWhileADialogIsOpen) {
    auto window = Open({"Dentist"});
    QDialog editor;
    editor.setModal(true);
    editor.show();
    wakeup.Fire();
    EXPECT_TRUE(asker.questions.empty());
    EXPECT_EQ(db.options.CheckDate, kToday.AddDays(-1));
    EXPECT_EQ(SecondsToWakeUp(), 1);  // looks again a second later
    editor.close();
    wakeup.Fire();
    EXPECT_EQ(asker.questions.size(), 1u);
}

// A review that starts with the window hidden or behind others is announced on the desktop,
// naming the first few due events, until it ends; one in front of the user is not.
TEST_F(MainScheduleTest, ReviewOutOfSightIsAnnouncedUntilItEnds) {
    int asked_while_shown = 0;
    asker.on_question = [&](const std::string&) { asked_while_shown += notifier.shown; };
    auto window = Open({"  Cat\nfood ", "Rent", "Bins", "Pills", "Tax"});
    wakeup.Fire();
    EXPECT_EQ(notifier.body, u"Cat food\nRent\nBins\nand 2 more"_s);
    EXPECT_FALSE(notifier.shown);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    db.options.CheckDate = kToday.AddDays(-1);
    wakeup.Fire();
    EXPECT_EQ(asker.questions.size(), 10u);
    EXPECT_EQ(asked_while_shown, 5) << "the window is in front";
}

TEST_F(MainScheduleTest, ReviewEndingAfterMidnightCountsForTheNewDay) {
    asker.on_question = [&](const std::string&) {
        clock.Set(DateValue::Compose(2026, 12, 7, 0, 10, 0));
    };
    auto window = Open({"Dentist"});
    wakeup.Fire();
    EXPECT_EQ(db.options.CheckDate, kToday.AddDays(1));
    clock.Set(DateValue::Compose(2026, 12, 7, 9, 0, 0));
    wakeup.Fire();
    EXPECT_EQ(asker.questions.size(), 1u);
}

}  // namespace
}  // namespace pesterly
