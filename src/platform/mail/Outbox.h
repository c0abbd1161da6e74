#pragma once

#include <QDateTime>
#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "mail/MailDraft.h"
#include "platform/mail/MailPost.h"
#include "platform/mail/NagMailDiary.h"
#include "reminder/NagMailer.h"
#include "reminder/QuestionAsker.h"
#include "store/Clock.h"
#include "store/SettingsStore.h"

namespace pesterly {

// Every nag mail is kept here, one owner-only file per mail, before it goes out, and leaves
// only when the mail service took it. Delivery runs on a thread of the pool, one mail at a
// time, while the windows go on as usual. What the service could not take stays and is sent
// again while the program runs: at once, then after gaps of 1, 2, 4 ... at most 60 minutes.
// One it refused for good, and anything else that cannot be sent, is moved to failed/; the
// user is told once about each. One copy of Pesterly at a time sends from the folder. With
// nothing waiting there is no timer at all.
class Outbox : public QObject {
    Q_OBJECT

  public:
    // Makes the way out for one send or one retry, with the settings as they are then (so the
    // mail module loads only at the first); an error saying why when there is none.
    using MakePost = std::function<Result<std::unique_ptr<MailPost>>()>;

    Outbox(QString folder, QuestionAsker& asker, MakePost make_post, QObject* parent = nullptr);
    // Waits for the mail in progress; stop it first through the mail service's stop request.
    ~Outbox() override;

    // $XDG_STATE_HOME/Pesterly/outbox (default ~/.local/state).
    static QString DefaultFolder();

    // Writes the draft's mail into the outbox and starts sending it; returns once the mail is
    // safe on disk. The error says why it could not be written (and so was not sent). How the
    // sending ends is told later, when it failed: with the event's name, what went wrong and
    // whether the mail waits for another try or was set aside for good.
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

    // Keeps the mail as a new file in `folder`; its name, or why it could not be written.
    Result<QString> Keep(const ComposedMail& mail, const QString& folder);
    // Everything in the outbox folder but its lock and failed/.
    QStringList Entries() const;
    QStringList MailFiles() const;
    // Moves what in the outbox is no mail Pesterly can send to failed/, one message each, and
    // clears away what a write cut short left behind.
    std::vector<Report> SetAsideForeignFiles();
    // The lock on the outbox, or -1 when another copy holds it or it cannot be had.
    int LockOutbox(std::vector<Report>& reports);
    // Sends the waiting mails, through `post` when given (else one made now).
    void StartRetry(std::unique_ptr<MailPost> post = nullptr);
    // On the pool's thread: sends the files in order until the service cannot take one, and
    // says what became of each mail that fails; `fresh` are those Send kept, by file name.
    std::vector<Report> DeliverFiles(MailPost& post, const QStringList& files,
                                     const std::set<QString>& fresh) const;
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
    // Kept by Send and not yet tried: whatever becomes of them is told.
    std::set<QString> fresh_;
    QFutureWatcher<std::vector<Report>> sending_;
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
