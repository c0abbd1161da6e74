#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "mail/MailDraft.h"
#include "platform/mail/MailPost.h"
#include "platform/mail/NagMailDiary.h"
#include "reminder/NagMailer.h"
#include "reminder/QuestionAsker.h"
#include "store/Clock.h"
#include "store/SettingsStore.h"

namespace pesterly {

// Nag mail that the mail service could not take is kept here, one owner-only file per mail,
// and sent again while the program runs: at start, then after gaps of 1, 2, 4 ... at most 60
// minutes. A file leaves only when the service took the mail; one it refused for good, and
// anything else that cannot be sent, is moved to failed/ and the user is told once. One copy
// of Pesterly at a time sends from the folder. Only one mail is
// on its way at any time. With nothing waiting there is no timer at all.
class Outbox : public QObject {
    Q_OBJECT

  public:
    // Makes the way out for one send or one retry, with the settings as they are then (so the
    // mail module loads only at the first); an error saying why when there is none.
    using MakePost = std::function<Result<std::unique_ptr<MailPost>>()>;

    Outbox(QString folder, QuestionAsker& asker, MakePost make_post, QObject* parent = nullptr);
    // Waits for a retry in progress; stop it first through the mail service's stop request.
    ~Outbox() override;

    // $XDG_STATE_HOME/Pesterly/outbox (default ~/.local/state).
    static QString DefaultFolder();

    // Sends one draft now, the windows repainting meanwhile. When the service cannot take the
    // mail now it is kept and retried; when it refuses the mail for good it is set aside in
    // failed/. The error says what went wrong and which of the two became of the mail.
    Result<void> Send(const MailDraft& draft);

    // At start: retries at once when mails wait, without loading the mail module otherwise.
    void Start();

    // For a list of the waiting mails: its file name as id, and what the mail is.
    struct Waiting {
        QString id;
        std::string event;
        std::vector<std::string> recipients;
        QDateTime since;
    };
    std::vector<Waiting> List() const;
    // Sends every waiting mail now (after the retry under way, if any).
    void RetryNow();
    // Throws the mail away unsent; false when it is not waiting, or a retry is under way.
    bool Discard(const QString& id);
    int WaitingCount() const { return waiting_; }

  Q_SIGNALS:
    void WaitingChanged(int count);
    // A retry has ended; every message about it has been told.
    void RetryDone();

  private:
    struct Report {
        std::string message;
    };

    // Keeps the mail as a new file in `folder`; its path, or why it could not be written.
    Result<void> Keep(const ComposedMail& mail, const QString& folder);
    // Everything in the outbox folder but its lock and failed/.
    QStringList Entries() const;
    QStringList MailFiles() const;
    // Moves what in the outbox is no mail Pesterly can send to failed/, one message each, and
    // clears away what a write cut short left behind.
    std::vector<Report> SetAsideForeignFiles();
    // The lock on the outbox, or -1 when another copy holds it or it cannot be had.
    int LockOutbox(std::vector<Report>& reports);
    void StartRetry();
    void RetryFinished(std::vector<Report> reports);
    void ArmTimer(bool longer);
    void Recount();

    QString folder_;
    QString failed_;
    QuestionAsker& asker_;
    MakePost make_post_;
    QTimer timer_;
    int gap_minutes_ = 0;
    bool busy_ = false;
    bool again_ = false;
    int waiting_ = 0;
    bool told_lock_failure_ = false;
    std::thread worker_;
};

// The review's mailer: the nag list read afresh for every mail, the draft sent through the
// outbox at most once a day for each event.
class OutboxNagMailer : public NagMailer {
  public:
    OutboxNagMailer(SettingsStore& store, Outbox& outbox, NagMailDiary& diary, const Clock& clock)
        : store_(store), outbox_(outbox), diary_(diary), clock_(clock) {}
    Result<void> SendNagMail(const Happening& event) override;

  private:
    SettingsStore& store_;
    Outbox& outbox_;
    NagMailDiary& diary_;
    const Clock& clock_;
};

}  // namespace pesterly
