#include "platform/CalendarModule.h"

#include "platform/IcalCalendar.h"
#include "platform/ModuleLoader.h"
#include "platform/WholeFile.h"

namespace pesterly {
namespace {

struct Module {
    decltype(&PesterlyWriteCalendar) write = nullptr;
    decltype(&PesterlyReadCalendar) read = nullptr;
};

Result<Module> LoadCalendarModule() {
    const Result<std::vector<QFunctionPointer>> module =
        LoadModule(QStringLiteral("libpesterly-calendar.so"),
                   {"PesterlyWriteCalendar", "PesterlyReadCalendar"});
    if (!module) {
        return Failure({PESTERLY_TEXT("CalendarModule",
                                      "Pesterly's calendar module (libpesterly-calendar.so) could "
                                      "not be loaded: %1. Reinstalling Pesterly should bring it "
                                      "back."),
                        {module.error().message}});
    }
    return Module{reinterpret_cast<decltype(&PesterlyWriteCalendar)>((*module)[0]),
                  reinterpret_cast<decltype(&PesterlyReadCalendar)>((*module)[1])};
}

}  // namespace

Result<void> WriteCalendarFile(const QString& path, const std::vector<CalendarItem>& items,
                               int64_t stamp) {
    const Result<Module> module = LoadCalendarModule();
    if (!module) {
        return module.error();
    }
    std::string text;
    module->write(&items, stamp, &text);
    return WriteWholeFile(path, text);
}

Result<std::vector<CalendarItem>> ReadCalendarFile(const QString& path) {
    const Result<Module> module = LoadCalendarModule();
    if (!module) {
        return module.error();
    }
    const Result<std::string> bytes = ReadWholeFile(path);
    if (!bytes) {
        return bytes.error();
    }
    std::vector<CalendarItem> items;
    std::string problem;
    if (!module->read(&*bytes, &items, &problem)) {
        return Failure({PESTERLY_TEXT("CalendarModule", "Pesterly cannot import %1. %2"),
                        {path.toStdString(), problem}});
    }
    return items;
}

}  // namespace pesterly
