#include "ui/dialogs/MailServerForm.h"

#include <QEventLoop>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "platform/mail/Outbox.h"
#include "store/Options.h"
#include "support/FakeKeyring.h"
#include "support/FakeMailPost.h"
#include "support/MemorySettingsStore.h"
#include "support/ScriptedAsker.h"
#include "ui/dialogs/DialogDriver.h"

namespace pesterly {
namespace {

using namespace Qt::StringLiterals;

using namespace testing;

class MailServerFormTest : public ::testing::Test {
  protected:
    void SetUp() override {
        options.Mail = {MailMethod::kSmtp, "mail.example.org", "", {}, "me", ""};
        keyring.passwords["me@mail.example.org"] = "old secret";
    }
    std::string Status() const { return form.StatusText->toPlainText().toStdString(); }

    testing::MemorySettingsStore store;
    testing::ScriptedAsker asker;
    testing::FakeKeyring keyring;
    std::vector<MailSettings> sent;
    Result<std::string> answer = std::string("250 Message accepted");
    Options options;
    MailServerForm form{options,
                        store,
                        asker,
                        keyring,
                        [this](const MailSettings& settings) {
                            sent.push_back(settings);
                            return answer;
                        },
                        nullptr};
};

// Without a keyring the password box is off and the form says why.
TEST_F(MailServerFormTest, OpensWithTheStoredSettingsInATidyLayout) {
    RunModal(form, [&] {
        EXPECT_EQ(form.Password->text(), u"old secret"_s);
        ExpectTidyForm(form);
        Toggle(form.SendmailOption);
        EXPECT_FALSE(form.Host->isEnabled());
        form.close();
    });
    keyring.available = false;
    RunModal(form, [&] {
        EXPECT_TRUE(form.SmtpOption->isChecked()) << "the close box wrote nothing";
        EXPECT_FALSE(form.Password->isEnabled());
        EXPECT_THAT(Status(), ::testing::HasSubstr("~/.netrc"));
        form.close();
    });
}

// A bad field is named and nothing is written; once it is right, OK writes the section and
// moves the password in the keyring to the new account. The test mail goes with what the form
// shows, saved or not, and shows the answer or the refusal.
TEST_F(MailServerFormTest, OkRefusesABadFieldAndTestMailUsesTheFormAsItStands) {
    RunModal(form, [&] {
        Retype(form.Port, u"99999"_s);
        Retype(form.Password, u"new secret"_s);
        Click(form.OKButton);
        EXPECT_THAT(asker.messages, ::testing::ElementsAre(::testing::StartsWith("Port:")));
        EXPECT_EQ(store.commits, 0);
        Retype(form.Port, u""_s);
        form.Security->setCurrentIndex(1);
        for (const char* said : {"250 Message accepted", "could not be sent: 535 5.7.8"}) {
            Click(form.SendTestMail);
            EXPECT_FALSE(form.SendTestMail->isEnabled()) << "one test mail at a time";
            EXPECT_TRUE(QTest::qWaitFor([&] { return form.SendTestMail->isEnabled(); }));
            EXPECT_THAT(Status(), ::testing::HasSubstr(said));
            answer = Error{"535 5.7.8 Authentication credentials invalid"};
        }
        EXPECT_EQ(keyring.passwords["me@mail.example.org"], "old secret");
        Retype(form.Host, u"smtp.example.org"_s);
        Click(form.OKButton);
    });
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].smtp_url, "smtps://mail.example.org:465");
    EXPECT_EQ(sent[0].password, "new secret");
    EXPECT_EQ(store.GetSetting("Mail", "Host", ""), "smtp.example.org");
    EXPECT_EQ(keyring.passwords,
              (std::map<std::string, std::string>{{"me@smtp.example.org", "new secret"}}));
}

// Mails the service could not take are listed; Discard throws the chosen one away and Retry
// Now sends the rest, while the settings stay as they were.
TEST_F(MailServerFormTest, ListsWaitingMailsToDiscardOrRetry) {
    QTemporaryDir folder;
    Delivery service = Delivery::TryLater("the server is down");
    Outbox outbox(folder.path(), asker, [&service]() -> std::unique_ptr<MailPost> {
        return std::make_unique<testing::FakeMailPost>(service);
    });
    for (const char* event : {"Rent", "Dentist"}) {
        ASSERT_TRUE(outbox.Send({event, event, "", "a@x.org", {"a@x.org"}}));
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return asker.messages.size() == 2; }));  // one each
    form.ShowOutbox(outbox);
    RunModal(form, [&] {
        ASSERT_EQ(form.WaitingList->count(), 2);
        EXPECT_TRUE(form.WaitingList->item(0)->text().contains(QStringLiteral("a@x.org")));
        EXPECT_FALSE(form.DiscardButton->isEnabled()) << "nothing chosen yet";
        form.WaitingList->setCurrentRow(1);
        const QString discarded = form.WaitingList->item(1)->text();
        Click(form.DiscardButton);
        ASSERT_EQ(form.WaitingList->count(), 1);
        EXPECT_NE(form.WaitingList->item(0)->text(), discarded);
        service = Delivery::Sent();
        QEventLoop done;
        QObject::connect(&outbox, &Outbox::RetryDone, &done, &QEventLoop::quit);
        Click(form.RetryNowButton);
        done.exec();
        EXPECT_EQ(Status(), "Every waiting nag mail has been sent.");
        EXPECT_EQ(form.WaitingList->count(), 0);
        EXPECT_FALSE(form.RetryNowButton->isEnabled());
        EXPECT_FALSE(form.OKButton->isEnabled()) << "the list is no setting";
        form.close();
    });
    EXPECT_EQ(outbox.WaitingCount(), 0);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 0);
}

}  // namespace
}  // namespace pesterly
