#pragma once

#include <QFutureWatcher>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>

#include "platform/mail/MailPost.h"
#include "ui/dialogs/ModalForm.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace pesterly {

class Outbox;
class PasswordKeyring;
class QuestionAsker;
class SettingsStore;
struct MailServerSettings;
struct Options;

// Sets up how nag mail leaves the machine: the system's sendmail program or an SMTP server,
// with its login and the sender address. It edits the mail settings of the options; OK checks
// the fields, writes them and commits them, and keeps the password in the desktop's keyring; a
// field that cannot be used is named and nothing is written. "Send Test Mail" sends a mail to the
// sender address at once, with the settings as they stand in the form, and shows the server's
// answer when it comes.
class MailServerForm : public ModalForm {
    Q_OBJECT

  public:
    using TestMailSender = std::function<Result<std::string>(const MailSettings&)>;

    // With the desktop's keyring and the real mail module.
    MailServerForm(Options& options, SettingsStore& store, QuestionAsker& asker, QWidget* parent);
    MailServerForm(Options& options, SettingsStore& store, QuestionAsker& asker,
                   PasswordKeyring& keyring, TestMailSender send_test_mail, QWidget* parent);
    ~MailServerForm() override;

    // Lists the nag mails that wait in this outbox, with "Retry Now" and "Discard".
    void ShowOutbox(Outbox& outbox);

    QGroupBox* MethodFrame = nullptr;
    QRadioButton* SendmailOption = nullptr;
    QRadioButton* SmtpOption = nullptr;
    QGroupBox* ServerFrame = nullptr;
    QLabel* HostLabel = nullptr;
    QLineEdit* Host = nullptr;
    QLabel* PortLabel = nullptr;
    QLineEdit* Port = nullptr;
    QLabel* SecurityLabel = nullptr;
    QComboBox* Security = nullptr;
    QLabel* UserLabel = nullptr;
    QLineEdit* User = nullptr;
    QLabel* PasswordLabel = nullptr;
    QLineEdit* Password = nullptr;
    QLabel* FromLabel = nullptr;
    QLineEdit* From = nullptr;
    QPushButton* SendTestMail = nullptr;
    QPlainTextEdit* StatusText = nullptr;
    QGroupBox* WaitingFrame = nullptr;
    QListWidget* WaitingList = nullptr;
    QPushButton* RetryNowButton = nullptr;
    QPushButton* DiscardButton = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

  protected:
    void Opening() override;

  private:
    void CreateControls();
    void WireHandlers();
    MailServerSettings FormSettings() const;
    void ShowMethod();

    void MailServerForm_Form_Load();
    void MailServerForm_Field_Change();
    void MailServerForm_SmtpOption_Click();
    void MailServerForm_SendTestMail_Click();
    void MailServerForm_OKButton_Click();
    void MailServerForm_CancelButton_Click();
    void MailServerForm_RetryNowButton_Click();
    void MailServerForm_DiscardButton_Click();
    void FillWaitingList();
    // Replaces "Sending..." with how the retry the user asked for ended.
    void ShowRetryResult();
    // Replaces "Sending a test mail..." with the answer, and lets the button be pressed again.
    void ShowTestMailAnswer();

    std::unique_ptr<PasswordKeyring> own_keyring_;
    Options& options_;
    SettingsStore& store_;
    QuestionAsker& asker_;
    PasswordKeyring& keyring_;
    TestMailSender send_test_mail_;
    QFutureWatcher<Result<std::string>> test_mail_;
    std::stop_source end_of_test_mail_;
    Outbox* outbox_ = nullptr;
    bool retry_asked_ = false;
    bool keyring_available_ = false;
    // The keyring account the form opened with, whose password moves when it changes.
    std::string opened_account_;
};

}  // namespace pesterly
