#include "mail/NagListSettings.h"

#include <gtest/gtest.h>

#include "support/MemorySettingsStore.h"

namespace pesterly {
namespace {

using testing::MemorySettingsStore;

std::string Get(MemorySettingsStore& store, const char* key) {
    return store.GetSetting("NagList", key, "<missing>");
}

TEST(NagListSettings, ReadsEntriesAsStored) {
    MemorySettingsStore store;  // what a first start reads is seen in the editor's test
    store.SaveSetting("NagList", "EmailCount", "3");
    store.SaveSetting("NagList", "Email0", " a@x.org ");
    store.SaveSetting("NagList", "Email2", "c@x.org");
    store.SaveSetting("NagList", "Email3", "beyond the count");
    store.SaveSetting("NagList", "ToAddress", "  boss@x.org ");
    const NagListSettings settings = ReadNagList(store);
    EXPECT_EQ(settings.entries,
              (std::vector<std::optional<std::string>>{" a@x.org ", std::nullopt, "c@x.org"}));
    EXPECT_EQ(settings.to_address, "  boss@x.org ");
}

TEST(NagListSettings, DamagedCountReadsAsNothingOrIsHeldToTheLimit) {
    const std::pair<const char*, size_t> cases[] = {
        {"two", 0},   {"", 0},        {"-4", 0},      {" 2 ", 2},
        {"999", 999}, {"1000", 1000}, {"1001", 1000}, {"99999999", 1000}};
    for (const auto& [stored, expected] : cases) {
        MemorySettingsStore store;
        store.SaveSetting("NagList", "EmailCount", stored);
        EXPECT_EQ(ReadNagList(store).entries.size(), expected) << stored;
    }
}

// The editor's test sees the rest of what is saved, the To line's flag and a failed save.
TEST(NagListSettings, SavingLeavesOlderEntriesBehindUnread) {
    MemorySettingsStore store;
    EXPECT_FALSE(SaveNagList(store, {{"a", "b", "c"}, "", true}).has_value());
    EXPECT_FALSE(SaveNagList(store, {{"c"}, "", false}).has_value());
    EXPECT_EQ(Get(store, "Email1"), "b");
    EXPECT_EQ(Get(store, "UseTO"), "False");
    EXPECT_EQ(ReadNagList(store).entries, std::vector<std::optional<std::string>>{"c"});
}

}  // namespace
}  // namespace pesterly
