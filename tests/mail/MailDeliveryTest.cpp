// Nag mail end to end: the real composer and transports against a real SMTP server on
// 127.0.0.1, once through libcurl and once through msmtp as the sendmail program.
#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "MailTestKit.h"
#include "platform/mail/MailModule.h"
#include "platform/mail/MailTransport.h"

namespace pesterly {
namespace {

using namespace testing;  // the mail tests' kit
using Outcome = Delivery::Outcome;

constexpr const char* kFrom = "pesterly@home.example";
constexpr const char* kMsmtp = "/usr/bin/msmtp";

enum class Route { kCurl, kSendmail };

// A nag mail as blind copies to the recipients.
MailDraft Draft(std::vector<std::string> recipients = {"s@special.example"},
                std::string text = "The rent is due today.\nDon't forget.") {
    return MailDraft{"Rent", "Pay the rent", std::move(text), "undisclosed-recipients:;",
                     std::move(recipients)};
}

// Sends from kFrom to the server at url or else through the sendmail program.
Delivery SendThrough(const std::string& url, const std::string& sendmail,
                     const MailDraft& draft = Draft(), std::stop_token stop = {}) {
    MailSettings settings;
    settings.smtp_url = url;
    settings.sendmail_program = sendmail;
    settings.from = kFrom;
    settings.stop = std::move(stop);
    return MakeMailPost(settings)->Send(draft);
}

class MailDelivery : public ::testing::TestWithParam<Route> {
  protected:
    // Sends through the route under test to the server on `port`; msmtp reads ~/.msmtprc
    // and libcurl ~/.netrc, both from a folder of the test's own.
    Delivery Send(const MailDraft& draft, int port = 0) {
        port = port != 0 ? port : sink_.Port();
        home_.Write(".msmtprc",
                    "defaults\nauth off\ntls off\naccount default\nhost 127.0.0.1\nport " +
                        std::to_string(port) + "\nfrom " + kFrom + "\n",
                    0600);
        ScopedEnv home("HOME", home_.Path().c_str());
        return GetParam() == Route::kCurl ? SendThrough("smtp://127.0.0.1:" + std::to_string(port),
                                                        "", draft, end_.get_token())
                                          : SendThrough("", kMsmtp, draft, end_.get_token());
    }

    SmtpSink sink_;
    TempFolder home_;
    std::stop_source end_;
};

// Every recipient gets a blind copy: the envelope names them all, no header does, and the
// text arrives as typed, a line of a single dot that must not end the message early too.
// What the headers hold is the composer's work (MailComposerTest).
TEST_P(MailDelivery, EveryRecipientGetsTheTextIntact) {
    const std::string body = "Erste Zeile mit Umlauten: äöü ß\n.\nZweite Zeile.";
    const Delivery sent =
        Send(Draft({"s@special.example", "e0@list.example,Eve <e1@list.example>"}, body));
    ASSERT_EQ(sent.outcome, Outcome::kSent) << sent.message;
    const std::optional<SmtpSink::Delivery> delivery = sink_.NextDelivery();
    ASSERT_TRUE(delivery);
    EXPECT_EQ(delivery->mail_from, kFrom);
    EXPECT_EQ(delivery->rcpt_tos, (std::vector<std::string>{"e0@list.example", "e1@list.example",
                                                            "s@special.example"}));
    const testing::ParsedMail parsed = testing::ParseMail(delivery->raw);
    EXPECT_EQ(parsed.raw_headers.find("@list.example"), std::string::npos) << parsed.raw_headers;
    EXPECT_EQ(parsed.text, body + "\n");  // the last line gets its line end
}

TEST_P(MailDelivery, FailureNamesTheRefusedAddressOrTheServerThatCannotBeReached) {
    const Delivery refused = Send(Draft({"e0@list.example", SmtpSink::kRefusedAddress}));
    EXPECT_EQ(refused.outcome, Outcome::kRefused);  // not worth a retry
    EXPECT_TRUE(Says(refused.message, {SmtpSink::kRefusedAddress, "550"}));
    testing::ClosedPort closed;
    const Delivery unreached = Send(Draft(), closed.Port());
    EXPECT_EQ(unreached.outcome, Outcome::kTryLater);
    EXPECT_TRUE(Says(unreached.message, {std::to_string(closed.Port()), "onnect"}));
    EXPECT_FALSE(sink_.StoredAny());
}

TEST_P(MailDelivery, EndOfTheProgramStopsAMailToAServerThatNeverAnswers) {
    testing::ClosedPort silent(testing::ClosedPort::kSilent);
    ASSERT_GT(silent.Port(), 0);
    auto sending = std::async(std::launch::async, [&] { return Send(Draft(), silent.Port()); });
    ASSERT_TRUE(silent.ClientWaiting());
    end_.request_stop();
    // Far below the 20 s and 120 s the mail would otherwise wait for the server.
    ASSERT_EQ(sending.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    const Delivery sent = sending.get();
    EXPECT_EQ(sent.outcome, Outcome::kTryLater);  // kept for the next start
    EXPECT_TRUE(Says(sent.message, {"Pesterly is ending"}));
}

INSTANTIATE_TEST_SUITE_P(Routes, MailDelivery, ::testing::Values(Route::kCurl, Route::kSendmail),
                         [](const auto& route) {
                             return route.param == Route::kCurl ? "Curl" : "Msmtp";
                         });

// Whatever form the server's host takes in the URL and in ~/.netrc, a login libcurl could find
// there makes the connection encrypted or nothing is sent.
TEST(MailService, LoginNeverCrossesTheNetworkInPlainText) {
    SmtpSink sink;  // takes a login without TLS, on 127.0.0.1 and ::1
    const std::string port = std::to_string(sink.Port());
    const std::string server = "localhost:" + port;
    const std::string login = " login me password secret\n";
    const struct {
        std::string url;
        std::string netrc;
        const char* named;  // where the message says the login comes from; null: mail sent
    } cases[] = {
        {"smtp://" + server, "machine LocalHost" + login, "~/.netrc"},
        {"smtp://LOCALHOST:" + port, "machine localhost." + login, "~/.netrc"},
        {"smtp://" + server, "machine a.example login a password b\ndefault login me password x\n",
         "~/.netrc"},
        {"smtp://" + server, "\"machine\" \"LOCALHOST\"\n  login me password secret\n", "~/.netrc"},
        {"smtp://[::1]:" + port, "machine ::1" + login, "~/.netrc"},
        {"smtp://[0:0::1]:" + port, "machine [::1]" + login, "~/.netrc"},
        {"smtp://127.0.0.1:" + port, "machine 127.1" + login, "~/.netrc"},
        {"smtp://0x7f000001:" + port, "machine 127.0.0.1" + login, "~/.netrc"},
        {"smtp://127.0.0.1:" + port, "MACHINE 127.0.0.1\rlogin me\rpassword secret\r", "~/.netrc"},
        {"smtp://me:secret@" + server, "", "PESTERLY_MAIL_URL"},
        {"smtp://me@[::1]:" + port, "", "PESTERLY_MAIL_URL"},
        // A macro ends where one reader or another says it does: its text counts as entries.
        {"smtp://127.0.0.1:" + port, "macdef init\n\rmachine 127.0.0.1" + login, "~/.netrc"},
        {"smtp://" + server, "macdef init\nmachine localhost login me\n\n", "~/.netrc"},
        // Entries for other hosts hold no login for this one: the mail goes out.
        {"smtp://" + server, "machine a.example login a password b\nmachine 127.0.0.1" + login,
         nullptr},
        {"smtp://[::1]:" + port, "machine ::2" + login + "machine localhost.example" + login,
         nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url + " with " + c.netrc);
        TempFolder home;
        home.Write(".netrc", c.netrc, 0600);
        ScopedEnv netrc_home("HOME", home.Path().c_str());
        const Delivery sent = SendThrough(c.url, "");
        if (c.named == nullptr) {
            EXPECT_EQ(sent.outcome, Outcome::kSent) << sent.message;
            EXPECT_TRUE(sink.NextDelivery());
            continue;
        }
        EXPECT_EQ(sent.outcome, Outcome::kTryLater);  // until the user sets it right
        EXPECT_TRUE(
            Says(sent.message, {c.named, "no encrypted connection", "plain text", "smtps://"}));
        EXPECT_EQ(sent.message.find("secret"), std::string::npos) << sent.message;
        EXPECT_FALSE(sink.StoredAny());
    }
    EXPECT_FALSE(sink.SawLogin());
}

// Without a sendmail program the user learns what to install. msmtp without any configuration
// quits before reading the message: writing a large one then meets a closed pipe, which must
// not end the program.
TEST(MailService, SendmailThatCannotSendSaysWhy) {
    TempFolder home;
    ScopedEnv no_config("HOME", home.Path().c_str());
    const Delivery missing = SendThrough("", home.Path() + "/sendmail");
    EXPECT_EQ(missing.outcome, Outcome::kTryLater);
    EXPECT_TRUE(Says(missing.message, {"No mail service", "msmtp-mta", "PESTERLY_MAIL_URL"}));
    const Delivery failed =
        SendThrough("", kMsmtp, Draft({"s@special.example"}, std::string(4 << 20, 'x')));
    EXPECT_EQ(failed.outcome, Outcome::kTryLater);
    EXPECT_TRUE(Says(failed.message, {"exit status 78", "msmtp:"}));
}

TEST(MailService, SendmailThatLeavesADeliveryProcessBehindStillCountsAsSent) {
    // Some mail programs hand the message to a process of their own and exit; that process
    // keeps the output pipe open. Success is the program's exit status, not the pipe closing.
    TempFolder folder;
    const std::string received = folder.Path() + "/received";
    const std::string sendmail = folder.Write(
        "sendmail", "#!/bin/sh\ncat > '" + received + "'\n(sleep 30 &)\nexit 0\n", 0700);
    // Waiting for the pipe instead would end in "did not finish" after two minutes.
    EXPECT_EQ(SendThrough("", sendmail).outcome, Outcome::kSent);
    EXPECT_TRUE(Says(testing::Slurp(received), {"Subject: Pay the rent"}));
}

// The tests run from a folder without the mail module, as an installation that lost it would:
// there is no way out for mail, and the reason says so.
TEST(MailService, MissingModuleSaysWhyNoMailCanBeSent) {
    const Result<std::unique_ptr<MailPost>> post = LoadMailPost(MailSettings{});
    ASSERT_FALSE(post);
    EXPECT_TRUE(Says(post.error().message, {"libpesterly-mail.so"}));
}

}  // namespace
}  // namespace pesterly
