#include "mail/NagMail.h"

#include <gtest/gtest.h>

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
using Settings = std::vector<std::pair<std::string, std::string>>;

Happening Event(std::string special, bool use_nag_list) {
    Happening event;
    event.SendMail = true;
    event.SpecialEmail = std::move(special);
    event.UseNagList = use_nag_list;
    event.Desc = "  Pay the rent  ";
    event.EmailBody = "Line one\nLine two ";
    return event;
}

// The calls that send a mail with this many AddRecipient calls.
std::vector<std::string> SendingCalls(size_t recipients) {
    std::vector<std::string> calls = {"SignOn", "Compose"};
    calls.insert(calls.end(), recipients, "AddRecipient");
    calls.insert(calls.end(), {"SetSubject", "SetNoteText", "Send", "SignOff"});
    return calls;
}

// Sends `event` with these nag list settings and checks every call a sent mail makes.
RecordingMailSession Sent(const Happening& event, const Settings& settings) {
    MemorySettingsStore store;
    for (const auto& [key, value] : settings) {
        store.SaveSetting(sections::kNagList, key, value);
    }
    RecordingMailSession session;
    EXPECT_FALSE(SendNagMail(event, store, session));
    if (session.Touched()) {
        EXPECT_EQ(session.calls, SendingCalls(session.recipients.size()));
        EXPECT_EQ(session.subject, "  Pay the rent  ");
        EXPECT_EQ(session.text, "Line one\nLine two ");
    }
    return session;
}

// The special address and the list entries joined into one recipient text; empty where
// nobody is to be mailed, which ends silently without signing on.
TEST(NagMail, RecipientTextJoinsSpecialAddressAndList) {
    const Settings two = {{"EmailCount", "2"}, {"Email0", "e0@x.org"}, {"Email1", "e1@x.org"}};
    const struct {
        bool use_nag_list;
        std::string special;
        Settings settings;
        std::string expected;
    } cases[] = {
        {true, "s@x.org", two, "s@x.org,e0@x.org,e1@x.org"},
        {true, "", two, "e0@x.org,e1@x.org"},
        {true, "   ", two, "   e0@x.org,e1@x.org"},
        {false, " s@x.org ", two, " s@x.org "},
        // Entries that were never stored are left out.
        {true,
         "s@x.org",
         {{"EmailCount", " 4"}, {"Email0", "e0"}, {"Email2", "e2"}},
         "s@x.org,e0,e2"},
        {true, "", {{"EmailCount", "4"}, {"Email1", "e1@x.org"}}, "e1@x.org"},
        {true, "s@x.org", {{"EmailCount", "4"}}, "s@x.org"},
        {true, "  ", {{"EmailCount", "4"}, {"Email3", "e3@x.org"}}, "  e3@x.org"},
        // Nobody to mail.
        {false, "", two, ""},
        {false, "   ", two, ""},
        {true, "s@x.org", {}, ""},
        {true, "s@x.org", {{"EmailCount", "0"}, {"Email0", "e"}}, ""},
        {true, "s@x.org", {{"EmailCount", "two"}, {"Email0", "e0@x.org"}}, ""},
        {true, "  ", {{"EmailCount", "2"}}, ""},
        {true, "", {{"EmailCount", "1"}, {"Email0", "  "}}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("special \"" + c.special + "\", expected \"" + c.expected + "\"");
        const RecordingMailSession session = Sent(Event(c.special, c.use_nag_list), c.settings);
        if (c.expected.empty()) {
            EXPECT_FALSE(session.Touched());
        } else {
            EXPECT_EQ(session.recipients,
                      (std::vector<Recipient>{{RecipientType::kTo, c.expected, c.expected}}));
        }
    }
}

// Only the exact word True shows the list; otherwise every real recipient, the special address
// included, becomes a blind copy behind the chosen To address.
TEST(NagMail, AddressingModes) {
    const std::string all = "s@x.org,e0@x.org";
    const auto blind = [&](std::string to) {
        return std::vector<Recipient>{{RecipientType::kTo, "", std::move(to)},
                                      {RecipientType::kBcc, all, all}};
    };
    const std::vector<Recipient> visible = {{RecipientType::kTo, all, all}};
    const struct {
        bool use_nag_list;
        std::optional<std::string> use_to;  // nullopt: never stored
        std::optional<std::string> to_address;
        std::vector<Recipient> expected;
    } cases[] = {
        {true, "True", "me@x.org", visible},
        {true, std::nullopt, std::nullopt, visible},
        {true, "False", "me@x.org", blind("me@x.org")},
        {true, "true", std::nullopt, blind("undisclosed-recipients:;")},
        {true, "TRUE", std::nullopt, blind("undisclosed-recipients:;")},
        {true, " True", std::nullopt, blind("undisclosed-recipients:;")},
        {true, "", std::nullopt, blind("undisclosed-recipients:;")},
        {true, "False", "", blind("")},
        // Without the list the special address is always visible.
        {false, "False", "me@x.org", {{RecipientType::kTo, "s@x.org", "s@x.org"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("UseTO \"" + c.use_to.value_or("(missing)") + "\"");
        Settings settings = {{"EmailCount", "1"}, {"Email0", "e0@x.org"}};
        if (c.use_to) {
            settings.emplace_back("UseTO", *c.use_to);
        }
        if (c.to_address) {
            settings.emplace_back("ToAddress", *c.to_address);
        }
        EXPECT_EQ(Sent(Event("s@x.org", c.use_nag_list), settings).recipients, c.expected);
    }
}

// A refused sign-on stops before composing, with nothing to sign off; a failed send still signs
// off. Either way the session's reason is the result.
TEST(NagMail, FailuresAreReturnedAndSignOffFollowsEverySignOn) {
    for (const bool sign_on_fails : {true, false}) {
        MemorySettingsStore store;
        RecordingMailSession session;
        const std::string reason = sign_on_fails ? "No mail service" : "550 no such user";
        (sign_on_fails ? session.fail_sign_on : session.fail_send) = reason;
        const MaybeError error = SendNagMail(Event("s@x.org", false), store, session);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->message, reason);
        const std::vector<std::string> signed_on_only = {"SignOn"};
        EXPECT_EQ(session.calls, sign_on_fails ? signed_on_only : SendingCalls(1));
    }
}

}  // namespace
}  // namespace pesterly
