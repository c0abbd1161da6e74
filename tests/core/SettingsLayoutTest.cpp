#include "store/SettingsLayout.h"

#include <gtest/gtest.h>

#include "support/MemorySettingsStore.h"

namespace pesterly {
namespace {

using testing::MemorySettingsStore;

const DateValue kToday = DateValue::Compose(2026, 12, 6);

Happening Sample(int n) {
    Happening h;
    h.EventDate = DateValue::Compose(2001, 3, 14 + n, n, 5, 9);
    h.Repeat = static_cast<int16_t>(n % 5);
    h.Desc = "Event " + std::to_string(n);
    h.DoneDate = DateValue::Compose(2000, 3, 14 + n);
    h.SendMail = n % 2 == 0;
    h.UseNagList = n % 3 == 0;
    h.SpecialEmail = n == 1 ? "" : "who" + std::to_string(n) + "@example.org";
    h.Category = static_cast<int16_t>(n % 3);
    h.EmailBody = "line one\nline two";
    return h;
}

std::string Get(MemorySettingsStore& store, std::string_view section, std::string_view key) {
    return store.GetSetting(section, key, "<missing>");
}

// What a first start writes is checked on the real program (tests/e2e/startup_test.py).
TEST(SettingsLayout, SavedTablesLoadBackTheSame) {
    MemorySettingsStore store;
    Database saved;
    for (int n = 0; n < 5; ++n) {
        saved.AppendHappening(Sample(n));
    }
    saved.AppendCategory("Family");
    saved.AppendCategory("Work");
    saved.options.CheckDate = DateValue::Compose(2026, 12, 5);
    saved.options.CheckTime = DateValue::TimeOfDay(7, 30, 15);
    ASSERT_TRUE(SaveSettings(saved, store));
    // The stored forms themselves are checked on the real program's file (startup_test.py).
    Database loaded;
    LoadSettings(loaded, store);
    LoadOptions(loaded, store, DateValue::Compose(2030, 1, 1));
    EXPECT_EQ(loaded.HappeningCount, 5);
    EXPECT_EQ(loaded.Happenings, saved.Happenings);
    EXPECT_EQ(loaded.CategoryCount, 2);
    EXPECT_EQ(loaded.Categories, saved.Categories);
    EXPECT_EQ(loaded.options.CheckDate, saved.options.CheckDate);
    EXPECT_EQ(loaded.options.CheckTime, saved.options.CheckTime);

    // Saving trims the blanks around the texts, and nothing else.
    Happening& h = saved.Happenings[0];
    h.Desc = "  buy  milk  ";
    h.SpecialEmail = "   ";
    h.EmailBody = " \tindented body\n";
    saved.Categories[0] = "  \tHome\n ";
    ASSERT_TRUE(SaveSettings(saved, store));
    EXPECT_EQ(Get(store, "Events", "EDesc0"), "buy  milk");
    EXPECT_EQ(Get(store, "Events", "ESEmail0"), "");
    EXPECT_EQ(Get(store, "Events", "EEmailBody0"), "\tindented body\n");
    EXPECT_EQ(Get(store, "Categories", "Category0"), "\tHome\n");

    // A shrunken table leaves the keys beyond it in the file as they were, unread.
    saved.RemoveHappening(0);
    saved.RemoveHappening(0);
    ASSERT_TRUE(SaveSettings(saved, store));
    EXPECT_EQ(Get(store, "Events", "EDesc4"), "Event 4");
    LoadSettings(loaded, store);
    EXPECT_EQ(loaded.HappeningCount, 3);
    EXPECT_EQ(loaded.Happenings[0], Sample(2));
    store.fail_next_commit = "disk full";
    EXPECT_EQ(SaveSettings(saved, store).error().message, "disk full");
}

TEST(SettingsLayout, DamagedHandEditedValuesNeverBreakTheLoad) {
    MemorySettingsStore store;
    store.SaveSetting("events", "eventcount", "lots");
    store.SaveSetting("Categories", "Count", "5000");
    store.SaveSetting("Categories", "Category0", "Only one");
    store.SaveSetting("Options", "CheckDate", "someday");
    store.SaveSetting("Options", "CheckTime", "teatime");
    Database db;
    EXPECT_NE(LoadSettings(db, store).value_or(Text()).English().find("counts 5000 categories"),
              std::string::npos);
    EXPECT_EQ(store.damaged_copies, 1);
    LoadOptions(db, store, kToday);
    EXPECT_EQ(db.options.CheckDate, kToday);  // unreadable options fall back to their defaults
    EXPECT_EQ(db.options.CheckTime, DateValue::TimeOfDay(8, 0, 0));
    EXPECT_EQ(db.HappeningCount, 0);
    EXPECT_EQ(db.CategoryCount, 101);
    EXPECT_EQ(db.Categories[0], "Only one");
    EXPECT_EQ(db.Categories[1], "Error");  // a name the count promises but the file lacks

    store.SaveSetting("Events", "EventCount", "-7");
    LoadSettings(db, store);
    EXPECT_EQ(db.HappeningCount, 0);

    store.SaveSetting("Events", "EventCount", "102");
    store.SaveSetting("Events", "EDate100", "not a date");
    store.SaveSetting("Events", "EDone100", "3/14/2001");
    store.SaveSetting("Events", "ERepeat100", "2 weeks");
    store.SaveSetting("Events", "ECategory100", "x");
    store.SaveSetting("Events", "ECategory98", "102");  // no such category: shown as none
    store.SaveSetting("Events", "ECategory99", "-4");
    store.SaveSetting("Events", "EEmail100", "true");
    store.SaveSetting("Events", "EsEmail100", "mixed@case.org");
    LoadSettings(db, store);
    EXPECT_EQ(db.HappeningCount, 101);
    Happening read;
    read.Repeat = 2;
    read.DoneDate = DateValue::Compose(2001, 3, 14);
    read.SpecialEmail = "mixed@case.org";
    EXPECT_EQ(db.Happenings[100], read);
    Happening blank;  // a slot without any keys
    blank.SpecialEmail = " ";
    EXPECT_EQ(db.Happenings[0], blank);
    EXPECT_EQ(db.CategoryName(db.Happenings[98].Category), "");
    EXPECT_EQ(db.CategoryName(db.Happenings[99].Category), "");
    EXPECT_EQ(db.CategoryName(101), "Error");

    // A date with a time, or a time with a date, counts only for its own part.
    store.SaveSetting("Options", "CheckDate", "12/1/2026 6:00:00 PM");
    store.SaveSetting("Options", "CheckTime", "12/1/2026 9:30:00 AM");
    LoadOptions(db, store, kToday);
    EXPECT_EQ(db.options.CheckDate, DateValue::Compose(2026, 12, 1));
    EXPECT_EQ(db.options.CheckTime, DateValue::TimeOfDay(9, 30, 0));

    // Saving after such a load keeps the keys beyond the count.
    store.SaveSetting("Events", "EDesc101", "beyond the table");
    ASSERT_TRUE(SaveSettings(db, store));
    EXPECT_EQ(Get(store, "Events", "EDesc101"), "beyond the table");
    EXPECT_EQ(Get(store, "Events", "EventCount"), " 101");
}

// Options a person wrote by hand, or an older Pesterly, are written back as they were; what
// changes is written in Pesterly's own forms and reads back the same. A failed save of a
// dialog's options leaves the store and the held options as they were.
TEST(SettingsLayout, OptionsKeepTheirWrittenFormsAndUndoAFailedSave) {
    MemorySettingsStore store;
    store.SaveSetting("options", "checktime", "9:00:00AM");
    store.SaveSetting("mail", "method", " smtp ");
    Options held = ReadOptions(store, kToday);
    EXPECT_TRUE(held.StartAtLogin) << "a file without the key starts at login";
    WriteOptions(store, held);
    EXPECT_EQ(Get(store, "Mail", "Method"), " smtp ");
    EXPECT_FALSE(store.HasSetting("Options", "StartAtLogin"));
    EXPECT_FALSE(store.HasSetting("Mail", "Security"));

    Options wanted = held;
    wanted.StartAtLogin = false;
    wanted.CalendarFile = "/home/me/Pesterly events.ics";
    wanted.Mail.security = MailSecurity::kTls;
    store.fail_next_commit = "disk full";
    ASSERT_FALSE(SaveOptions(store, held, wanted));
    EXPECT_EQ(held, ReadOptions(store, kToday));
    EXPECT_FALSE(store.HasSetting("Options", "StartAtLogin"));
    ASSERT_TRUE(SaveOptions(store, held, wanted));
    EXPECT_EQ(held, wanted);
    EXPECT_EQ(ReadOptions(store, kToday), wanted);
    EXPECT_EQ(Get(store, "Options", "StartAtLogin"), "False");
}

// The table has room for one name more than the add-category dialog may add; a 102nd would be
// written past its end.
TEST(Categories, AddingStopsAtOneHundredNames) {
    Database db;
    for (int n = 0; n < 100; ++n) {
        ASSERT_TRUE(db.AppendCategory("Category " + std::to_string(n)));
    }
    EXPECT_FALSE(db.AppendCategory("One too many"));
    EXPECT_EQ(db.CategoryCount, 100);
}

}  // namespace
}  // namespace pesterly
