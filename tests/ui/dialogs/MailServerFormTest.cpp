#include "ui/dialogs/MailServerForm.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "support/FakeKeyring.h"
#include "support/MemorySettingsStore.h"
#include "support/QtPrinters.h"
#include "support/ScriptedAsker.h"
#include "ui/dialogs/DialogDriver.h"

namespace pesterly {
namespace {

using testing::RunModal;

class MailServerFormTest : public ::testing::Test {
  protected:
    void SetUp() override {
        store.SaveSetting("Mail", "Method", "SMTP");
        store.SaveSetting("Mail", "Host", "mail.example.org");
        store.SaveSetting("Mail", "User", "me");
        keyring.passwords["me@mail.example.org"] = "old secret";
    }
    std::string Stored(const char* key) { return store.GetSetting("Mail", key, "<missing>"); }
    static void Retype(QLineEdit* box, const char* text) {
        box->selectAll();
        QTest::keyClicks(box, text);
    }

    testing::MemorySettingsStore store;
    testing::ScriptedAsker asker;
    testing::FakeKeyring keyring;
    std::vector<MailSettings> sent;
    std::variant<std::string, Error> answer = std::string("250 Message accepted");
    MailServerForm form{store, asker, keyring,
                        [this](const MailSettings& settings) {
                            sent.push_back(settings);
                            return answer;
                        },
                        nullptr};
};

TEST_F(MailServerFormTest, OpensWithTheStoredSettingsInTabOrderAndATidyLayout) {
    RunModal(form, [&] {
        EXPECT_TRUE(form.SmtpOption->isChecked());
        EXPECT_EQ(form.Host->text(), "mail.example.org");
        EXPECT_EQ(form.Security->currentText(), "STARTTLS");
        EXPECT_EQ(form.Password->text(), "old secret");
        EXPECT_FALSE(form.OKButton->isEnabled());
        testing::ExpectTidyForm(form);
        // The two options are one stop (the arrows move between them), and OK is off until
        // something changes.
        QWidget* const order[] = {form.SmtpOption, form.Host,        form.Port, form.Security,
                                  form.User,       form.Password,    form.From, form.SendTestMail,
                                  form.StatusText, form.CancelButton};
        form.SmtpOption->setFocus();
        for (QWidget* expected : order) {
            ASSERT_EQ(form.focusWidget(), expected) << expected->objectName().toStdString();
            QTest::keyClick(expected, Qt::Key_Tab);
        }
        QTest::mouseClick(form.SendmailOption, Qt::LeftButton, {}, QPoint(6, 6));
        EXPECT_FALSE(form.Host->isEnabled());
        form.close();
    });
    EXPECT_EQ(Stored("Method"), "SMTP") << "the close box writes nothing";
}

// A bad field is named and nothing is written, neither the file nor the keyring; once it is
// right, OK writes the section and keeps the password in the keyring only.
TEST_F(MailServerFormTest, OkRefusesABadFieldThenWritesSettingsAndPasswordApart) {
    RunModal(form, [&] {
        Retype(form.Port, "99999");
        Retype(form.Password, "new secret");
        QTest::mouseClick(form.OKButton, Qt::LeftButton);
        ASSERT_EQ(asker.messages.size(), 1u);
        EXPECT_EQ(asker.messages[0].rfind("Port:", 0), 0u) << asker.messages[0];
        EXPECT_EQ(store.commits, 0);
        EXPECT_EQ(keyring.passwords["me@mail.example.org"], "old secret");
        Retype(form.Port, "2525");
        Retype(form.Host, "smtp.example.org");
        QTest::mouseClick(form.OKButton, Qt::LeftButton);
    });
    EXPECT_EQ(Stored("Port"), "2525");
    EXPECT_EQ(Stored("Host"), "smtp.example.org");
    EXPECT_EQ(keyring.passwords,
              (std::map<std::string, std::string>{{"me@smtp.example.org", "new secret"}}));
    EXPECT_FALSE(store.HasSetting("Mail", "Password"));
}

// The test mail goes with what the form shows, saved or not, and the answer or the reason
// is shown; without a keyring the password box is off and the form says why.
TEST_F(MailServerFormTest, TestMailUsesTheFormAsItStandsAndShowsTheAnswer) {
    RunModal(form, [&] {
        Retype(form.Password, "typed");
        form.Security->setCurrentIndex(1);
        QTest::mouseClick(form.SendTestMail, Qt::LeftButton);
        EXPECT_EQ(form.StatusText->toPlainText(), "250 Message accepted");
        answer = Error{"535 5.7.8 Authentication credentials invalid"};
        QTest::mouseClick(form.SendTestMail, Qt::LeftButton);
        EXPECT_TRUE(form.StatusText->toPlainText().contains("535 5.7.8"))
            << form.StatusText->toPlainText().toStdString();
        form.close();
    });
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].smtp_url, "smtps://mail.example.org:465");
    EXPECT_EQ(sent[0].password, "typed");
    EXPECT_EQ(store.commits, 0);

    keyring.available = false;
    RunModal(form, [&] {
        EXPECT_FALSE(form.Password->isEnabled());
        EXPECT_TRUE(form.StatusText->toPlainText().contains("~/.netrc"));
        form.close();
    });
}

}  // namespace
}  // namespace pesterly
