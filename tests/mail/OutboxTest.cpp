#include "platform/Outbox.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QEventLoop>
#include <QTimer>

#include "MailTestKit.h"
#include "platform/MailPostFactory.h"
#include "support/ScriptedAsker.h"

namespace pesterly {
namespace {

using testing::SmtpSink;

Outbox::MakePost Through(MailSettings settings) {
    settings.from = "pesterly@home.example";
    return [settings](std::string&) { return MakeMailPost(settings); };
}

QStringList Files(const std::string& folder) {
    return QDir(QString::fromStdString(folder)).entryList(QDir::Files, QDir::Name);
}

// A server that takes the connection and never answers: the windows go on repainting while
// the mail waits for it, and the end of the program stops it, keeping the mail for later.
TEST(Outbox, SlowServerKeepsTheWindowsAliveAndTheMailForLater) {
    testing::ClosedPort silent(testing::ClosedPort::kSilent);
    testing::TempFolder folder;
    testing::ScriptedAsker asker;
    std::stop_source end;
    MailSettings settings;
    settings.smtp_url = "smtp://127.0.0.1:" + std::to_string(silent.Port());
    settings.stop = end.get_token();
    Outbox outbox(QString::fromStdString(folder.Path()), asker, Through(settings));
    bool ticked = false;
    QTimer::singleShot(100, [&] {
        ticked = true;
        end.request_stop();
    });
    const MaybeError error = outbox.Send({"Rent", "Rent", "Due.", "a@x.org", {"a@x.org"}});
    EXPECT_TRUE(ticked);
    ASSERT_TRUE(error);
    const std::string kept_at = "waits in the outbox (" + folder.Path();
    EXPECT_TRUE(testing::Says(error->message, {kept_at}));
    EXPECT_EQ(Files(folder.Path()).size(), 1);
    EXPECT_EQ(outbox.WaitingCount(), 1);
}

// One retry sends what it can, each mail once even when asked again meanwhile, and moves what
// can never go to failed/, telling the user once about each.
TEST(Outbox, RetrySendsEachMailOnceAndSetsAsideWhatCannotGo) {
    SmtpSink sink;
    testing::TempFolder folder;
    const auto keep = [&](const std::string& name, const std::string& rcpt) {
        folder.Write(
            name, ComposedMailToText({name, "me@home.example", {rcpt}, "Subject: x\n\nx\n"}), 0600);
    };
    keep("1.mail", "a@x.org");
    keep("2.mail", SmtpSink::kRefusedAddress);
    folder.Write("3.mail", "Pesterly-Mail: 1\nEvent: half a mail\n");
    folder.Write("notes.txt", "not a mail");
    testing::ScriptedAsker asker;
    MailSettings settings;
    settings.smtp_url = "smtp://127.0.0.1:" + std::to_string(sink.Port());
    Outbox outbox(QString::fromStdString(folder.Path()), asker, Through(settings));
    QEventLoop done;
    QObject::connect(&outbox, &Outbox::RetryDone, &done, &QEventLoop::quit);
    outbox.Start();
    QTimer::singleShot(0, &outbox, &Outbox::RetryNow);  // while the first retry runs
    done.exec();

    const std::optional<SmtpSink::Delivery> sent = sink.NextDelivery();
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->rcpt_tos, std::vector<std::string>{"a@x.org"});
    EXPECT_FALSE(sink.StoredAny());
    EXPECT_EQ(Files(folder.Path()), QStringList());
    EXPECT_EQ(Files(folder.Path() + "/failed"), (QStringList{"2.mail", "3.mail", "notes.txt"}));
    ASSERT_EQ(asker.messages.size(), 3u);
    EXPECT_TRUE(testing::Says(asker.messages[2], {"\"2.mail\" was refused"}));
    EXPECT_EQ(outbox.WaitingCount(), 0);
}

}  // namespace
}  // namespace pesterly
