#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "exchange/Calendar.h"
#include "platform/IcalCalendar.h"
#include "reminder/Review.h"

namespace pesterly {
namespace {

const DateValue kToday = DateValue::Compose(2026, 12, 7);  // a Monday

std::string Slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Iso(DateValue value) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", static_cast<int>(value.Year()),
                  value.Month(), value.Day(), value.Hour(), value.Minute());
    return text;
}

// The table as a person checks it: repeat code, date, next due date, category, text and mail
// body of every event, then what Pesterly said.
std::string Described(const Database& db, const std::optional<Text>& report) {
    std::string text;
    for (int slot = 0; slot < db.HappeningCount; ++slot) {
        const Happening& e = db.Happenings[slot];
        const std::optional<DateValue> next = NextDue(e);
        text += std::to_string(e.Repeat) + " " + Iso(e.EventDate) + " next " +
                (next ? Iso(*next) : "-") + " [" + db.CategoryName(e.Category) + "] " + e.Desc +
                (e.EmailBody.empty() ? "" : " | " + e.EmailBody) + "\n";
    }
    return text + "said: " + (report ? report->English() : "nothing") + "\n";
}

// Files as other calendar programs write them, each beside what importing it into a table
// that holds "Dentist" and the category "Family" gives, on 7 December 2026 in Berlin.
TEST(Calendar, FilesOfOtherProgramsImportAsExpected) {
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(PESTERLY_TEST_DATA "/calendar")) {
        if (entry.path().extension() != ".ics") {
            continue;
        }
        ++files;
        Database db;
        Happening dentist;
        dentist.Desc = "Dentist";
        db.AppendHappening(dentist);
        db.AppendCategory("Family");
        const auto read = ReadICalendar(Slurp(entry.path()));
        std::string got;
        if (!read) {
            got = "refused: " + read.error().message + "\n";
        } else {
            const auto summary = ImportCalendar(db, *read, kToday);
            got = Described(db, CalendarImportReport(summary));
        }
        EXPECT_EQ(got, Slurp(std::filesystem::path(entry.path()).replace_extension(".expected")))
            << entry.path();
    }
    EXPECT_GT(files, 0);
}

// Export, import into an empty table, export again: the same calendar, byte for byte, also
// for an event without a description. An event whose repeat code is unknown is never due and
// is left out.
TEST(Calendar, RoundTripGivesTheSameCalendar) {
    Database db;
    db.AppendCategory("Family");
    db.AppendCategory("Bills; Steuern und Gebühren");
    const auto add = [&](const char* desc, int16_t repeat, DateValue date, DateValue done,
                         int16_t category = 0, const char* body = "") {
        Happening e;
        e.Desc = desc;
        e.Repeat = repeat;
        e.EventDate = date;
        e.DoneDate = done;
        e.Category = category;
        e.EmailBody = body;
        db.AppendHappening(e);
    };
    add("Mother's birthday", kRepeatYearly, DateValue::Compose(1950, 3, 14),
        DateValue::Compose(2026, 3, 14), 1, "Buy a present.\nAnd a card, with a stamp; or two.");
    add("Rent", kRepeatMonthly, DateValue::Compose(2020, 1, 1), DateValue::Compose(2026, 12, 1), 2);
    add("Bins", kRepeatWeekly, DateValue::Compose(2020, 1, 6), DateValue::Compose(2026, 12, 6));
    add("Pills", kRepeatDaily, DateValue::Compose(2020, 1, 6), DateValue::Compose(2026, 12, 7));
    add("Dentist at ten, über Straße – a long description that a calendar must fold twice "
        "because it runs on and on past seventy-five octets",
        kRepeatOneTime, DateValue::Compose(2027, 1, 5, 10, 0, 0), DateValue());
    add("", kRepeatOneTime, DateValue::Compose(2027, 2, 1), DateValue());  // no description
    add("Never due", 7, DateValue::Compose(2027, 1, 5), DateValue());
    const int64_t stamp = 1796600000;
    const std::string first = WriteICalendar(CalendarItemsOf(db, AllSlots(db)), stamp);
    EXPECT_EQ(first.find("Never due"), std::string::npos);

    Database again;
    const auto read = ReadICalendar(first);
    ASSERT_TRUE(read) << read.error().message << "\n" << first;
    const auto summary = ImportCalendar(again, *read, kToday);
    EXPECT_EQ(summary.events.appended_slots.size(), 6u);
    EXPECT_EQ(WriteICalendar(CalendarItemsOf(again, AllSlots(again)), stamp), first);
}

}  // namespace
}  // namespace pesterly
