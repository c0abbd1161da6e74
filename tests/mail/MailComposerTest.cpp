#include "platform/MailComposer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "MailTestKit.h"

namespace pesterly {
namespace {

using testing::ParsedMail;
using testing::ParseMail;

constexpr const char* kFrom = "pesterly@home.example";

MailDraft Draft(std::string to, std::vector<std::string> recipients,
                std::string subject = "Pay the rent", std::string text = "Due today.") {
    return MailDraft{subject, subject, std::move(text), std::move(to), std::move(recipients)};
}
MailDraft ToMe(std::string subject = "Pay the rent", std::string text = "Due today.") {
    return Draft("me@home.example", {"me@home.example"}, std::move(subject), std::move(text));
}

ComposedMail MustCompose(const MailDraft& draft) {
    ComposedMail mail;
    const MaybeError error = ComposeMail(draft, kFrom, mail);
    EXPECT_FALSE(error) << error->message;
    return mail;
}

TEST(MailComposer, BlindCopiesReachTheEnvelopeButNoHeader) {
    const std::string bcc = "a@x.org,Bo <b@y.org>";
    const struct {
        std::string to;
        std::string shown;
        std::vector<std::string> envelope;
    } cases[] = {
        {"me@home.example", "me@home.example", {"me@home.example", "a@x.org", "b@y.org"}},
        {"undisclosed-recipients:;", "undisclosed-recipients", {"a@x.org", "b@y.org"}},
    };
    for (const auto& c : cases) {
        const ComposedMail mail = MustCompose(Draft(c.to, {c.to, bcc}));
        EXPECT_EQ(mail.sender, kFrom);
        EXPECT_EQ(mail.envelope_recipients, c.envelope);
        const ParsedMail parsed = ParseMail(mail.text);
        EXPECT_NE(parsed.to.find(c.shown), std::string::npos) << parsed.to;
        EXPECT_EQ(parsed.raw_headers.find("x.org"), std::string::npos) << parsed.raw_headers;
        EXPECT_EQ(parsed.raw_headers.find("y.org"), std::string::npos) << parsed.raw_headers;
        EXPECT_FALSE(parsed.HasHeader("Bcc"));
        EXPECT_FALSE(parsed.HasHeader("Cc"));
    }
}

TEST(MailComposer, ToRecipientsAreListedAndGroupsFlattened) {
    const std::string text = "s@x.org,Smith, John <j@x.org>,team: t1@x.org, t2@x.org;,s@x.org";
    const ComposedMail mail = MustCompose(Draft(text, {text}));
    EXPECT_EQ(mail.envelope_recipients,
              (std::vector<std::string>{"s@x.org", "j@x.org", "t1@x.org", "t2@x.org"}));
    const ParsedMail parsed = ParseMail(mail.text);
    for (const char* address : {"s@x.org", "j@x.org", "t1@x.org", "t2@x.org"}) {
        EXPECT_NE(parsed.to.find(address), std::string::npos) << parsed.to;
    }
}

TEST(MailComposer, LineBreakInTheSubjectCannotAddAHeader) {
    const ComposedMail mail = MustCompose(ToMe("Rent\r\nBcc: evil@bad.example\nX-Injected: yes"));
    EXPECT_EQ(mail.envelope_recipients, std::vector<std::string>{"me@home.example"});
    const ParsedMail parsed = ParseMail(mail.text);
    EXPECT_FALSE(parsed.HasHeader("Bcc"));
    EXPECT_FALSE(parsed.HasHeader("X-Injected"));
    EXPECT_EQ(parsed.subject, "Rent  Bcc: evil@bad.example X-Injected: yes");
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
        ComposedMail mail;
        const MaybeError error = ComposeMail(Draft(c.to, {c.recipient}), c.from, mail);
        ASSERT_TRUE(error);
        EXPECT_NE(error->message.find(c.named), std::string::npos) << error->message;
    }
}

TEST(MailComposer, SubjectAndTextArriveAsTypedWhateverTheyHold) {
    using namespace std::string_literals;
    const struct {
        std::string subject;
        std::string text;
        std::string shown_subject;
        std::string shown_text;
    } cases[] = {
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
        const ComposedMail mail = MustCompose(ToMe(c.subject, c.text));
        const ParsedMail parsed = ParseMail(mail.text);
        EXPECT_EQ(parsed.subject, c.shown_subject.empty() ? c.subject : c.shown_subject);
        EXPECT_EQ(parsed.text, c.shown_text);
        EXPECT_FALSE(parsed.HasHeader("Bcc"));
        EXPECT_EQ(mail.text.find('\0'), std::string::npos);
    }
}

TEST(MailComposer, NonAsciiSubjectAndBodyStaySevenBitAndDecodeIntact) {
    const std::string subject = "Grüße – Miete zahlen, 5 € ✓";
    const std::string text = "Erste Zeile: Grüße, ü\r\nZweite Zeile\rDritte\n.\nend";
    const ComposedMail mail = MustCompose(ToMe(subject, text));
    const ParsedMail parsed = ParseMail(mail.text);
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.subject, subject);
    // A mail's last line ends with a line break like every other.
    EXPECT_EQ(parsed.text, "Erste Zeile: Grüße, ü\nZweite Zeile\nDritte\n.\nend\n");
    EXPECT_EQ(parsed.charset, "utf-8");
    for (size_t i = 0; i < mail.text.size(); ++i) {
        ASSERT_LT(static_cast<unsigned char>(mail.text[i]), 0x80) << "8-bit byte at " << i;
        ASSERT_NE(mail.text[i], '\r') << "CR at byte " << i;  // lines end in LF until sent
    }
}

TEST(MailComposer, SenderDateAndMessageIdAreSet) {
    const ParsedMail parsed = ParseMail(MustCompose(ToMe()).text);
    EXPECT_TRUE(parsed.HasHeader("Date"));
    EXPECT_NE(parsed.raw_headers.find("From: pesterly@home.example"), std::string::npos);
    const size_t id = parsed.raw_headers.find("Message-Id: <");
    ASSERT_NE(id, std::string::npos) << parsed.raw_headers;
    const std::string id_line =
        parsed.raw_headers.substr(id, parsed.raw_headers.find('\n', id) - id);
    EXPECT_NE(id_line.find("@home.example>"), std::string::npos) << id_line;

    ComposedMail named;
    ASSERT_FALSE(ComposeMail(ToMe(), "Pat Doe <pat@doe.example>", named));
    EXPECT_EQ(named.sender, "pat@doe.example");
}

TEST(MailComposer, DefaultSenderPrefersEmailThenMailnameThenHostName) {
    testing::TempFolder folder;
    const std::string mailname = folder.Write("mailname", "mail.home.example\nignored\n");
    {
        testing::ScopedEnv email("EMAIL", "Pat <pat@doe.example>");
        EXPECT_EQ(DefaultSenderAddress(mailname.c_str()), "Pat <pat@doe.example>");
    }
    testing::ScopedEnv no_email("EMAIL", nullptr);
    const std::string from_mailname = DefaultSenderAddress(mailname.c_str());
    const size_t at = from_mailname.find('@');
    ASSERT_NE(at, std::string::npos);
    ASSERT_GT(at, 0u);
    EXPECT_EQ(from_mailname.substr(at), "@mail.home.example");

    char host[256] = {};
    ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
    const std::string from_host = DefaultSenderAddress((folder.Path() + "/missing").c_str());
    EXPECT_EQ(from_host, from_mailname.substr(0, at) + "@" + host);
}

}  // namespace
}  // namespace pesterly
