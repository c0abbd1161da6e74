#pragma once

#include <QStringList>
#include <memory>

#include "store/Database.h"
#include "support/FakeClock.h"
#include "support/FakeTrayIcon.h"
#include "support/MemorySettingsStore.h"
#include "support/RecordingNagMailer.h"
#include "support/ScriptedAsker.h"
#include "ui/main/PesterlyMain.h"

namespace pesterly::testing {

// Everything the main window works with, faked, and a way to open the window on it.
struct MainWindowHarness {
    std::unique_ptr<PesterlyMain> OpenWindow(const QStringList& arguments = {}) {
        return std::make_unique<PesterlyMain>(MainServices{db, store, clock, asker, mailer, tray},
                                              arguments);
    }

    Database db;
    MemorySettingsStore store;
    FakeClock clock;
    ScriptedAsker asker;
    RecordingNagMailer mailer;
    FakeTrayIcon tray;
};

}  // namespace pesterly::testing
