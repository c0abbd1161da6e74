#include "store/SettingsLayout.h"

#include <gtest/gtest.h>

#include "support/MemorySettingsStore.h"

namespace pesterly {
namespace {

using testing::MemorySettingsStore;

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

TEST(SettingsLayout, EmptyStoreGivesEmptyTablesAndDefaultOptions) {
    MemorySettingsStore store;
    Database db;
    LoadSettings(db, store);
    const DateValue today = DateValue::Compose(2026, 12, 6);
    LoadOptions(db, store, today);
    EXPECT_EQ(db.HappeningCount, 0);
    EXPECT_EQ(db.CategoryCount, 0);
    EXPECT_EQ(db.CheckDate, today);
    EXPECT_EQ(db.CheckTime, DateValue::TimeOfDay(8, 0, 0));

    ASSERT_FALSE(SaveSettings(db, store));
    EXPECT_EQ(Get(store, "Events", "EventCount"), " 0");
    EXPECT_EQ(Get(store, "Categories", "Count"), " 0");
    EXPECT_EQ(Get(store, "Options", "CheckDate"), "12/6/2026");
    EXPECT_EQ(Get(store, "Options", "CheckTime"), "8:00:00 AM");
    EXPECT_EQ(store.commits, 1);
}

TEST(SettingsLayout, SavedTablesLoadBackTheSame) {
    MemorySettingsStore store;
    Database saved;
    for (int n = 0; n < 5; ++n) {
        saved.AppendHappening(Sample(n));
    }
    saved.AppendCategory("Family");
    saved.AppendCategory("Work");
    saved.CheckDate = DateValue::Compose(2026, 12, 5);
    saved.CheckTime = DateValue::TimeOfDay(7, 30, 15);
    ASSERT_FALSE(SaveSettings(saved, store));

    EXPECT_EQ(Get(store, "Events", "EventCount"), " 5");
    EXPECT_EQ(Get(store, "Events", "EDate1"), "3/15/2001 1:05:09 AM");
    EXPECT_EQ(Get(store, "Events", "EDone0"), "3/14/2000");
    EXPECT_EQ(Get(store, "Events", "ERepeat3"), "3");
    EXPECT_EQ(Get(store, "Events", "EEmail0"), "True");
    EXPECT_EQ(Get(store, "Events", "EEmail1"), "False");
    EXPECT_EQ(Get(store, "Events", "ESEmail1"), "");
    EXPECT_EQ(Get(store, "Categories", "Category1"), "Work");

    Database loaded;
    LoadSettings(loaded, store);
    LoadOptions(loaded, store, DateValue::Compose(2030, 1, 1));
    ASSERT_EQ(loaded.HappeningCount, 5);
    for (int n = 0; n < 5; ++n) {
        EXPECT_EQ(loaded.Happenings[n], saved.Happenings[n]) << n;
    }
    EXPECT_EQ(loaded.CategoryCount, 2);
    EXPECT_EQ(loaded.Categories[0], "Family");
    EXPECT_EQ(loaded.CheckDate, saved.CheckDate);
    EXPECT_EQ(loaded.CheckTime, saved.CheckTime);
}

TEST(SettingsLayout, SavingTrimsBlanksOfTextsOnly) {
    MemorySettingsStore store;
    Database db;
    Happening h = Sample(0);
    h.Desc = "  buy  milk  ";
    h.SpecialEmail = " a@b.org ";
    h.EmailBody = "\tindented body\n";
    db.AppendHappening(h);
    db.AppendCategory("  Home ");
    ASSERT_FALSE(SaveSettings(db, store));
    EXPECT_EQ(Get(store, "Events", "EDesc0"), "buy  milk");
    EXPECT_EQ(Get(store, "Events", "ESEmail0"), "a@b.org");
    EXPECT_EQ(Get(store, "Events", "EEmailBody0"), "\tindented body\n");
    EXPECT_EQ(Get(store, "Categories", "Category0"), "Home");
}

TEST(SettingsLayout, ShrinkingTableLeavesOldKeysUnread) {
    MemorySettingsStore store;
    Database db;
    for (int n = 0; n < 5; ++n) {
        db.AppendHappening(Sample(n));
    }
    ASSERT_FALSE(SaveSettings(db, store));
    db.RemoveHappening(0);
    db.RemoveHappening(0);
    ASSERT_FALSE(SaveSettings(db, store));
    EXPECT_EQ(Get(store, "Events", "EventCount"), " 3");
    EXPECT_TRUE(store.HasSetting("Events", "EDesc3"));
    EXPECT_TRUE(store.HasSetting("Events", "EDesc4"));

    Database loaded;
    loaded.Happenings[3].Desc = "untouched";
    LoadSettings(loaded, store);
    EXPECT_EQ(loaded.HappeningCount, 3);
    EXPECT_EQ(loaded.Happenings[0].Desc, "Event 2");
    EXPECT_EQ(loaded.Happenings[3].Desc, "untouched");
}

TEST(SettingsLayout, MissingKeysReadAsTheirDefaults) {
    MemorySettingsStore store;
    store.SaveSetting("Events", "EventCount", " 1");
    store.SaveSetting("Categories", "Count", " 2");
    store.SaveSetting("Categories", "Category0", "Only one");
    Database db;
    LoadSettings(db, store);
    ASSERT_EQ(db.HappeningCount, 1);
    const Happening& h = db.Happenings[0];
    EXPECT_EQ(h.EventDate, DateValue());
    EXPECT_EQ(h.DoneDate, DateValue());
    EXPECT_EQ(h.Repeat, 0);
    EXPECT_EQ(h.Desc, "");
    EXPECT_FALSE(h.SendMail);
    EXPECT_FALSE(h.UseNagList);
    EXPECT_EQ(h.SpecialEmail, " ");
    EXPECT_EQ(h.Category, 0);
    EXPECT_EQ(h.EmailBody, "");
    EXPECT_EQ(db.Categories[0], "Only one");
    EXPECT_EQ(db.Categories[1], "Error");
}

TEST(SettingsLayout, DamagedHandEditedValuesNeverBreakTheLoad) {
    MemorySettingsStore store;
    store.SaveSetting("events", "eventcount", "lots");
    store.SaveSetting("Categories", "Count", "5000");
    Database db;
    LoadSettings(db, store);
    EXPECT_EQ(db.HappeningCount, 0);
    EXPECT_EQ(db.CategoryCount, 101);

    store.SaveSetting("Events", "EventCount", "-7");
    LoadSettings(db, store);
    EXPECT_EQ(db.HappeningCount, 0);

    store.SaveSetting("Events", "EventCount", "102");
    store.SaveSetting("Events", "EDate100", "not a date");
    store.SaveSetting("Events", "EDone100", "3/14/2001");
    store.SaveSetting("Events", "ERepeat100", "2 weeks");
    store.SaveSetting("Events", "ECategory100", "x");
    store.SaveSetting("Events", "EEmail100", "true");
    store.SaveSetting("Events", "EsEmail100", "mixed@case.org");
    LoadSettings(db, store);
    EXPECT_EQ(db.HappeningCount, 101);
    const Happening& h = db.Happenings[100];
    EXPECT_EQ(h.EventDate, DateValue());
    EXPECT_EQ(h.DoneDate, DateValue::Compose(2001, 3, 14));
    EXPECT_EQ(h.Repeat, 2);
    EXPECT_EQ(h.Category, 0);
    EXPECT_FALSE(h.SendMail);
    EXPECT_EQ(h.SpecialEmail, "mixed@case.org");

    // Saving after such a load keeps the keys beyond the count.
    store.SaveSetting("Events", "EDesc101", "beyond the table");
    ASSERT_FALSE(SaveSettings(db, store));
    EXPECT_EQ(Get(store, "Events", "EDesc101"), "beyond the table");
    EXPECT_EQ(Get(store, "Events", "EventCount"), " 101");
}

TEST(SettingsLayout, UnreadableOptionsFallBackToTheirDefaults) {
    MemorySettingsStore store;
    store.SaveSetting("Options", "CheckDate", "someday");
    store.SaveSetting("Options", "CheckTime", "teatime");
    Database db;
    const DateValue today = DateValue::Compose(2026, 12, 6);
    LoadOptions(db, store, today);
    EXPECT_EQ(db.CheckDate, today);
    EXPECT_EQ(db.CheckTime, DateValue::TimeOfDay(8, 0, 0));

    store.SaveSetting("Options", "CheckDate", "12/1/2026 6:00:00 PM");
    store.SaveSetting("Options", "CheckTime", "12/1/2026 9:30:00 AM");
    LoadOptions(db, store, today);
    EXPECT_EQ(db.CheckDate, DateValue::Compose(2026, 12, 1));
    EXPECT_EQ(db.CheckTime, DateValue::TimeOfDay(9, 30, 0));
}

TEST(SettingsLayout, FailedCommitIsReported) {
    MemorySettingsStore store;
    store.fail_next_commit = "disk full";
    Database db;
    const MaybeError error = SaveSettings(db, store);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, "disk full");
}

}  // namespace
}  // namespace pesterly
