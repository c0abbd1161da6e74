#include "app/Application.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "platform/IniSettingsStore.h"
#include "platform/MessageBoxAsker.h"
#include "platform/SystemClock.h"
#include "store/Database.h"
#include "ui/main/PesterlyMain.h"

namespace pesterly {
namespace {

bool HasDisplay() {
    auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

}  // namespace

int RunApplication(int argc, char** argv) {
    if (!HasDisplay()) {
        std::fputs(
            "Pesterly needs a graphical desktop, and no display was found "
            "(neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
            "Start it from your desktop session, or give it a virtual display:\n"
            "    xvfb-run -a pesterly\n",
            stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pesterly"));
    QApplication::setApplicationVersion(QStringLiteral(PESTERLY_VERSION));
    // The program ends when the main window unloads, not when its last window is hidden.
    QApplication::setQuitOnLastWindowClosed(false);

    Database db;
    IniSettingsStore store(IniSettingsStore::DefaultPath());
    SystemClock clock;
    MessageBoxAsker asker;
    PesterlyMain main_window({db, store, clock, asker}, QApplication::arguments().mid(1));
    QObject::connect(&main_window, &PesterlyMain::Unloaded, &app, &QApplication::quit);
    main_window.show();
    return QApplication::exec();
}

}  // namespace pesterly
