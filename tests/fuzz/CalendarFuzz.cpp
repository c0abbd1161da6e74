// Feeds arbitrary bytes to the calendar import: libical's reading and the mapping onto the
// table. Besides not crashing, what it imports must be events the table can hold, and their
// export must read back as a calendar of as many events.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "exchange/Calendar.h"
#include "platform/IcalCalendar.h"

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "calendar import broken: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pesterly;
    const Result<std::vector<CalendarItem>> items =
        ReadICalendar(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!items) {
        if (items.error().message.empty()) {
            Fail("an error without a message");
        }
        return 0;
    }
    Database db;
    ImportCalendar(db, *items, DateValue::Compose(2026, 12, 7));
    if (db.HappeningCount > Database::kSlots || db.CategoryCount > Database::kCategoryAddLimit) {
        Fail("the table grew past its end");
    }
    for (int slot = 0; slot < db.HappeningCount; ++slot) {
        const Happening& event = db.Happenings[slot];
        if (event.Repeat < kRepeatOneTime || event.Repeat > kRepeatDaily ||
            event.Category > db.CategoryCount) {
            Fail("an imported event the table cannot hold");
        }
    }
    const auto exported = CalendarItemsOf(db, AllSlots(db));
    const Result<std::vector<CalendarItem>> reread = ReadICalendar(WriteICalendar(exported, 0));
    if (!reread || reread->size() != exported.size()) {
        Fail("the export of what was imported does not read back");
    }
    return 0;
}
