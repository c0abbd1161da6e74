#include "mail/NagMail.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "mail/NagListSettings.h"
#include "support/MemorySettingsStore.h"

namespace pesterly {
namespace {

using Settings = std::vector<std::pair<std::string, std::string>>;
using Texts = std::vector<std::string>;

// The draft for an event with this special address, read with this NagList section.
std::optional<MailDraft> DraftFor(bool use_nag_list, std::string special,
                                  const Settings& settings) {
    testing::MemorySettingsStore store;
    for (const auto& [key, value] : settings) {
        store.SaveSetting("NagList", key, value);
    }
    Happening event;
    event.SendMail = true;
    event.UseNagList = use_nag_list;
    event.SpecialEmail = std::move(special);
    event.Desc = "  Pay the rent  ";
    event.EmailBody = "Line one\nLine two ";
    return NagMailDraft(event, ReadNagList(store));
}

// Who sees the mail and who receives it; an empty To line where nobody is to be mailed.
TEST(NagMail, DraftsForEveryAddressingOfTheList) {
    const Settings two = {{"EmailCount", "2"}, {"Email0", "e0@x.org"}, {"Email1", "e1@x.org"}};
    const Settings bcc = {{"EmailCount", "1"}, {"Email0", "e0@x.org"}, {"UseTO", "False"}};
    const auto with = [](Settings settings, std::string key, std::string value) {
        settings.emplace_back(std::move(key), std::move(value));
        return settings;
    };
    const Settings sparse = {{"EmailCount", " 4"}, {"Email0", "e0"}, {"Email2", " "}};
    const Settings bcc_me = with(bcc, "ToAddress", "me@x.org");
    const std::string hidden = "undisclosed-recipients:;";
    const struct {
        bool use_nag_list;
        std::string special;
        Settings settings;
        std::string to;
        Texts recipients;
    } cases[] = {
        {true, "s@x.org", two, "s@x.org,e0@x.org,e1@x.org", {"s@x.org", "e0@x.org", "e1@x.org"}},
        {true, "   ", two, "e0@x.org,e1@x.org", {"e0@x.org", "e1@x.org"}},
        {false, " s@x.org ", two, " s@x.org ", {" s@x.org "}},
        // Entries never stored, or blank, are left out: nobody the user did not enter is mailed.
        {true, "s@x.org", sparse, "s@x.org,e0", {"s@x.org", "e0"}},
        {true, "s@x.org", {{"EmailCount", "4"}}, "s@x.org", {"s@x.org"}},
        // Blind copies: only the exact word True shows the list.
        {true, "s@x.org", bcc_me, "me@x.org", {"me@x.org", "s@x.org", "e0@x.org"}},
        {true, "s@x.org", bcc, hidden, {"s@x.org", "e0@x.org"}},
        {true, "s@x.org", with(bcc, "ToAddress", "  "), hidden, {"s@x.org", "e0@x.org"}},
        {true, "", with(two, "UseTO", "true"), hidden, {"e0@x.org", "e1@x.org"}},
        {false, "s@x.org", bcc_me, "s@x.org", {"s@x.org"}},
        // Nobody to mail, and a list mail with an empty list goes to nobody at all.
        {false, "   ", two, "", {}},
        {true, "s@x.org", {}, "", {}},
        {true, "s@x.org", {{"EmailCount", "two"}, {"Email0", "e0@x.org"}}, "", {}},
        {true, "  ", {{"EmailCount", "1"}, {"Email0", "  "}}, "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("special \"" + c.special + "\", expected To \"" + c.to + "\"");
        const std::optional<MailDraft> draft = DraftFor(c.use_nag_list, c.special, c.settings);
        if (c.to.empty()) {
            EXPECT_FALSE(draft);
            continue;
        }
        ASSERT_TRUE(draft);
        EXPECT_EQ(*draft, (MailDraft{"  Pay the rent  ", "  Pay the rent  ", "Line one\nLine two ",
                                     c.to, c.recipients}));
    }
}

// A kept mail reads back whole, whatever its fields hold; a text that is not one, or is cut
// short anywhere, is no mail, never part of one, and the reason says which.
TEST(NagMail, ComposedMailSurvivesItsFileAndDamageIsRefused) {
    const std::string long_line(5000, 'x');
    const std::vector<ComposedMail> mails{
        {"Rent\\n\nnow\r", "me@x.org", {"a@x.org", "b@y.org"}, "To: a\n\nHi\n"},
        {"Rent", "\"me too\"@x.org", {"\"john doe\"@example.org", "\"a\\\"b\"@x.org"}, "x"},
        {"Miete für Jürgen", "jürgen@bücher.example", {"ö@x.org", " a@x.org "}, "Grüße\n"},
        {long_line, long_line + "@x.org", {long_line + "@y.org"}, long_line + "\n\n" + long_line},
    };
    for (const ComposedMail& mail : mails) {
        const Result<ComposedMail> read = ComposedMailFromText(ComposedMailToText(mail));
        ASSERT_TRUE(read) << mail.sender;
        EXPECT_EQ(*read, mail);
    }
    const std::string text = ComposedMailToText(mails[0]);
    const std::string head = text.substr(0, text.find("\n\n") + 2);
    const std::pair<std::string, std::string> damaged[] = {
        {"To: a\n\nHi\n", "no nag mail"},
        {head, "cut short: its message has 0 of the 10 bytes"},
        {text + "x", "damaged"},
        {"Pesterly-Mail: 2\nEvent: x\nSender: a\nRecipient: b\n\nx", "no length"},
        {"Pesterly-Mail: 2\nEvent: x\nSender: a\\r\nRecipient: b\nLength: 1\n\nx", "a\\r"},
        {"Pesterly-Mail: 1\nEvent: x\nSender: a\nRecipient: b\nBcc: c\n\nx", "Bcc: c"},
    };
    for (const auto& [bytes, reason] : damaged) {
        const Result<ComposedMail> read = ComposedMailFromText(bytes);
        ASSERT_FALSE(read) << bytes;
        EXPECT_NE(read.error().message.find(reason), std::string::npos) << read.error().message;
    }
    // Files of the first form, written whole with the address as it stood, are still read.
    const Result<ComposedMail> read = ComposedMailFromText(
        "Pesterly-Mail: 1\nEvent: x\nSender: a\nRecipient: \"john doe\"@example.org\n\nx");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->envelope_recipients, std::vector<std::string>{"\"john doe\"@example.org"});
}

TEST(NagListSettings, DamagedCountReadsAsNothingOrIsHeldToTheLimit) {
    const std::pair<const char*, size_t> cases[] = {
        {"two", 0},   {"", 0},        {"-4", 0},      {" 2 ", 2},
        {"999", 999}, {"1000", 1000}, {"1001", 1000}, {"99999999", 1000}};
    for (const auto& [stored, expected] : cases) {
        testing::MemorySettingsStore store;
        store.SaveSetting("NagList", "EmailCount", stored);
        EXPECT_EQ(ReadNagList(store).entries.size(), expected) << stored;
    }
}

}  // namespace
}  // namespace pesterly
