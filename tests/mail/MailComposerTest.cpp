#include "platform/mail/MailComposer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "MailTestKit.h"

namespace pesterly {
namespace {

using namespace testing;  // the mail tests' kit
using Addresses = std::vector<std::string>;

constexpr const char* kFrom = "pesterly@home.example";

MailDraft Draft(std::string to, Addresses recipients, std::string subject = "Pay the rent",
                std::string text = "Due today.") {
    return MailDraft{subject, subject, std::move(text), std::move(to), std::move(recipients)};
}

// Blind copies reach the envelope but no header; groups are flattened and nobody gets two.
// The sender's address, a date and a message id of the sender's domain head every mail.
TEST(MailComposer, EveryRecipientIsInTheEnvelopeAndOnlyToInTheHeaders) {
    const std::string me = "me@home.example", bcc = "a@x.org,Bo <b@y.org>";
    const std::string none = "undisclosed-recipients:;";
    const std::string team = "s@x.org,Smith, John <j@x.org>,team: t1@x.org, t2@x.org;,s@x.org";
    const Addresses members = {"s@x.org", "j@x.org", "t1@x.org", "t2@x.org"};
    const struct {
        std::string to;
        Addresses recipients;
        Addresses envelope;
        Addresses shown;  // in the To header
        std::string from = kFrom;
        std::string sender = kFrom;
    } cases[] = {
        {me, {me, bcc}, {me, "a@x.org", "b@y.org"}, {me}},
        {none,
         {none, bcc},
         {"a@x.org", "b@y.org"},
         {"undisclosed-recipients"},
         "Pat Doe <pat@doe.example>",
         "pat@doe.example"},
        {team, {team}, members, members},
    };
    for (const auto& c : cases) {
        const Result<ComposedMail> composed = ComposeMail(Draft(c.to, c.recipients), c.from);
        ASSERT_TRUE(composed);
        const ComposedMail& mail = *composed;
        EXPECT_EQ(mail.sender, c.sender);
        EXPECT_EQ(mail.envelope_recipients, c.envelope);
        const ParsedMail parsed = ParseMail(mail.text);
        EXPECT_TRUE(Says(parsed.to, c.shown));
        EXPECT_EQ(parsed.raw_headers.find("a@x.org"), std::string::npos) << parsed.raw_headers;
        EXPECT_EQ(parsed.raw_headers.find("b@y.org"), std::string::npos) << parsed.raw_headers;
        EXPECT_FALSE(parsed.HasHeader("Bcc") || parsed.HasHeader("Cc")) << parsed.raw_headers;
        EXPECT_TRUE(parsed.HasHeader("Date")) << parsed.raw_headers;
        EXPECT_TRUE(Says(parsed.raw_headers, {"From: " + c.from}));
        const size_t id = parsed.raw_headers.find("Message-Id: <");
        ASSERT_NE(id, std::string::npos) << parsed.raw_headers;
        EXPECT_TRUE(Says(parsed.raw_headers.substr(id, parsed.raw_headers.find('\n', id) - id),
                         {c.sender.substr(c.sender.find('@')) + ">"}));
    }
}

TEST(MailComposer, UnreadableRecipientsAndSendersAreRefusedByName) {
    using namespace std::string_literals;
    const struct {
        std::string to;
        std::string recipient;
        std::string named;  // what the message must name
        const char* from = kFrom;
    } cases[] = {
        {"a@x.org\r\nBcc: evil@bad.example", "a@x.org", "line break"},
        {"a@x.org", "a@x.org\nevil@bad.example", "line break"},
        {"a@x.org", "a@x.org,bob", "\"bob\""},
        {"a@x.org;b@x.org", "a@x.org", "b@x.org"},
        {"a@x.org", "a@x.org, foo bar baz", "foo bar baz"},
        {"x@@y", "x@@y", "x@@y"},
        {"a@x.org", "jörg@example.org", "plain ASCII"},
        {"a@x.org", "a@x.org\0,b@x.org"s, "NUL"},
        {"a@x.org", "   ", "no recipient"},
        {"undisclosed-recipients:;", "undisclosed-recipients:;", "no recipient"},
        {"me@x.org", "me@x.org", "nobody", "nobody"},  // a sender without address
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.recipient);
        const Result<ComposedMail> composed = ComposeMail(Draft(c.to, {c.recipient}), c.from);
        ASSERT_FALSE(composed);
        EXPECT_TRUE(Says(composed.error().message, {c.named}));
    }
}

// The mail reader shows what was typed, the message holds only 7-bit bytes and lines that
// end in LF until sent, and nothing in the text can add a header.
TEST(MailComposer, SubjectAndTextArriveAsTypedWhateverTheyHold) {
    using namespace std::string_literals;
    const struct {
        std::string subject;
        std::string text;
        std::string shown_subject;  // empty: as typed
        std::string shown_text;
    } cases[] = {
        {"Grüße – Miete zahlen, 5 € ✓", "Erste Zeile: Grüße, ü\r\nZweite Zeile\rDritte\n.\nend", "",
         "Erste Zeile: Grüße, ü\nZweite Zeile\nDritte\n.\nend\n"},  // the last line ends too
        {"Rent\r\nBcc: evil@bad.example\nX-Injected: yes", "x",
         "Rent  Bcc: evil@bad.example X-Injected: yes", "x\n"},
        // Text that looks like an encoded word stays text in every mail reader.
        {"=?utf-8?q?Rent=0D=0ABcc=3A_evil=40bad=2Eexample?=", "x", "", "x\n"},
        {"Pay =?iso-8859-1?q?f=FCr?= it, =?utf-8?B?w7w=?=: Grüße", "x", "", "x\n"},
        {"=?" + std::string(70, 'x') + "ü" + std::string(40, '_') + "€€€€€€€€€€€€€€€€€€€€€€€€",
         "=?utf-8?q?a?=", "", "=?utf-8?q?a?=\n"},
        // A NUL (from a hand-edited file) is dropped, not an end of the text.
        {"Rent\0 due\0"s, "Line\0 one\0\nLine two"s, "Rent due", "Line one\nLine two\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.subject);
        const Result<ComposedMail> composed =
            ComposeMail(Draft("me@home.example", {"me@home.example"}, c.subject, c.text), kFrom);
        ASSERT_TRUE(composed);
        const ComposedMail& mail = *composed;
        EXPECT_EQ(mail.envelope_recipients, Addresses{"me@home.example"});
        const ParsedMail parsed = ParseMail(mail.text);
        EXPECT_EQ(parsed.subject, c.shown_subject.empty() ? c.subject : c.shown_subject);
        EXPECT_EQ(parsed.text, c.shown_text);
        EXPECT_FALSE(parsed.HasHeader("Bcc") || parsed.HasHeader("X-Injected"));
        EXPECT_TRUE(std::ranges::all_of(mail.text, [](unsigned char byte) {
            return byte < 0x80 && byte != '\r' && byte != '\0';
        })) << mail.text;
    }
}

// EMAIL, when set, is the sender as it stands (the whole-day end-to-end test sends with it).
TEST(MailComposer, DefaultSenderWithoutEmailIsTheUserAtMailnameElseTheHostName) {
    testing::TempFolder folder;
    const std::string mailname = folder.Write("mailname", "mail.home.example\nignored\n");
    testing::ScopedEnv no_email("EMAIL", nullptr);
    const std::string from_mailname = DefaultSenderAddress(mailname.c_str());
    const size_t at = from_mailname.find('@');
    ASSERT_TRUE(at != std::string::npos && at > 0) << from_mailname;
    EXPECT_EQ(from_mailname.substr(at), "@mail.home.example");
    char host[256] = {};
    ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
    EXPECT_EQ(DefaultSenderAddress((folder.Path() + "/missing").c_str()),
              from_mailname.substr(0, at) + "@" + host);
}

}  // namespace
}  // namespace pesterly
