#include "mail/MailServerSettings.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/MemorySettingsStore.h"

namespace pesterly {
namespace {

using testing::MemorySettingsStore;

TEST(MailServerSettings, HandEditedValuesReadWithoutRegardToCaseAndOddOnesAsDefaults) {
    MemorySettingsStore store;
    EXPECT_EQ(LoadMailServer(store).method, MailMethod::kSendmail);
    store.SaveSetting("mail", "method", " smtp ");
    store.SaveSetting("Mail", "Security", "tls");
    store.SaveSetting("Mail", "Host", "mx.example.org");
    EXPECT_EQ(MailServerUrl(LoadMailServer(store)), "smtps://mx.example.org:465");
    store.SaveSetting("Mail", "Method", "carrier pigeon");
    store.SaveSetting("Mail", "Security", "rot13");
    const MailServerSettings odd = LoadMailServer(store);
    EXPECT_EQ(odd.method, MailMethod::kSendmail);
    EXPECT_EQ(MailServerUrl(odd), "smtp://mx.example.org:587");
}

// Each bad field is refused by name, and nothing reaches the store; good ones read back.
TEST(MailServerSettings, BadFieldsAreRefusedByNameAndNothingIsWritten) {
    const std::pair<const char*, std::function<void(MailServerSettings&)>> cases[] = {
        {"Port:", [](auto& s) { s.port = "0"; }},
        {"Port:", [](auto& s) { s.port = "65536"; }},
        {"Port:", [](auto& s) { s.port = "25a"; }},
        {"Server:", [](auto& s) { s.host = "mail example.org"; }},
        {"Server:", [](auto& s) { s.host = ""; }},
        {"Sender address:", [](auto& s) { s.from = "me"; }},
        {"Sender address:", [](auto& s) { s.from = "Me <me@example.org>"; }},
        {"Sender address:", [](auto& s) { s.from = "jörg@example.org"; }},
        {"Security:", [](auto& s) { s.security = MailSecurity::kNone; }},
        {"",
         [](auto& s) {
             s.port = " 65535 ";
             s.from = " jo@bücher.example ";
         }},
    };
    for (const auto& [field, change] : cases) {
        MailServerSettings settings{MailMethod::kSmtp, "mail.example.org", "", {}, "me", ""};
        change(settings);
        MemorySettingsStore store;
        Options options;
        const Result<void> saved = SaveMailServer(store, options, settings);
        const std::string message = saved ? "" : saved.error().message;
        EXPECT_EQ(message.substr(0, message.find(':') + 1), field);
        EXPECT_EQ(store.HasSetting("Mail", "Method"), saved.ok()) << field;
    }
    MemorySettingsStore store;
    Options options;
    ASSERT_TRUE(SaveMailServer(
        store, options,
        {MailMethod::kSmtp, "mx.example.org", " 2525 ", {}, "me", " jo@bücher.example "}));
    EXPECT_EQ(MailServerUrl(LoadMailServer(store)), "smtp://mx.example.org:2525");
    EXPECT_EQ(LoadMailServer(store).from, "jo@bücher.example");
    store.fail_next_commit = "disk full";
    ASSERT_FALSE(
        SaveMailServer(store, options, {MailMethod::kSmtp, "other.example.org", "", {}, "", ""}));
    EXPECT_EQ(store.GetSetting("Mail", "Host", ""), "mx.example.org") << "a failed save undone";
    EXPECT_EQ(options.Mail.host, "mx.example.org");
}

}  // namespace
}  // namespace pesterly
