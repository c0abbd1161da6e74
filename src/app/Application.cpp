#include "app/Application.h"

#include <QApplication>
#include <QIcon>
#include <QSessionManager>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <memory>
#include <stop_token>

#include "PesterlyConfig.h"
#include "app/CalendarExport.h"
#include "platform/AutostartEntry.h"
#include "platform/FreedesktopNotifier.h"
#include "platform/IniSettingsStore.h"
#include "platform/MessageBoxAsker.h"
#include "platform/QtTrayIcon.h"
#include "platform/RealTimeWakeUpSource.h"
#include "platform/SecretServiceKeyring.h"
#include "platform/SignalWatcher.h"
#include "platform/SingleInstance.h"
#include "platform/SystemClock.h"
#include "platform/mail/MailModule.h"
#include "platform/mail/Outbox.h"
#include "store/Database.h"
#include "ui/Language.h"
#include "ui/QuietStyle.h"
#include "ui/Resources.h"
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

// Said on standard error and in a box, since a start from the desktop's menu has no terminal.
void TellNoLock(const QStringList& tried) {
    const std::string message =
        QCoreApplication::translate(
            "Application",
            "Pesterly cannot start: it could not make its lock file in any of these places:\n"
            "    %1\n\nWithout one it cannot tell whether another copy already runs on the same "
            "settings file, and two copies would overwrite each other's events. Free some space "
            "or make one of these folders writable for you, then start Pesterly again.")
            .arg(tried.join(QStringLiteral("\n    ")))
            .toStdString();
    std::fprintf(stderr, "pesterly: %s\n", message.c_str());
    MessageBoxAsker().Tell(message);
}

// A line for whoever started Pesterly from a terminal.
void Say(const QString& line) {
    std::puts(line.toLocal8Bit().constData());
}

// How long a hidden start waits for a notification area before it shows the window. Tests
// shorten it with PESTERLY_TRAY_WAIT_MS.
int TrayWaitMs() {
    bool ok = false;
    const int wait = qEnvironmentVariableIntValue("PESTERLY_TRAY_WAIT_MS", &ok);
    return ok && wait >= 0 ? wait : 10000;
}

}  // namespace

int RunApplication(int argc, char** argv) {
    if (const std::optional<int> status = RunCalendarExport(argc, argv)) {
        return *status;
    }
    if (!HasDisplay()) {
        std::fputs(
            "Pesterly needs a graphical desktop, and no display was found "
            "(neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
            "Start it from your desktop session, or give it a virtual display:\n"
            "    xvfb-run -a pesterly\n",
            stderr);
        return 1;
    }
    const QString settings_path = IniSettingsStore::DefaultPath();
    SingleInstance single(settings_path);
    // Each lock file is synced to the disk as it is made, which a busy disk can make slow: the
    // locks are taken while Qt connects to the display. Nothing is read or shown before.
    std::future<bool> claimed =
        std::async(std::launch::async, [&single] { return single.TakeLocks(); });
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pesterly"));
    QApplication::setApplicationVersion(QStringLiteral(PESTERLY_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("pesterly"));
    // The program ends when the main window unloads, not when its last window is hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    UseUserLanguage(app);
    UseQuietStyle(app);

    if (!claimed.get()) {
        switch (single.RunningCopyAnswer()) {
            case SingleInstance::Answer::kWindowShown:
                Say(QCoreApplication::translate(
                    "Application", "Pesterly is already running; its window has been shown."));
                return 0;
            case SingleInstance::Answer::kNoAnswer:
                Say(QCoreApplication::translate(
                    "Application",
                    "Pesterly is already running for this settings file, but it did not "
                    "answer, so its window could not be shown."));
                return 1;
            case SingleInstance::Answer::kSocketOfAnotherUser:
                Say(QCoreApplication::translate(
                    "Application",
                    "Pesterly is already running for this settings file, but its local "
                    "socket is held by a program of another user, so its window could not "
                    "be shown. Look for its icon in the notification area."));
                return 1;
            case SingleInstance::Answer::kNoLock:
                TellNoLock(single.TriedLockPaths());
                return 1;
        }
        return 1;
    }
    single.AnswerLaterStarts();
    // Until the main window is up nothing has changed that needs saving, and a damaged file
    // must not be saved over: a signal then ends the program at once, closing any start-up
    // message (QCoreApplication::exit leaves every running event loop, and keeps later ones
    // from starting until the main loop).
    SignalWatcher signals_watcher;
    bool ended_at_start = false;
    const QMetaObject::Connection early_end =
        QObject::connect(&signals_watcher, &SignalWatcher::EndRequested, &app, [&ended_at_start] {
            ended_at_start = true;
            QCoreApplication::exit(0);
        });

    const QIcon icon = ApplicationIcon();
    QApplication::setWindowIcon(icon);
    Database db;
    IniSettingsStore store(settings_path);
    SystemClock clock;
    MessageBoxAsker asker;
    if (const auto& problem = store.ReadProblem()) {
        asker.Tell(*problem);
    }
    if (const auto rescued =
            IniSettingsStore::TakeRescueNotice(IniSettingsStore::StateFolder(), settings_path)) {
        asker.Tell(*rescued);
    }
    // Once the table is saved at the end, a mail still in progress is stopped rather than
    // left to hold the end for its whole timeout.
    std::stop_source end_of_mail;
    SecretServiceKeyring keyring;
    Outbox outbox(Outbox::DefaultFolder(), asker, [&end_of_mail, &store, &keyring] {
        return LoadMailPost(store, keyring, end_of_mail.get_token());
    });
    NagMailDiary diary(NagMailDiary::DefaultPath());
    OutboxNagMailer mailer(store, outbox, diary, clock);
    QtTrayIcon tray(icon);
    RealTimeWakeUpSource wakeup;
    FreedesktopNotifier notifier(QStringLiteral("pesterly"));
    const AutostartEntry autostart(AutostartEntry::DefaultPath(),
                                   QCoreApplication::applicationFilePath());
    // "--hidden" is how the login entry starts Pesterly; any other argument is the user's.
    QStringList arguments = QApplication::arguments().mid(1);
    const bool hidden = arguments.removeAll(QStringLiteral("--hidden")) > 0;
    PesterlyMain main_window(
        {db, store, clock, asker, mailer, tray, wakeup, &outbox, &notifier, &autostart}, arguments);
    QObject::connect(&main_window, &PesterlyMain::Unloaded, &app, &QApplication::quit);
    QObject::connect(&main_window, &PesterlyMain::Unloaded, &app,
                     [&end_of_mail] { end_of_mail.request_stop(); });
    QObject::connect(&single, &SingleInstance::ShowRequested, &main_window,
                     &PesterlyMain::PesterlyMain_ShowPesterly_Click);
    QObject::disconnect(early_end);
    if (ended_at_start) {
        return 0;
    }
    QObject::connect(&signals_watcher, &SignalWatcher::EndRequested, &main_window,
                     &PesterlyMain::EndOnRequest);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &main_window,
                     [&main_window](QSessionManager&) { main_window.SaveNow(); });
    if (const Result<void> followed = autostart.Follow(db.options.StartAtLogin); !followed) {
        std::fprintf(stderr, "pesterly: %s\n", followed.error().message.c_str());
    }
    if (hidden) {
        main_window.StartHidden(TrayWaitMs());
    } else {
        main_window.show();
    }
    outbox.Start();
    const int status = QApplication::exec();
    // A forced end that could keep the session nowhere, not even in a rescue copy, must not
    // look like a clean one to whoever ended the program.
    return main_window.SessionLost() ? 1 : status;
}

}  // namespace pesterly
