#include "platform/CalendarModule.h"

#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

#include "platform/IcalCalendar.h"
#include "platform/WholeFile.h"

#include "PesterlyConfig.h"

namespace pesterly {
namespace {

struct Module {
    decltype(&PesterlyWriteCalendar) write = nullptr;
    decltype(&PesterlyReadCalendar) read = nullptr;
};

// The folder of the running program, found without an application object, since the
// command line's export runs before there is one.
QString ProgramFolder() {
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(u'/', 0, -2);
}

// Beside the program in the build folder; in its own folder once installed. Only these
// places are searched, never the library path of the environment.
Result<const Module*> LoadModule() {
    static Module loaded;
    if (loaded.write != nullptr) {
        return &loaded;
    }
    QString reason;
    for (const QString& folder : {ProgramFolder(), QStringLiteral(PESTERLY_MODULE_DIR)}) {
        QLibrary module(folder + QStringLiteral("/libpesterly-calendar.so"));
        if (module.load()) {
            loaded.write = reinterpret_cast<decltype(&PesterlyWriteCalendar)>(
                module.resolve("PesterlyWriteCalendar"));
            loaded.read = reinterpret_cast<decltype(&PesterlyReadCalendar)>(
                module.resolve("PesterlyReadCalendar"));
            if (loaded.write != nullptr && loaded.read != nullptr) {
                return &loaded;
            }
            loaded = {};
        }
        reason = module.errorString();
    }
    return Failure({PESTERLY_TEXT("CalendarModule",
                                  "Pesterly's calendar module (libpesterly-calendar.so) could not "
                                  "be loaded: %1. Reinstalling Pesterly should bring it back."),
                    {reason.toStdString()}});
}

}  // namespace

Result<void> WriteCalendarFile(const QString& path, const std::vector<CalendarItem>& items,
                               int64_t stamp) {
    const Result<const Module*> module = LoadModule();
    if (!module) {
        return module.error();
    }
    std::string text;
    (*module)->write(&items, stamp, &text);
    return WriteWholeFile(path, text);
}

Result<std::vector<CalendarItem>> ReadCalendarFile(const QString& path) {
    const Result<const Module*> module = LoadModule();
    if (!module) {
        return module.error();
    }
    const Result<std::string> bytes = ReadWholeFile(path);
    if (!bytes) {
        return bytes.error();
    }
    std::vector<CalendarItem> items;
    std::string problem;
    if (!(*module)->read(&*bytes, &items, &problem)) {
        return Failure({PESTERLY_TEXT("CalendarModule", "Pesterly cannot import %1. %2"),
                        {path.toStdString(), problem}});
    }
    return items;
}

}  // namespace pesterly
