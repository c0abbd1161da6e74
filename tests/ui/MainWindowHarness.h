#pragma once

#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "store/Database.h"
#include "store/SettingsLayout.h"
#include "support/FakeClock.h"
#include "support/FakeDesktopNotifier.h"
#include "support/FakeTrayIcon.h"
#include "support/FakeWakeUpSource.h"
#include "support/MemorySettingsStore.h"
#include "support/RecordingNagMailer.h"
#include "support/ScriptedAsker.h"
#include "ui/dialogs/DialogDriver.h"
#include "ui/main/FlexGrid.h"
#include "ui/main/PesterlyMain.h"
#include "ui/main/RowFormat.h"

namespace pesterly::testing {

// Everything the main window works with, faked, and a way to open the window on it.
struct MainWindowHarness {
    std::unique_ptr<PesterlyMain> OpenWindow(const QStringList& arguments = {}) {
        return std::make_unique<PesterlyMain>(
            MainServices{db, store, clock, asker, mailer, tray, wakeup, outbox, &notifier},
            arguments);
    }

    // Opens the window on events with these descriptions on one date, in slot order.
    std::unique_ptr<PesterlyMain> Open(const std::vector<std::string>& descs,
                                       DateValue date = DateValue::Compose(2027, 1, 5),
                                       DateValue check_date = DateValue::Compose(2099, 12, 31)) {
        std::vector<Happening> events;
        for (const std::string& desc : descs) {
            events.push_back(Event(desc, date));
        }
        Seed(events, {}, check_date);
        return OpenWindow();
    }
    static QStringList Column(const FlexGrid& grid, int col) {
        QStringList texts;
        for (int row = 1; row < grid.Rows(); ++row) {
            texts << grid.CellText(row, col);
        }
        return texts;
    }

    // Leaves a table in the store as an earlier run would have; the review date lies far ahead
    // unless the test says otherwise.
    void Seed(const std::vector<Happening>& events, const std::vector<std::string>& categories = {},
              DateValue check_date = DateValue::Compose(2099, 12, 31)) {
        Database earlier;
        for (const Happening& event : events) {
            earlier.AppendHappening(event);
        }
        for (const std::string& name : categories) {
            earlier.AppendCategory(name);
        }
        earlier.options.CheckDate = check_date;
        earlier.options.CheckTime = DateValue::TimeOfDay(8, 0, 0);
        EXPECT_TRUE(SaveSettings(earlier, store));
    }

    static Happening Event(const std::string& desc, DateValue date,
                           int16_t repeat = kRepeatOneTime) {
        Happening event;
        event.Desc = desc;
        event.EventDate = date;
        event.Repeat = repeat;
        return event;
    }

    Database db;
    MemorySettingsStore store;
    FakeClock clock;
    ScriptedAsker asker;
    RecordingNagMailer mailer;
    FakeTrayIcon tray;
    FakeWakeUpSource wakeup;
    Outbox* outbox = nullptr;
    FakeDesktopNotifier notifier;
};

}  // namespace pesterly::testing
