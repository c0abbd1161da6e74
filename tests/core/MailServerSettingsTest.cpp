#include "mail/MailServerSettings.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/MemorySettingsStore.h"

namespace pesterly {
namespace {

using testing::MemorySettingsStore;

MailServerSettings Server() {
    MailServerSettings settings;
    settings.method = MailMethod::kSmtp;
    settings.host = "mail.example.org";
    settings.user = "me";
    return settings;
}

TEST(MailServerSettings, HandEditedSectionReadsWithoutRegardToCaseAndOddValuesAsDefaults) {
    MemorySettingsStore store;
    const MailServerSettings none = LoadMailServer(store);
    EXPECT_EQ(none.method, MailMethod::kSendmail);
    EXPECT_EQ(MailServerPort(none), 587);
    store.SaveSetting("mail", "method", " smtp ");
    store.SaveSetting("Mail", "Security", "tls");
    store.SaveSetting("Mail", "Host", "mx.example.org");
    EXPECT_EQ(MailServerUrl(LoadMailServer(store)), "smtps://mx.example.org:465");
    store.SaveSetting("Mail", "Method", "carrier pigeon");
    store.SaveSetting("Mail", "Security", "rot13");
    EXPECT_EQ(LoadMailServer(store).method, MailMethod::kSendmail);
    EXPECT_EQ(LoadMailServer(store).security, MailSecurity::kStartTls);
}

// Each bad field is refused by name and nothing reaches the store.
TEST(MailServerSettings, BadFieldsAreRefusedByNameAndNothingIsWritten) {
    const std::pair<const char*, std::function<void(MailServerSettings&)>> cases[] = {
        {"Port:", [](auto& s) { s.port = "0"; }},
        {"Port:", [](auto& s) { s.port = "65536"; }},
        {"Port:", [](auto& s) { s.port = "-25"; }},
        {"Port:", [](auto& s) { s.port = "25a"; }},
        {"Port:", [](auto& s) { s.port = "5 87"; }},
        {"Server:", [](auto& s) { s.host = "mail example.org"; }},
        {"Server:", [](auto& s) { s.host = "mail.example.org\t"; }},
        {"Server:", [](auto& s) { s.host = "me@mail.example.org"; }},
        {"Server:", [](auto& s) { s.host = ""; }},
        {"Sender address:", [](auto& s) { s.from = "me"; }},
        {"Sender address:", [](auto& s) { s.from = "Me <me@example.org>"; }},
        {"Sender address:", [](auto& s) { s.from = "me@"; }},
        {"Sender address:", [](auto& s) { s.from = "a b@example.org"; }},
        {"Sender address:", [](auto& s) { s.from = "jörg@example.org"; }},
        {"Security:", [](auto& s) { s.security = MailSecurity::kNone; }},
    };
    for (const auto& [field, spoil] : cases) {
        MailServerSettings settings = Server();
        spoil(settings);
        MemorySettingsStore store;
        const MaybeError refused = SaveMailServer(store, settings);
        ASSERT_TRUE(refused.has_value()) << field;
        EXPECT_EQ(refused->message.rfind(field, 0), 0u) << refused->message;
        EXPECT_FALSE(store.HasSetting("Mail", "Method")) << field;
        EXPECT_EQ(store.commits, 0);
    }
}

TEST(MailServerSettings, GoodSettingsSaveAndReadBackAndAFailedCommitLeavesTheStore) {
    MailServerSettings settings = Server();
    settings.port = " 2525 ";
    settings.from = " jo@bücher.example ";
    MemorySettingsStore store;
    ASSERT_FALSE(SaveMailServer(store, settings));
    const MailServerSettings read = LoadMailServer(store);
    EXPECT_EQ(MailServerUrl(read), "smtp://mail.example.org:2525");
    EXPECT_EQ(read.from, "jo@bücher.example");
    EXPECT_EQ(MailAccountName(read), "me@mail.example.org");

    settings.host = "other.example.org";
    store.fail_next_commit = "disk full";
    ASSERT_TRUE(SaveMailServer(store, settings));
    EXPECT_EQ(store.GetSetting("Mail", "Host", ""), "mail.example.org");
}

}  // namespace
}  // namespace pesterly
