// Nag mail end to end: the real composer and transports against a real SMTP server on
// 127.0.0.1, once through libcurl and once through msmtp as the sendmail program.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "ParsedMail.h"
#include "SmtpSink.h"
#include "mail/NagMail.h"
#include "platform/MailSessionFactory.h"
#include "store/SettingsLayout.h"
#include "support/MemorySettingsStore.h"

namespace pesterly {
namespace {

using testing::ClosedPort;
using testing::MemorySettingsStore;
using testing::ParsedMail;
using testing::ParseMail;
using testing::ScopedEnv;
using testing::SmtpSink;
using testing::TempFolder;

constexpr const char* kFrom = "pesterly@home.example";
constexpr const char* kMsmtp = "/usr/bin/msmtp";
constexpr const char* kRefused = "nobody@nowhere.example";

enum class Route { kCurl, kSendmail };

std::string RouteName(const ::testing::TestParamInfo<Route>& info) {
    return info.param == Route::kCurl ? "Curl" : "Msmtp";
}

Happening Event(std::string special, bool use_nag_list, std::string desc = "Pay the rent",
                std::string body = "The rent is due today.\nDon't forget.") {
    Happening event;
    event.SendMail = true;
    event.SpecialEmail = std::move(special);
    event.UseNagList = use_nag_list;
    event.Desc = std::move(desc);
    event.EmailBody = std::move(body);
    return event;
}

void StoreList(MemorySettingsStore& store, const std::vector<std::string>& entries,
               const char* use_to) {
    store.SaveSetting(sections::kNagList, "EmailCount", std::to_string(entries.size()));
    for (size_t k = 0; k < entries.size(); ++k) {
        store.SaveSetting(sections::kNagList, "Email" + std::to_string(k), entries[k]);
    }
    store.SaveSetting(sections::kNagList, "UseTO", use_to);
}

std::vector<std::string> Sorted(std::vector<std::string> items) {
    std::sort(items.begin(), items.end());
    return items;
}

class MailDelivery : public ::testing::TestWithParam<Route> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(sink_.Running()) << sink_.Problem();
        // msmtp reads ~/.msmtprc and libcurl ~/.netrc: both come from this folder only.
        WriteMsmtpConfig(sink_.Port());
    }

    void WriteMsmtpConfig(int port) {
        home_.Write(".msmtprc",
                    "defaults\nauth off\ntls off\naccount default\nhost 127.0.0.1\nport " +
                        std::to_string(port) + "\nfrom " + kFrom + "\n",
                    0600);
    }

    MailSettings Settings(int port) const {
        MailSettings settings;
        settings.from = kFrom;
        if (GetParam() == Route::kCurl) {
            settings.smtp_url = "smtp://127.0.0.1:" + std::to_string(port);
        } else {
            settings.sendmail_program = kMsmtp;
        }
        return settings;
    }

    MaybeError Send(const Happening& event, int port = 0) {
        ScopedEnv home("HOME", home_.Path().c_str());
        const std::unique_ptr<MailSession> session =
            MakeMailSession(Settings(port != 0 ? port : sink_.Port()));
        return SendNagMail(event, store_, *session);
    }

    SmtpSink::Delivery Delivered() {
        EXPECT_TRUE(sink_.WaitForDelivery(0)) << "the server stored no message";
        return sink_.Read(0);
    }

    SmtpSink sink_{kRefused};
    TempFolder home_;
    MemorySettingsStore store_;
};

TEST_P(MailDelivery, ToAddressingShowsEveryRecipient) {
    StoreList(store_, {"e0@list.example", "Eve One <e1@list.example>"}, "True");
    const MaybeError error = Send(Event("s@special.example", true));
    ASSERT_FALSE(error) << error->message;
    const SmtpSink::Delivery delivery = Delivered();
    EXPECT_EQ(delivery.mail_from, kFrom);
    EXPECT_EQ(
        Sorted(delivery.rcpt_tos),
        (std::vector<std::string>{"e0@list.example", "e1@list.example", "s@special.example"}));
    const ParsedMail parsed = ParseMail(delivery.raw);
    for (const char* address : {"s@special.example", "e0@list.example", "e1@list.example"}) {
        EXPECT_NE(parsed.to.find(address), std::string::npos) << parsed.to;
    }
    EXPECT_EQ(parsed.subject, "Pay the rent");
}

TEST_P(MailDelivery, BlindCopiesReachEveryoneButShowInNoHeader) {
    StoreList(store_, {"e0@list.example", "e1@list.example"}, "False");
    const MaybeError error = Send(Event("s@special.example", true));
    ASSERT_FALSE(error) << error->message;
    const SmtpSink::Delivery delivery = Delivered();
    EXPECT_EQ(
        Sorted(delivery.rcpt_tos),
        (std::vector<std::string>{"e0@list.example", "e1@list.example", "s@special.example"}));
    const ParsedMail parsed = ParseMail(delivery.raw);
    EXPECT_NE(parsed.to.find("undisclosed-recipients"), std::string::npos) << parsed.to;
    for (const char* address : {"s@special", "e0@list", "e1@list"}) {
        EXPECT_EQ(parsed.raw_headers.find(address), std::string::npos) << parsed.raw_headers;
    }
    EXPECT_FALSE(parsed.HasHeader("Bcc"));
}

TEST_P(MailDelivery, NonAsciiSubjectAndTwoLineBodyArriveIntact) {
    const std::string subject = "Grüße: Miete für März zahlen – 5 €";
    const std::string body = "Erste Zeile mit Umlauten: äöü ß\n.\nZweite Zeile.";
    const MaybeError error = Send(Event("s@special.example", false, subject, body));
    ASSERT_FALSE(error) << error->message;
    const ParsedMail parsed = ParseMail(Delivered().raw);
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.subject, subject);
    EXPECT_EQ(parsed.text, body + "\n");  // the last line gets its line end
}

TEST_P(MailDelivery, RefusedRecipientFailsNamingAddressAndReason) {
    StoreList(store_, {"e0@list.example", kRefused}, "True");
    const MaybeError error = Send(Event("s@special.example", true));
    ASSERT_TRUE(error);
    EXPECT_NE(error->message.find(kRefused), std::string::npos) << error->message;
    EXPECT_NE(error->message.find("550"), std::string::npos) << error->message;
    EXPECT_EQ(sink_.StoredCount(), 0);
}

TEST_P(MailDelivery, ClosedPortFailsSayingTheServerCannotBeReached) {
    ClosedPort closed;
    ASSERT_GT(closed.Port(), 0);
    WriteMsmtpConfig(closed.Port());
    const MaybeError error = Send(Event("s@special.example", false), closed.Port());
    ASSERT_TRUE(error);
    EXPECT_NE(error->message.find(std::to_string(closed.Port())), std::string::npos)
        << error->message;
    EXPECT_NE(error->message.find("onnect"), std::string::npos) << error->message;
}

INSTANTIATE_TEST_SUITE_P(Routes, MailDelivery, ::testing::Values(Route::kCurl, Route::kSendmail),
                         RouteName);

TEST(MailService, UrlInTheEnvironmentSendsThroughThatServer) {
    SmtpSink sink;
    ASSERT_TRUE(sink.Running()) << sink.Problem();
    TempFolder home;
    ScopedEnv no_netrc("HOME", home.Path().c_str());
    ScopedEnv url("PESTERLY_MAIL_URL", sink.Url().c_str());
    ScopedEnv email("EMAIL", "Pat <pat@doe.example>");
    MemorySettingsStore store;
    const std::unique_ptr<MailSession> session = MakeMailSession(MailSettings::FromEnvironment());
    const MaybeError error = SendNagMail(Event("s@special.example", false), store, *session);
    ASSERT_FALSE(error) << error->message;
    ASSERT_TRUE(sink.WaitForDelivery(0));
    EXPECT_EQ(sink.Read(0).mail_from, "pat@doe.example");
}

TEST(MailService, WithoutSendmailTheUserLearnsWhatToInstall) {
    TempFolder empty;
    MailSettings settings;
    settings.from = kFrom;
    settings.sendmail_program = empty.Path() + "/sendmail";
    MemorySettingsStore store;
    const std::unique_ptr<MailSession> session = MakeMailSession(settings);
    const MaybeError error = SendNagMail(Event("s@special.example", false), store, *session);
    ASSERT_TRUE(error);
    EXPECT_NE(error->message.find("No mail service"), std::string::npos) << error->message;
    EXPECT_NE(error->message.find("msmtp-mta"), std::string::npos) << error->message;
    EXPECT_NE(error->message.find("PESTERLY_MAIL_URL"), std::string::npos) << error->message;
}

TEST(MailService, SendmailFailureReportsStatusAndReasonAndSurvivesAClosedPipe) {
    // msmtp without any configuration quits before reading the message: writing a large one
    // then meets a closed pipe, which must not end the program.
    TempFolder home;
    ScopedEnv no_config("HOME", home.Path().c_str());
    MailSettings settings;
    settings.from = kFrom;
    settings.sendmail_program = kMsmtp;
    MemorySettingsStore store;
    const std::unique_ptr<MailSession> session = MakeMailSession(settings);
    const std::string big_body(4 << 20, 'x');
    const MaybeError error =
        SendNagMail(Event("s@special.example", false, "Big", big_body), store, *session);
    ASSERT_TRUE(error);
    EXPECT_NE(error->message.find("exit status 78"), std::string::npos) << error->message;
    EXPECT_NE(error->message.find("msmtp:"), std::string::npos) << error->message;
}

}  // namespace
}  // namespace pesterly

namespace pesterly {
namespace {

TEST(MailService, SendmailThatLeavesADeliveryProcessBehindStillCountsAsSent) {
    // Some mail programs hand the message to a process of their own and exit; that process
    // keeps the output pipe open. Success is the program's exit status, not the pipe closing.
    TempFolder folder;
    const std::string program = folder.Path() + "/sendmail";
    const std::string received = folder.Path() + "/received";
    {
        std::ofstream script(program);
        script << "#!/bin/sh\ncat > '" << received << "'\n(sleep 30 &)\nexit 0\n";
    }
    ASSERT_EQ(::chmod(program.c_str(), 0700), 0);
    MailSettings settings;
    settings.from = kFrom;
    settings.sendmail_program = program;
    MemorySettingsStore store;
    const std::unique_ptr<MailSession> session = MakeMailSession(settings);
    // Waiting for the pipe instead would end in "did not finish" after two minutes.
    EXPECT_FALSE(SendNagMail(Event("s@special.example", false), store, *session));
    std::ifstream mail(received);
    const std::string text((std::istreambuf_iterator<char>(mail)), {});
    EXPECT_NE(text.find("Subject: Pay the rent"), std::string::npos) << text;
}

}  // namespace
}  // namespace pesterly
