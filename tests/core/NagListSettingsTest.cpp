#include "mail/NagListSettings.h"

#include <gtest/gtest.h>

#include "support/MemorySettingsStore.h"

namespace pesterly {
namespace {

using testing::MemorySettingsStore;

std::string Get(MemorySettingsStore& store, const char* key) {
    return store.GetSetting("NagList", key, "<missing>");
}

TEST(NagListSettings, FirstStartReadsEmptyListWithToLineAddressing) {
    MemorySettingsStore store;
    const NagListSettings settings = LoadNagListForEditor(store);
    EXPECT_TRUE(settings.entries.empty());
    EXPECT_EQ(settings.to_address, "");
    EXPECT_TRUE(settings.use_to);
}

TEST(NagListSettings, ReadsEntriesInOrderAndShowsAMissingOneAsZero) {
    MemorySettingsStore store;
    store.SaveSetting("NagList", "EmailCount", "3");
    store.SaveSetting("NagList", "Email0", " a@x.org ");
    store.SaveSetting("NagList", "Email2", "c@x.org");
    store.SaveSetting("NagList", "Email3", "beyond the count");
    store.SaveSetting("NagList", "ToAddress", "  boss@x.org ");
    const NagListSettings settings = LoadNagListForEditor(store);
    EXPECT_EQ(settings.entries, (std::vector<std::string>{" a@x.org ", "0", "c@x.org"}));
    EXPECT_EQ(settings.to_address, "  boss@x.org ");
}

TEST(NagListSettings, OnlyTheExactTextTrueChoosesTheToLine) {
    const std::pair<const char*, bool> cases[] = {
        {"True", true}, {"False", false}, {"true", false}, {"TRUE", false}, {"", false}};
    for (const auto& [stored, use_to] : cases) {
        MemorySettingsStore store;
        store.SaveSetting("NagList", "UseTO", stored);
        EXPECT_EQ(LoadNagListForEditor(store).use_to, use_to) << stored;
    }
}

TEST(NagListSettings, DamagedCountReadsAsNothingOrIsHeldToTheLimit) {
    const std::pair<const char*, size_t> cases[] = {
        {"two", 0},   {"", 0},        {"-4", 0},      {" 2 ", 2},
        {"999", 999}, {"1000", 1000}, {"1001", 1000}, {"99999999", 1000}};
    for (const auto& [stored, expected] : cases) {
        MemorySettingsStore store;
        store.SaveSetting("NagList", "EmailCount", stored);
        EXPECT_EQ(LoadNagListForEditor(store).entries.size(), expected) << stored;
    }
}

TEST(NagListSettings, SavingWritesEveryKeyInItsFormAndCommits) {
    MemorySettingsStore store;
    NagListSettings settings;
    settings.entries = {"  a@x.org ", "b@x.org"};
    settings.to_address = " boss@x.org  ";
    settings.use_to = false;
    EXPECT_FALSE(SaveNagList(store, settings).has_value());
    EXPECT_EQ(Get(store, "EmailCount"), "2");
    EXPECT_EQ(Get(store, "Email0"), "a@x.org");
    EXPECT_EQ(Get(store, "Email1"), "b@x.org");
    EXPECT_EQ(Get(store, "ToAddress"), " boss@x.org  ");
    EXPECT_EQ(Get(store, "UseTO"), "False");
    EXPECT_EQ(store.commits, 1);

    settings.use_to = true;
    SaveNagList(store, settings);
    EXPECT_EQ(Get(store, "UseTO"), "True");
}

TEST(NagListSettings, ShorterListLeavesOldEntriesBehindUnread) {
    MemorySettingsStore store;
    SaveNagList(store, {{"a", "b", "c"}, "", true});
    SaveNagList(store, {{"c"}, "", true});
    EXPECT_EQ(Get(store, "EmailCount"), "1");
    EXPECT_EQ(Get(store, "Email0"), "c");
    EXPECT_EQ(Get(store, "Email1"), "b");
    EXPECT_EQ(Get(store, "Email2"), "c");
    EXPECT_EQ(LoadNagListForEditor(store).entries, std::vector<std::string>{"c"});
}

TEST(NagListSettings, FailedCommitIsReturnedWithItsMessage) {
    MemorySettingsStore store;
    store.fail_next_commit = "The disk is full.";
    const MaybeError error = SaveNagList(store, {{"a"}, "", true});
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->message, "The disk is full.");
}

}  // namespace
}  // namespace pesterly
