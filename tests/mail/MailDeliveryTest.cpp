// Nag mail end to end: the real composer and transports against a real SMTP server on
// 127.0.0.1, once through libcurl and once through msmtp as the sendmail program.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "MailTestKit.h"
#include "mail/NagMail.h"
#include "platform/MailSessionFactory.h"
#include "support/MemorySettingsStore.h"

namespace pesterly {
namespace {

using testing::MemorySettingsStore;
using testing::ParsedMail;
using testing::ParseMail;
using testing::ScopedEnv;
using testing::SmtpSink;
using testing::TempFolder;

constexpr const char* kFrom = "pesterly@home.example";
constexpr const char* kMsmtp = "/usr/bin/msmtp";

enum class Route { kCurl, kSendmail };

Happening Event(std::string desc = "Pay the rent",
                std::string body = "The rent is due today.\nDon't forget.") {
    Happening event;
    event.SendMail = true;
    event.SpecialEmail = "s@special.example";
    event.UseNagList = true;
    event.Desc = std::move(desc);
    event.EmailBody = std::move(body);
    return event;
}

MailSettings Sendmail(std::string program) {
    MailSettings settings;
    settings.from = kFrom;
    settings.sendmail_program = std::move(program);
    return settings;
}

using Outcome = Delivery::Outcome;

Delivery SendWith(const MailSettings& settings, const Happening& event) {
    Happening alone = event;
    alone.UseNagList = false;
    return MakeMailPost(settings)->Send(*NagMailDraft(alone, {}));
}

class MailDelivery : public ::testing::TestWithParam<Route> {
  protected:
    void SetUp() override { ASSERT_TRUE(sink_.Running()) << sink_.Problem(); }

    // Sends through the route under test to the server on `port`; msmtp reads ~/.msmtprc
    // and libcurl ~/.netrc, both from a folder of the test's own.
    Delivery Send(const Happening& event, const std::vector<std::string>& list, const char* use_to,
                  int port = 0) {
        port = port != 0 ? port : sink_.Port();
        home_.Write(".msmtprc",
                    "defaults\nauth off\ntls off\naccount default\nhost 127.0.0.1\nport " +
                        std::to_string(port) + "\nfrom " + kFrom + "\n",
                    0600);
        ScopedEnv home("HOME", home_.Path().c_str());
        MailSettings settings;
        settings.from = kFrom;
        settings.stop = end_.get_token();
        if (GetParam() == Route::kCurl) {
            settings.smtp_url = "smtp://127.0.0.1:" + std::to_string(port);
        } else {
            settings.sendmail_program = kMsmtp;
        }
        const NagListSettings nag_list{{list.begin(), list.end()}, std::nullopt, use_to[0] == 'T'};
        return MakeMailPost(settings)->Send(*NagMailDraft(event, nag_list));
    }

    // The one message the server took, its recipients sorted, and the message as read back.
    std::pair<SmtpSink::Delivery, ParsedMail> Delivered() {
        std::optional<SmtpSink::Delivery> delivery = sink_.NextDelivery();
        if (!delivery) {
            ADD_FAILURE() << "the server stored no message";
            return {};
        }
        std::sort(delivery->rcpt_tos.begin(), delivery->rcpt_tos.end());
        return {*delivery, ParseMail(delivery->raw)};
    }

    const std::vector<std::string> everyone_ = {"e0@list.example", "e1@list.example",
                                                "s@special.example"};
    SmtpSink sink_;
    TempFolder home_;
    std::stop_source end_;
};

TEST_P(MailDelivery, ToAddressingShowsEveryRecipientAndTheTextArrivesIntact) {
    // A non-ASCII subject that holds what looks like an encoded word, and a line of a single
    // dot that must not end the message early.
    const std::string subject = "Grüße: Miete für März zahlen – 5 € =?utf-8?q?a=0D=0Ab?=";
    const std::string body = "Erste Zeile mit Umlauten: äöü ß\n.\nZweite Zeile.";
    const Delivery sent =
        Send(Event(subject, body), {"e0@list.example", "Eve One <e1@list.example>"}, "True");
    ASSERT_EQ(sent.outcome, Outcome::kSent) << sent.message;
    const auto [delivery, parsed] = Delivered();
    EXPECT_EQ(delivery.mail_from, kFrom);
    EXPECT_EQ(delivery.rcpt_tos, everyone_);
    for (const std::string& address : everyone_) {
        EXPECT_NE(parsed.to.find(address), std::string::npos) << parsed.to;
    }
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.subject, subject);
    EXPECT_EQ(parsed.text, body + "\n");  // the last line gets its line end
}

TEST_P(MailDelivery, BlindCopiesReachEveryoneButShowInNoHeader) {
    const Delivery sent = Send(Event(), {"e0@list.example", "e1@list.example"}, "False");
    ASSERT_EQ(sent.outcome, Outcome::kSent) << sent.message;
    const auto [delivery, parsed] = Delivered();
    EXPECT_EQ(delivery.rcpt_tos, everyone_);
    EXPECT_NE(parsed.to.find("undisclosed-recipients"), std::string::npos) << parsed.to;
    for (const char* address : {"s@special", "e0@list", "e1@list"}) {
        EXPECT_EQ(parsed.raw_headers.find(address), std::string::npos) << parsed.raw_headers;
    }
    EXPECT_FALSE(parsed.HasHeader("Bcc"));
}

TEST_P(MailDelivery, RefusedRecipientFailsNamingAddressAndReason) {
    const Delivery sent = Send(Event(), {"e0@list.example", SmtpSink::kRefusedAddress}, "True");
    ASSERT_EQ(sent.outcome, Outcome::kRefused) << sent.message;  // not worth a retry
    EXPECT_NE(sent.message.find(SmtpSink::kRefusedAddress), std::string::npos) << sent.message;
    EXPECT_NE(sent.message.find("550"), std::string::npos) << sent.message;
    EXPECT_FALSE(sink_.StoredAny());
}

TEST_P(MailDelivery, ClosedPortFailsSayingTheServerCannotBeReached) {
    testing::ClosedPort closed;
    ASSERT_GT(closed.Port(), 0);
    const Delivery sent = Send(Event(), {"e0@list.example"}, "True", closed.Port());
    ASSERT_EQ(sent.outcome, Outcome::kTryLater) << sent.message;
    EXPECT_NE(sent.message.find(std::to_string(closed.Port())), std::string::npos) << sent.message;
    EXPECT_NE(sent.message.find("onnect"), std::string::npos) << sent.message;
}

TEST_P(MailDelivery, EndOfTheProgramStopsAMailToAServerThatNeverAnswers) {
    testing::ClosedPort silent(testing::ClosedPort::kSilent);
    ASSERT_GT(silent.Port(), 0);
    auto sending = std::async(std::launch::async, [&] {
        return Send(Event(), {"e0@list.example"}, "True", silent.Port());
    });
    ASSERT_TRUE(silent.ClientWaiting());
    end_.request_stop();
    // Far below the 20 s and 120 s the mail would otherwise wait for the server.
    ASSERT_EQ(sending.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    const Delivery sent = sending.get();
    ASSERT_EQ(sent.outcome, Outcome::kTryLater) << sent.message;  // kept for the next start
    EXPECT_NE(sent.message.find("Pesterly is ending"), std::string::npos) << sent.message;
}

INSTANTIATE_TEST_SUITE_P(Routes, MailDelivery, ::testing::Values(Route::kCurl, Route::kSendmail),
                         [](const auto& route) {
                             return route.param == Route::kCurl ? "Curl" : "Msmtp";
                         });

TEST(MailService, UrlInTheEnvironmentSendsThroughThatServer) {
    SmtpSink sink;
    ASSERT_TRUE(sink.Running()) << sink.Problem();
    TempFolder home;
    ScopedEnv no_netrc("HOME", home.Path().c_str());
    ScopedEnv url("PESTERLY_MAIL_URL", sink.Url().c_str());
    ScopedEnv email("EMAIL", "Pat <pat@doe.example>");
    const Delivery sent = SendWith(MailSettings::FromEnvironment(), Event());
    ASSERT_EQ(sent.outcome, Outcome::kSent) << sent.message;
    const std::optional<SmtpSink::Delivery> delivery = sink.NextDelivery();
    ASSERT_TRUE(delivery);
    EXPECT_EQ(delivery->mail_from, "pat@doe.example");
}

TEST(MailService, LoginNeverCrossesTheNetworkInPlainText) {
    SmtpSink sink;  // takes a login without TLS
    ASSERT_TRUE(sink.Running()) << sink.Problem();
    const std::string server = "localhost:" + std::to_string(sink.Port());
    const struct {
        std::string url;
        std::string netrc;
        const char* named;  // where the message says the login comes from; null: mail sent
    } cases[] = {
        {"smtp://" + server, "machine LocalHost login me password secret\n", "~/.netrc"},
        {"smtp://" + server, "machine a.example login a password b\ndefault login me password x\n",
         "~/.netrc"},
        {"smtp://" + server, "\"machine\" \"LOCALHOST\"\n  login me password secret\n", "~/.netrc"},
        {"smtp://me:secret@" + server, "", "PESTERLY_MAIL_URL"},
        // Text inside a macro is no entry: there is no login, and the mail goes out.
        {"smtp://" + server,
         "machine a.example login a password b\nmacdef init\nmachine localhost login me\n\n",
         nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.netrc);
        TempFolder home;
        home.Write(".netrc", c.netrc, 0600);
        ScopedEnv netrc_home("HOME", home.Path().c_str());
        MailSettings settings;
        settings.from = kFrom;
        settings.smtp_url = c.url;
        const Delivery sent = SendWith(settings, Event());
        if (c.named == nullptr) {
            EXPECT_EQ(sent.outcome, Outcome::kSent) << sent.message;
            EXPECT_TRUE(sink.NextDelivery());
            continue;
        }
        ASSERT_EQ(sent.outcome, Outcome::kTryLater);  // until the user sets it right
        for (const char* words : {c.named, "no encrypted connection", "plain text", "smtps://"}) {
            EXPECT_NE(sent.message.find(words), std::string::npos) << sent.message;
        }
        EXPECT_EQ(sent.message.find("secret"), std::string::npos) << sent.message;
        EXPECT_FALSE(sink.StoredAny());
    }
    EXPECT_FALSE(sink.SawLogin());
}

TEST(MailService, WithoutSendmailTheUserLearnsWhatToInstall) {
    TempFolder empty;
    const Delivery sent = SendWith(Sendmail(empty.Path() + "/sendmail"), Event());
    ASSERT_EQ(sent.outcome, Outcome::kTryLater);
    for (const char* hint : {"No mail service", "msmtp-mta", "PESTERLY_MAIL_URL"}) {
        EXPECT_NE(sent.message.find(hint), std::string::npos) << sent.message;
    }
}

TEST(MailService, SendmailFailureReportsStatusAndReasonAndSurvivesAClosedPipe) {
    // msmtp without any configuration quits before reading the message: writing a large one
    // then meets a closed pipe, which must not end the program.
    TempFolder home;
    ScopedEnv no_config("HOME", home.Path().c_str());
    const Delivery sent = SendWith(Sendmail(kMsmtp), Event("Big", std::string(4 << 20, 'x')));
    ASSERT_EQ(sent.outcome, Outcome::kTryLater);
    EXPECT_NE(sent.message.find("exit status 78"), std::string::npos) << sent.message;
    EXPECT_NE(sent.message.find("msmtp:"), std::string::npos) << sent.message;
}

TEST(MailService, SendmailThatLeavesADeliveryProcessBehindStillCountsAsSent) {
    // Some mail programs hand the message to a process of their own and exit; that process
    // keeps the output pipe open. Success is the program's exit status, not the pipe closing.
    TempFolder folder;
    const std::string received = folder.Path() + "/received";
    const MailSettings settings = Sendmail(folder.Write(
        "sendmail", "#!/bin/sh\ncat > '" + received + "'\n(sleep 30 &)\nexit 0\n", 0700));
    // Waiting for the pipe instead would end in "did not finish" after two minutes.
    EXPECT_EQ(SendWith(settings, Event()).outcome, Outcome::kSent);
    std::ifstream mail(received);
    const std::string text((std::istreambuf_iterator<char>(mail)), {});
    EXPECT_NE(text.find("Subject: Pay the rent"), std::string::npos) << text;
}

}  // namespace
}  // namespace pesterly
