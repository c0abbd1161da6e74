#include "app/CalendarExport.h"

#include <QDateTime>
#include <QString>
#include <cstdio>
#include <cstring>

#include "exchange/Calendar.h"
#include "platform/CalendarModule.h"
#include "platform/IniSettingsStore.h"
#include "store/SettingsLayout.h"

namespace pesterly {

std::optional<int> RunCalendarExport(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--export-calendar") != 0) {
        return std::nullopt;
    }
    if (argc != 3 || argv[2][0] == '\0') {
        std::fputs("Usage: pesterly --export-calendar FILE\n", stderr);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[2]);
    // Read only: the store is never committed, so the settings file is never written.
    IniSettingsStore store(IniSettingsStore::DefaultPath());
    if (store.SavePath() != store.Path()) {  // the file is there but could not be read
        std::fprintf(stderr, "Pesterly did not write %s: %s\n", argv[2],
                     store.ReadProblem().value_or("").c_str());
        return 1;
    }
    if (store.ReadProblem()) {
        std::fprintf(stderr, "%s\n", store.ReadProblem()->c_str());
    }
    Database db;
    LoadSettings(db, store);
    if (const Result<void> written = WriteCalendarFile(path, CalendarItemsOf(db, AllSlots(db)),
                                                       QDateTime::currentSecsSinceEpoch());
        !written) {
        std::fprintf(stderr, "Pesterly could not export the calendar to %s: %s\n", argv[2],
                     written.error().message.c_str());
        return 1;
    }
    return 0;
}

}  // namespace pesterly
