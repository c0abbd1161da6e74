#include "mail/NagListSettings.h"

#include <gtest/gtest.h>

#include "support/MemorySettingsStore.h"

namespace pesterly {
namespace {

using testing::MemorySettingsStore;

std::string Get(MemorySettingsStore& store, const char* key) {
    return store.GetSetting("NagList", key, "<missing>");
}

TEST(NagListSettings, ReadsEntriesAsStoredAndOnlyTheExactTextTrueAsTheToLine) {
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

    const std::pair<const char*, bool> flags[] = {
        {"True", true}, {"False", false}, {"true", false}, {"TRUE", false}, {"", false}};
    for (const auto& [stored, use_to] : flags) {
        store.SaveSetting("NagList", "UseTO", stored);
        EXPECT_EQ(ReadNagList(store).use_to, use_to) << stored;
    }
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

// The editor's test sees the rest of what is saved.
TEST(NagListSettings, SavingLeavesOlderEntriesBehindUnreadAndReturnsAFailedCommit) {
    MemorySettingsStore store;
    EXPECT_FALSE(SaveNagList(store, {{"a", "b", "c"}, "", true}).has_value());
    EXPECT_FALSE(SaveNagList(store, {{"c"}, "", false}).has_value());
    EXPECT_EQ(Get(store, "Email1"), "b");
    EXPECT_EQ(Get(store, "UseTO"), "False");
    EXPECT_EQ(ReadNagList(store).entries, std::vector<std::optional<std::string>>{"c"});
    store.fail_next_commit = "The disk is full.";
    const MaybeError error = SaveNagList(store, {{"a"}, "", true});
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->message, "The disk is full.");
}

}  // namespace
}  // namespace pesterly
