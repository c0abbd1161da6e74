#include "ui/dialogs/MailServerForm.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtConcurrent/QtConcurrentRun>
#include <cstdlib>
#include <utility>

#include "mail/MailServerSettings.h"
#include "platform/SecretServiceKeyring.h"
#include "platform/ShownText.h"
#include "platform/mail/MailModule.h"
#include "platform/mail/Outbox.h"
#include "reminder/QuestionAsker.h"
#include "store/Options.h"

namespace pesterly {
namespace {

// In the order of the Security box.
constexpr MailSecurity kSecurityChoices[] = {MailSecurity::kStartTls, MailSecurity::kTls,
                                             MailSecurity::kNone};

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

QLabel* NewLabel(const char* name, const QString& caption, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLineEdit* NewTextBox(const char* name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

}  // namespace

MailServerForm::MailServerForm(Options& options, SettingsStore& store, QuestionAsker& asker,
                               QWidget* parent)
    : ModalForm(QStringLiteral("MailServerForm"), tr("Mail Server"), parent),
      own_keyring_(std::make_unique<SecretServiceKeyring>()),
      options_(options),
      store_(store),
      asker_(asker),
      keyring_(*own_keyring_),
      send_test_mail_(&pesterly::SendTestMail) {
    CreateControls();
    WireHandlers();
}

MailServerForm::MailServerForm(Options& options, SettingsStore& store, QuestionAsker& asker,
                               PasswordKeyring& keyring, TestMailSender send_test_mail,
                               QWidget* parent)
    : ModalForm(QStringLiteral("MailServerForm"), tr("Mail Server"), parent),
      options_(options),
      store_(store),
      asker_(asker),
      keyring_(keyring),
      send_test_mail_(std::move(send_test_mail)) {
    CreateControls();
    WireHandlers();
}

// A test mail still on its way is stopped, and the form waits for it.
MailServerForm::~MailServerForm() {
    end_of_test_mail_.request_stop();
    test_mail_.waitForFinished();
}

void MailServerForm::CreateControls() {
    MethodFrame = new QGroupBox(tr("Send Nag Mail Through"), this);
    MethodFrame->setObjectName(QStringLiteral("MethodFrame"));
    SendmailOption = new QRadioButton(tr("The system's sendmail program"), MethodFrame);
    SendmailOption->setObjectName(QStringLiteral("SendmailOption"));
    SmtpOption = new QRadioButton(tr("An SMTP server"), MethodFrame);
    SmtpOption->setObjectName(QStringLiteral("SmtpOption"));

    ServerFrame = new QGroupBox(tr("SMTP Server"), this);
    ServerFrame->setObjectName(QStringLiteral("ServerFrame"));
    HostLabel = NewLabel("HostLabel", tr("Ser&ver:"), ServerFrame);
    Host = NewTextBox("Host", ServerFrame);
    PortLabel = NewLabel("PortLabel", tr("&Port:"), ServerFrame);
    Port = NewTextBox("Port", ServerFrame);
    Port->setPlaceholderText(tr("usual"));
    SecurityLabel = NewLabel("SecurityLabel", tr("Se&curity:"), ServerFrame);
    Security = new QComboBox(ServerFrame);
    Security->setObjectName(QStringLiteral("Security"));
    Security->addItems({QStringLiteral("STARTTLS"), QStringLiteral("TLS"), tr("None")});
    UserLabel = NewLabel("UserLabel", tr("&User name:"), ServerFrame);
    User = NewTextBox("User", ServerFrame);
    PasswordLabel = NewLabel("PasswordLabel", tr("Pass&word:"), ServerFrame);
    Password = NewTextBox("Password", ServerFrame);
    Password->setEchoMode(QLineEdit::Password);

    FromLabel = NewLabel("FromLabel", tr("Sen&der address:"), this);
    From = NewTextBox("From", this);
    From->setPlaceholderText(tr("automatic"));
    SendTestMail = NewButton(QStringLiteral("SendTestMail"), tr("Send Test Mail"), this);
    StatusText = new QPlainTextEdit(this);
    StatusText->setObjectName(QStringLiteral("StatusText"));
    StatusText->setReadOnly(true);
    StatusText->setTabChangesFocus(true);
    WaitingFrame = new QGroupBox(tr("Nag Mails Waiting to Be Sent"), this);
    WaitingFrame->setObjectName(QStringLiteral("WaitingFrame"));
    WaitingList = new QListWidget(WaitingFrame);
    WaitingList->setObjectName(QStringLiteral("WaitingList"));
    RetryNowButton = NewButton(QStringLiteral("RetryNowButton"), tr("Retry Now"), WaitingFrame);
    DiscardButton = NewButton(QStringLiteral("DiscardButton"), tr("Discard"), WaitingFrame);
    OKButton = NewButton(QStringLiteral("OKButton"), tr("OK"), this);
    CancelButton = NewButton(QStringLiteral("CancelButton"), tr("Cancel"), this);

    // Each field says what it holds; the captions carry a colon and a mnemonic besides.
    const std::pair<QLabel*, QWidget*> captions[] = {{HostLabel, Host},         {PortLabel, Port},
                                                     {SecurityLabel, Security}, {UserLabel, User},
                                                     {PasswordLabel, Password}, {FromLabel, From}};
    const QString names[] = {tr("Server"),    tr("Port"),     tr("Security"),
                             tr("User name"), tr("Password"), tr("Sender address")};
    for (size_t i = 0; i < std::size(captions); ++i) {
        captions[i].first->setBuddy(captions[i].second);
        captions[i].second->setAccessibleName(names[i]);
    }
    Port->setAccessibleDescription(tr("Empty for the usual port of the security chosen"));
    From->setAccessibleDescription(
        tr("Empty for an address made of the user and host name; test mail goes here"));
    StatusText->setAccessibleName(tr("Test mail result"));
    WaitingList->setAccessibleName(tr("Waiting mails"));
    // A few lines each: the form must fit a small screen, and both scroll.
    StatusText->setMaximumHeight(3 * StatusText->fontMetrics().lineSpacing());
    WaitingList->setMinimumHeight(3 * WaitingList->fontMetrics().lineSpacing());

    auto* method = new QVBoxLayout(MethodFrame);
    method->addWidget(SendmailOption);
    method->addWidget(SmtpOption);
    auto* server = new QGridLayout(ServerFrame);
    for (int row = 0; row < 5; ++row) {
        server->addWidget(captions[row].first, row, 0);
        server->addWidget(captions[row].second, row, 1,
                          captions[row].second == Port || captions[row].second == Security
                              ? Qt::AlignLeft
                              : Qt::Alignment());
    }
    server->setColumnStretch(1, 1);
    Port->setMaximumWidth(Port->fontMetrics().averageCharWidth() * 10);
    auto* from_row = new QHBoxLayout;
    from_row->addWidget(FromLabel);
    from_row->addWidget(From, 1);
    auto* test_row = new QHBoxLayout;
    test_row->addWidget(SendTestMail);
    test_row->addStretch();
    auto* waiting = new QGridLayout(WaitingFrame);
    waiting->addWidget(WaitingList, 0, 0, 3, 1);
    waiting->addWidget(RetryNowButton, 0, 1);
    waiting->addWidget(DiscardButton, 1, 1);
    waiting->setRowStretch(2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* form = new QVBoxLayout(this);
    form->addWidget(MethodFrame);
    form->addWidget(ServerFrame);
    form->addLayout(from_row);
    form->addLayout(test_row);
    form->addWidget(StatusText);
    form->addWidget(WaitingFrame, 1);
    form->addLayout(buttons);

    QWidget* const order[] = {SendmailOption, SmtpOption, Host,        Port,
                              Security,       User,       Password,    From,
                              SendTestMail,   StatusText, WaitingList, RetryNowButton,
                              DiscardButton,  OKButton,   CancelButton};
    for (size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
    OpenAtDesignSize(6015, 0);
}

void MailServerForm::WireHandlers() {
    for (QLineEdit* box : {Host, Port, User, Password, From}) {
        connect(box, &QLineEdit::textChanged, this, &MailServerForm::MailServerForm_Field_Change);
    }
    connect(Security, &QComboBox::currentIndexChanged, this,
            &MailServerForm::MailServerForm_Field_Change);
    connect(SmtpOption, &QRadioButton::toggled, this,
            &MailServerForm::MailServerForm_SmtpOption_Click);
    connect(SendTestMail, &QPushButton::clicked, this,
            &MailServerForm::MailServerForm_SendTestMail_Click);
    connect(&test_mail_, &QFutureWatcherBase::finished, this, &MailServerForm::ShowTestMailAnswer);
    connect(OKButton, &QPushButton::clicked, this, &MailServerForm::MailServerForm_OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this,
            &MailServerForm::MailServerForm_CancelButton_Click);
    connect(RetryNowButton, &QPushButton::clicked, this,
            &MailServerForm::MailServerForm_RetryNowButton_Click);
    connect(DiscardButton, &QPushButton::clicked, this,
            &MailServerForm::MailServerForm_DiscardButton_Click);
    connect(WaitingList, &QListWidget::itemSelectionChanged, this,
            [this] { DiscardButton->setEnabled(!WaitingList->selectedItems().isEmpty()); });
}

void MailServerForm::Opening() {
    MailServerForm_Form_Load();
}

MailServerSettings MailServerForm::FormSettings() const {
    MailServerSettings settings;
    settings.method = SmtpOption->isChecked() ? MailMethod::kSmtp : MailMethod::kSendmail;
    settings.host = Host->text().toStdString();
    settings.port = Port->text().toStdString();
    settings.security = kSecurityChoices[std::max(0, Security->currentIndex())];
    settings.user = User->text().toStdString();
    settings.from = From->text().toStdString();
    return settings;
}

void MailServerForm::ShowMethod() {
    ServerFrame->setEnabled(SmtpOption->isChecked());
    Password->setEnabled(keyring_available_);
}

void MailServerForm::ShowOutbox(Outbox& outbox) {
    outbox_ = &outbox;
    connect(&outbox, &Outbox::WaitingChanged, this, &MailServerForm::FillWaitingList);
    connect(&outbox, &Outbox::RetryDone, this, &MailServerForm::FillWaitingList);
    connect(&outbox, &Outbox::RetryDone, this, &MailServerForm::ShowRetryResult);
}

void MailServerForm::ShowRetryResult() {
    if (!std::exchange(retry_asked_, false)) {
        return;  // a retry of the outbox's own timer: the status shows what the user did
    }
    const int waiting = outbox_->WaitingCount();
    StatusText->setPlainText(
        waiting == 0 ? tr("Every waiting nag mail has been sent.")
        : waiting == 1
            ? tr("1 nag mail is still waiting; Pesterly tries again later.")
            : tr("%n nag mails are still waiting; Pesterly tries again later.", nullptr, waiting));
}

// The list changes only through the outbox; neither it nor its buttons touch the settings, so
// OK and Cancel stay as they are.
void MailServerForm::FillWaitingList() {
    WaitingList->clear();
    if (outbox_ != nullptr) {
        for (const Outbox::Waiting& mail : outbox_->List()) {
            QString recipients;
            for (const std::string& address : mail.recipients) {
                recipients +=
                    (recipients.isEmpty() ? QString() : QStringLiteral(", ")) + FromStd(address);
            }
            auto* item =
                new QListWidgetItem(tr("%1 (to %2, since %3)")
                                        .arg(FromStd(mail.event), recipients,
                                             QLocale().toString(mail.since, QLocale::ShortFormat)),
                                    WaitingList);
            item->setData(Qt::UserRole, mail.id);
        }
    }
    WaitingFrame->setEnabled(outbox_ != nullptr);
    RetryNowButton->setEnabled(WaitingList->count() > 0);
    DiscardButton->setEnabled(false);
}

void MailServerForm::MailServerForm_RetryNowButton_Click() {
    StatusText->setPlainText(tr("Sending the waiting nag mails again..."));
    retry_asked_ = true;
    outbox_->RetryNow();
}

void MailServerForm::MailServerForm_DiscardButton_Click() {
    const QList<QListWidgetItem*> picked = WaitingList->selectedItems();
    if (picked.isEmpty()) {
        return;
    }
    if (!outbox_->Discard(picked.front()->data(Qt::UserRole).toString())) {
        StatusText->setPlainText(
            tr("That mail is being sent right now, so it cannot be discarded; try again once the "
               "list has changed."));
    }
    FillWaitingList();
}

void MailServerForm::MailServerForm_Form_Load() {
    FillWaitingList();
    const MailServerSettings& settings = options_.Mail;
    (settings.method == MailMethod::kSmtp ? SmtpOption : SendmailOption)->setChecked(true);
    Host->setText(FromStd(settings.host));
    Port->setText(FromStd(settings.port));
    Security->setCurrentIndex(static_cast<int>(
        std::find(std::begin(kSecurityChoices), std::end(kSecurityChoices), settings.security) -
        std::begin(kSecurityChoices)));
    User->setText(FromStd(settings.user));
    From->setText(FromStd(settings.from));
    Password->clear();
    QStringList notes;
    keyring_available_ = keyring_.Available();
    opened_account_ = settings.user.empty() ? std::string() : MailAccountName(settings);
    if (!keyring_available_) {
        Password->setPlaceholderText(tr("no keyring"));
        notes << tr(
            "No keyring service runs in this desktop session, so Pesterly cannot keep a "
            "password. A login in ~/.netrc still works.");
    } else if (!opened_account_.empty()) {
        const Result<std::string> stored = keyring_.Read(opened_account_);
        if (!stored) {
            notes << Shown(stored.error());
        } else {
            Password->setText(FromStd(*stored));
        }
    }
    if (const char* url = std::getenv("PESTERLY_MAIL_URL"); url != nullptr && *url != '\0') {
        notes << tr(
            "PESTERLY_MAIL_URL is set, so mail goes to the server it names whatever the "
            "settings here say.");
    }
    StatusText->setPlainText(notes.join(QLatin1Char('\n')));
    ShowMethod();
    // Filling the controls above reported changes; the form still opens unchanged.
    Password->setModified(false);
    OKButton->setEnabled(false);
    CancelButton->setFocus();
}

void MailServerForm::MailServerForm_Field_Change() {
    OKButton->setEnabled(true);
}

void MailServerForm::MailServerForm_SmtpOption_Click() {
    ShowMethod();
    OKButton->setEnabled(true);
}

void MailServerForm::MailServerForm_SendTestMail_Click() {
    const MailServerSettings settings = FormSettings();
    if (const Result<void> checked = CheckMailServer(settings); !checked) {
        StatusText->setPlainText(Shown(checked.error()));
        return;
    }
    MailSettings mail = MailSettingsFor(settings, Password->text().toStdString());
    mail.stop = end_of_test_mail_.get_token();
    StatusText->setPlainText(tr("Sending a test mail..."));
    // The form goes on while a slow server answers; the answer shows when it comes.
    SendTestMail->setEnabled(false);
    test_mail_.setFuture(QtConcurrent::run(send_test_mail_, mail));
}

void MailServerForm::ShowTestMailAnswer() {
    const Result<std::string> answer = test_mail_.result();
    SendTestMail->setEnabled(true);
    StatusText->setPlainText(
        answer ? FromStd(*answer)
               : tr("The test mail could not be sent: %1").arg(Shown(answer.error())));
}

void MailServerForm::MailServerForm_OKButton_Click() {
    const MailServerSettings settings = FormSettings();
    if (const Result<void> saved = SaveMailServer(store_, options_, settings); !saved) {
        asker_.Tell(tr("%1\n\nNothing was saved. Press OK to try again.")
                        .arg(Shown(saved.error()))
                        .toStdString());
        return;
    }
    const std::string account = settings.user.empty() ? std::string() : MailAccountName(settings);
    if (keyring_available_ && (Password->isModified() || account != opened_account_)) {
        Result<void> written;
        if (!opened_account_.empty() && account != opened_account_) {
            written = keyring_.Write(opened_account_, "");
        }
        if (written && !account.empty()) {
            written = keyring_.Write(account, Password->text().toStdString());
        }
        if (!written) {
            asker_.Tell(tr("%1\n\nThe other settings were saved. Press OK to try again.")
                            .arg(Shown(written.error()))
                            .toStdString());
            return;
        }
    }
    accept();
}

void MailServerForm::MailServerForm_CancelButton_Click() {
    reject();
}

}  // namespace pesterly
