#include "mail/NagMail.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "store/SettingsLayout.h"
#include "support/MemorySettingsStore.h"
#include "support/RecordingMailSession.h"

namespace pesterly {
namespace {

using testing::MemorySettingsStore;
using testing::RecordingMailSession;
using Recipient = RecordingMailSession::Recipient;

const std::vector<std::string> kFullSequence = {
    "SignOn", "Compose", "AddRecipient", "SetSubject", "SetNoteText", "Send", "SignOff"};

Happening Event(std::string special, bool use_nag_list) {
    Happening event;
    event.SendMail = true;
    event.SpecialEmail = std::move(special);
    event.UseNagList = use_nag_list;
    event.Desc = "  Pay the rent  ";
    event.EmailBody = "Line one\nLine two ";
    return event;
}

void StoreList(MemorySettingsStore& store, const std::vector<std::string>& entries) {
    store.SaveSetting(sections::kNagList, "EmailCount", std::to_string(entries.size()));
    for (size_t k = 0; k < entries.size(); ++k) {
        store.SaveSetting(sections::kNagList, "Email" + std::to_string(k), entries[k]);
    }
}

TEST(NagMail, RecipientTextJoinsSpecialAddressAndList) {
    struct Case {
        bool use_nag_list;
        std::string special;
        std::string expected;
    };
    const Case cases[] = {
        {true, "s@x.org", "s@x.org,e0@x.org,e1@x.org"},
        {true, "", "e0@x.org,e1@x.org"},
        {true, "   ", "   e0@x.org,e1@x.org"},
        {false, "s@x.org", "s@x.org"},
        {false, " s@x.org ", " s@x.org "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("special \"" + c.special + "\", list " + (c.use_nag_list ? "on" : "off"));
        MemorySettingsStore store;
        StoreList(store, {"e0@x.org", "e1@x.org"});
        RecordingMailSession session;
        EXPECT_FALSE(SendNagMail(Event(c.special, c.use_nag_list), store, session));
        EXPECT_EQ(session.calls, kFullSequence);
        ASSERT_EQ(session.recipients.size(), 1u);
        EXPECT_EQ(session.recipients[0], (Recipient{RecipientType::kTo, c.expected, c.expected}));
        EXPECT_EQ(session.subject, "  Pay the rent  ");
        EXPECT_EQ(session.text, "Line one\nLine two ");
    }
}

TEST(NagMail, BlindCopiesHideEveryRealRecipientBehindTheToAddress) {
    MemorySettingsStore store;
    StoreList(store, {"e0@x.org", "e1@x.org"});
    store.SaveSetting(sections::kNagList, "UseTO", "False");
    store.SaveSetting(sections::kNagList, "ToAddress", "me@x.org");
    RecordingMailSession session;
    ASSERT_FALSE(SendNagMail(Event("s@x.org", true), store, session));
    EXPECT_EQ(session.calls,
              (std::vector<std::string>{"SignOn", "Compose", "AddRecipient", "AddRecipient",
                                        "SetSubject", "SetNoteText", "Send", "SignOff"}));
    const std::string all = "s@x.org,e0@x.org,e1@x.org";
    EXPECT_EQ(session.recipients, (std::vector<Recipient>{{RecipientType::kTo, "", "me@x.org"},
                                                          {RecipientType::kBcc, all, all}}));
}

TEST(NagMail, OnlyTheExactWordTrueChoosesToAddressing) {
    struct Case {
        bool use_nag_list;
        std::optional<std::string> use_to;  // nullopt: never stored
        size_t entries;
        RecipientType type;
    };
    const Case cases[] = {
        {true, "True", 1, RecipientType::kTo},
        {true, std::nullopt, 1, RecipientType::kTo},
        {true, "true", 2, RecipientType::kBcc},
        {true, "TRUE", 2, RecipientType::kBcc},
        {true, " True", 2, RecipientType::kBcc},
        {true, "False", 2, RecipientType::kBcc},
        {true, "", 2, RecipientType::kBcc},
        // Without the list the special address is always visible.
        {false, "False", 1, RecipientType::kTo},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("UseTO \"" + c.use_to.value_or("(missing)") + "\"");
        MemorySettingsStore store;
        StoreList(store, {"e0@x.org"});
        if (c.use_to) {
            store.SaveSetting(sections::kNagList, "UseTO", *c.use_to);
        }
        RecordingMailSession session;
        ASSERT_FALSE(SendNagMail(Event("s@x.org", c.use_nag_list), store, session));
        ASSERT_EQ(session.recipients.size(), c.entries);
        EXPECT_EQ(session.recipients.back().type, c.type);
        EXPECT_EQ(session.recipients.back().address,
                  c.use_nag_list ? "s@x.org,e0@x.org" : "s@x.org");
    }
}

TEST(NagMail, PlaceholderToAddressOnlyWhenTheKeyIsMissing) {
    MemorySettingsStore store;
    StoreList(store, {"e0@x.org"});
    store.SaveSetting(sections::kNagList, "UseTO", "False");
    RecordingMailSession missing;
    ASSERT_FALSE(SendNagMail(Event("", true), store, missing));
    ASSERT_EQ(missing.recipients.size(), 2u);
    EXPECT_EQ(missing.recipients[0].address, "undisclosed-recipients:;");

    store.SaveSetting(sections::kNagList, "ToAddress", "");
    RecordingMailSession empty;
    ASSERT_FALSE(SendNagMail(Event("", true), store, empty));
    ASSERT_EQ(empty.recipients.size(), 2u);
    EXPECT_EQ(empty.recipients[0], (Recipient{RecipientType::kTo, "", ""}));
}

TEST(NagMail, NobodyToMailEndsSilentlyWithoutSigningOn) {
    struct Case {
        const char* name;
        Happening event;
        std::vector<std::pair<std::string, std::string>> settings;
    };
    const Case cases[] = {
        {"no list, empty special address", Event("", false), {}},
        {"no list, blank special address", Event("   ", false), {}},
        {"list wanted, no count stored", Event("s@x.org", true), {}},
        {"list wanted, count 0", Event("s@x.org", true), {{"EmailCount", "0"}, {"Email0", "e"}}},
        {"list wanted, count not a number",
         Event("s@x.org", true),
         {{"EmailCount", "two"}, {"Email0", "e0@x.org"}}},
        {"list of missing entries, blank special address",
         Event("  ", true),
         {{"EmailCount", "2"}}},
        {"list of blank entries", Event("", true), {{"EmailCount", "1"}, {"Email0", "  "}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemorySettingsStore store;
        for (const auto& [key, value] : c.settings) {
            store.SaveSetting(sections::kNagList, key, value);
        }
        RecordingMailSession session;
        EXPECT_FALSE(SendNagMail(c.event, store, session));
        EXPECT_FALSE(session.Touched()) << session.calls.front();
    }
}

TEST(NagMail, EntriesThatWereNeverStoredAreLeftOut) {
    struct Case {
        std::string special;
        std::vector<std::pair<int, std::string>> entries;
        std::string expected;
    };
    const Case cases[] = {
        {"s@x.org", {{0, "e0@x.org"}, {2, "e2@x.org"}}, "s@x.org,e0@x.org,e2@x.org"},
        {"", {{1, "e1@x.org"}}, "e1@x.org"},
        {"s@x.org", {}, "s@x.org"},
        {"  ", {{3, "e3@x.org"}}, "  e3@x.org"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        MemorySettingsStore store;
        store.SaveSetting(sections::kNagList, "EmailCount", " 4");
        for (const auto& [k, value] : c.entries) {
            store.SaveSetting(sections::kNagList, "Email" + std::to_string(k), value);
        }
        RecordingMailSession session;
        ASSERT_FALSE(SendNagMail(Event(c.special, true), store, session));
        ASSERT_EQ(session.recipients.size(), 1u);
        EXPECT_EQ(session.recipients[0].address, c.expected);
    }
}

TEST(NagMail, ListEditsApplyToTheNextMail) {
    MemorySettingsStore store;
    StoreList(store, {"old@x.org"});
    RecordingMailSession first;
    ASSERT_FALSE(SendNagMail(Event("", true), store, first));
    StoreList(store, {"new@x.org", "other@x.org"});
    store.SaveSetting(sections::kNagList, "UseTO", "False");
    RecordingMailSession second;
    ASSERT_FALSE(SendNagMail(Event("", true), store, second));
    ASSERT_EQ(second.recipients.size(), 2u);
    EXPECT_EQ(second.recipients[1],
              (Recipient{RecipientType::kBcc, "new@x.org,other@x.org", "new@x.org,other@x.org"}));
}

TEST(NagMail, RefusedSignOnStopsBeforeComposing) {
    MemorySettingsStore store;
    RecordingMailSession session;
    session.fail_sign_on = "No mail service: /usr/sbin/sendmail was not found.";
    const MaybeError error = SendNagMail(Event("s@x.org", false), store, session);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, session.fail_sign_on);
    // Never signed on, so there is nothing to sign off.
    EXPECT_EQ(session.calls, std::vector<std::string>{"SignOn"});
}

TEST(NagMail, FailedSendStillSignsOff) {
    MemorySettingsStore store;
    StoreList(store, {"e0@x.org"});
    store.SaveSetting(sections::kNagList, "UseTO", "False");
    RecordingMailSession session;
    session.fail_send = "the mail server refused the recipient e0@x.org: 550 no such user";
    const MaybeError error = SendNagMail(Event("s@x.org", true), store, session);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, session.fail_send);
    ASSERT_FALSE(session.calls.empty());
    EXPECT_EQ(session.calls.back(), "SignOff");
    EXPECT_EQ(std::count(session.calls.begin(), session.calls.end(), "Send"), 1);
}

}  // namespace
}  // namespace pesterly
