#include "platform/mail/Outbox.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDir>
#include <QEventLoop>
#include <QTimer>

#include "MailTestKit.h"
#include "platform/mail/MailTransport.h"
#include "reminder/Review.h"
#include "support/FakeClock.h"
#include "support/MemorySettingsStore.h"
#include "support/ScriptedAsker.h"

namespace pesterly {
namespace {

using namespace Qt::StringLiterals;

using testing::SmtpSink;
using namespace std::chrono_literals;

Outbox::MakePost Through(MailSettings settings) {
    settings.from = "pesterly@home.example";
    return [settings] { return MakeMailPost(settings); };
}

QStringList Files(const std::string& folder) {
    return QDir(QString::fromStdString(folder))
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                   QDir::Name);
}

// Runs the events of the test's thread until the outbox's retry in progress has ended, or
// for at most 20 s.
void WaitForRetry(Outbox& outbox) {
    QEventLoop done;
    QObject::connect(&outbox, &Outbox::RetryDone, &done, &QEventLoop::quit);
    QTimer::singleShot(20s, &done, &QEventLoop::quit);
    done.exec();
}

// Send returns once the mail is on disk, and what becomes of each nag mail is told once,
// naming the event: one that a server that never answers holds is stopped by the program's end,
// waits, and goes out first at the next try; one the server refuses is set aside; one it takes
// leaves nothing behind.
TEST(Outbox, EachNagMailIsSentOrToldAboutOnce) {
    SmtpSink sink;
    testing::ClosedPort silent(testing::ClosedPort::kSilent);
    testing::TempFolder folder;
    testing::ScriptedAsker asker;
    std::stop_source end;
    MailSettings settings;
    settings.from = "pesterly@home.example";
    settings.smtp_url = "smtp://127.0.0.1:" + std::to_string(silent.Port());
    settings.stop = end.get_token();
    Outbox outbox(QString::fromStdString(folder.Path()), asker,
                  [&settings] { return MakeMailPost(settings); });
    ASSERT_TRUE(outbox.Send({"Rent", "Rent", "Due.", "a@x.org", {"a@x.org"}}));
    ASSERT_TRUE(silent.ClientWaiting());
    end.request_stop();
    WaitForRetry(outbox);
    EXPECT_EQ(outbox.WaitingCount(), 1);
    const std::string kept_at = "waits in the outbox (" + folder.Path();
    EXPECT_TRUE(testing::Says(asker.messages.at(0), {"\"Rent\"", "Pesterly is ending", kept_at}));
    settings.smtp_url = "smtp://127.0.0.1:" + std::to_string(sink.Port());
    settings.stop = {};
    for (const std::string to : {SmtpSink::kRefusedAddress, "b@x.org"}) {
        ASSERT_TRUE(outbox.Send({to, to, "Due.", to, {to}}));
        WaitForRetry(outbox);
    }
    ASSERT_EQ(asker.messages.size(), 2u);  // nothing about the mail that went out
    EXPECT_TRUE(testing::Says(asker.messages[1], {"nowhere.example\"", "550", "set aside in"}));
    for (const char* rcpt : {"a@x.org", "b@x.org"}) {
        const std::optional<SmtpSink::Delivery> sent = sink.NextDelivery();
        ASSERT_TRUE(sent);
        EXPECT_EQ(sent->rcpt_tos, std::vector<std::string>{rcpt});
    }
    EXPECT_FALSE(sink.StoredAny());
    EXPECT_EQ(outbox.WaitingCount(), 0);
    EXPECT_EQ(Files(folder.Path() + "/failed").size(), 1);
}

// One retry sends what it can, each mail once even when asked again meanwhile and with a second
// copy of Pesterly on the same outbox, and moves what can never go to failed/, telling the user
// once about each and why.
TEST(Outbox, RetrySendsEachMailOnceAndSetsAsideWhatCannotGo) {
    SmtpSink sink;
    testing::TempFolder folder;
    const auto mail = [](const std::string& name, const std::string& rcpt) {
        return ComposedMailToText({name, "me@home.example", {rcpt}, "Subject: x\n\nx\n"});
    };
    const auto old = [&folder](const std::string& name, const std::string& text) {
        std::filesystem::last_write_time(folder.Write(name, text, 0600),
                                         std::filesystem::file_time_type::clock::now() - 1h);
    };
    folder.Write("0.mail", mail("0", "\"john doe\"@example.org"), 0600);
    folder.Write("1.mail", mail("1", "a@x.org"), 0600);
    folder.Write("2.mail", mail("2.mail", SmtpSink::kRefusedAddress), 0600);
    folder.Write("3.mail", "Pesterly-Mail: 1\nEvent: half a mail\n");
    folder.Write("4.mail", mail("4", "a@x.org").substr(0, 90));
    ASSERT_EQ(mkfifo((folder.Path() + "/5.mail").c_str(), 0600), 0);
    old("6.mail.Ab12Cd", mail("6", "six@x.org"));  // written whole, cut short before its rename
    old("7.mail.Zz99Yy", mail("7", "seven@x.org").substr(0, 95));
    folder.Write("8.mail.Qq11Ww", "Pesterly-Mail: 2\n");  // being written now
    folder.Write(".hidden.mail", mail("h", "h@x.org"));
    QDir(QString::fromStdString(folder.Path())).mkdir(QStringLiteral("dir.mail"));
    folder.Write("notes.txt", "not a mail");
    testing::ScriptedAsker asker;
    MailSettings settings;
    settings.smtp_url = "smtp://127.0.0.1:" + std::to_string(sink.Port());
    Outbox outbox(QString::fromStdString(folder.Path()), asker, Through(settings));
    Outbox other_copy(QString::fromStdString(folder.Path()), asker, Through(settings));
    QEventLoop done;
    int ended = 0;
    for (Outbox* each : {&outbox, &other_copy}) {
        QObject::connect(each, &Outbox::RetryDone, [&] { ++ended == 2 ? done.quit() : void(); });
        each->Start();
    }
    QTimer::singleShot(0, &outbox, &Outbox::RetryNow);  // while the first retry runs
    done.exec();

    for (const char* rcpt : {"\"john doe\"@example.org", "a@x.org", "six@x.org"}) {
        const std::optional<SmtpSink::Delivery> sent = sink.NextDelivery();
        ASSERT_TRUE(sent);
        EXPECT_EQ(sent->rcpt_tos, std::vector<std::string>{rcpt});
    }
    EXPECT_FALSE(sink.StoredAny());
    EXPECT_EQ(Files(folder.Path()), (QStringList{u".lock"_s, u"8.mail.Qq11Ww"_s, u"failed"_s}));
    const std::pair<std::string, std::string> set_aside[] = {
        {".hidden.mail", "hides it"},
        {"3.mail", "cut short before its message"},
        {"4.mail", "cut short: its message has 9 of the 14"},
        {"5.mail", "cannot be read (it is not an ordinary file"},
        {"dir.mail", "cannot be read (it is a folder"},
        {"notes.txt", "no nag mail"}};
    ASSERT_EQ(asker.messages.size(), std::size(set_aside) + 1);
    for (size_t i = 0; i < std::size(set_aside); ++i) {
        EXPECT_TRUE(testing::Says(asker.messages[i],
                                  {"file " + set_aside[i].first + " in", set_aside[i].second}));
    }
    EXPECT_TRUE(testing::Says(asker.messages.back(), {"\"2.mail\" was refused"}));
    EXPECT_EQ(Files(folder.Path() + "/failed"),
              (QStringList{u".hidden.mail"_s, u"2.mail"_s, u"3.mail"_s, u"4.mail"_s, u"5.mail"_s,
                           u"dir.mail"_s, u"notes.txt"_s}));
    EXPECT_EQ(outbox.WaitingCount(), 0);
}

// No is answered and the nag mail goes out; the review is cut short, and at the next start
// the event is asked again (a deletion has moved it up a slot meanwhile) but not mailed again
// that day. The next day it is.
TEST(Outbox, NagMailGoesOncePerEventPerDayHoweverOftenTheReviewIsAsked) {
    SmtpSink sink;
    testing::TempFolder state;
    testing::ScriptedAsker asker;
    testing::FakeClock clock;
    testing::MemorySettingsStore store;
    MailSettings settings;
    settings.smtp_url = "smtp://127.0.0.1:" + std::to_string(sink.Port());
    Database db;
    db.HappeningCount = 2;
    db.Happenings[0].Desc = "Shop";
    db.Happenings[1] = {{}, kRepeatOneTime, "Rent", {}, true, false, "s@x.org", 0, ""};
    const auto start_and_review = [&](std::initializer_list<Answer> answers) {
        Outbox outbox(QString::fromStdString(state.Path() + "/outbox"), asker, Through(settings));
        NagMailDiary diary(QString::fromStdString(state.Path() + "/nag-mails-sent"));
        OutboxNagMailer mailer(store, outbox, diary, clock);
        asker.Script(answers);
        ReviewDueHappenings(db, asker, mailer, clock);
    };
    start_and_review({Answer::kNo, Answer::kNo});
    ASSERT_TRUE(sink.NextDelivery());
    db.RemoveHappening(0);
    start_and_review({Answer::kNo});
    EXPECT_EQ(asker.questions, (std::vector<std::string>{"Shop", "Rent", "Rent"}));
    EXPECT_FALSE(sink.StoredAny());
    clock.Set(clock.Now().AddDays(1));
    start_and_review({Answer::kNo});
    EXPECT_TRUE(sink.NextDelivery());
    EXPECT_EQ(asker.messages, std::vector<std::string>{});
}

}  // namespace
}  // namespace pesterly
