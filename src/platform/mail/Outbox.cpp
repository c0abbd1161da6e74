#include "platform/mail/Outbox.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include "mail/NagListSettings.h"
#include "mail/NagMail.h"
#include "platform/WholeFile.h"

namespace pesterly {
namespace {

constexpr int kLongestGapMinutes = 60;
constexpr int64_t kLargestMail = 64 << 20;
// A write takes a moment; a copy this old was cut short.
constexpr int kStaleLeftoverSeconds = 600;
const QString kSuffix = QStringLiteral(".mail");
const QString kLockName = QStringLiteral(".lock");
// The form of outbox file that carries its length.
constexpr std::string_view kWholeProvenForm = "Pesterly-Mail: 2\n";

bool MakePrivateFolder(const QString& folder) {
    if (!QDir().mkpath(folder)) {
        return false;
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return true;
}

// Moves the file or folder into `folder`, keeping its name unless one there has it already.
bool MoveInto(const QString& path, const QString& folder) {
    if (!MakePrivateFolder(folder)) {
        return false;
    }
    QString target = folder + QLatin1Char('/') + QFileInfo(path).fileName();
    while (QFileInfo::exists(target)) {
        target += QLatin1Char('-') + QString::number(QRandomGenerator::global()->generate(), 16);
    }
    return QDir().rename(path, target);
}

// The mail in the file, or why there is none (the file is gone, cannot be read, or is no
// whole mail).
Result<ComposedMail> ReadMail(const QString& path) {
    const FileContents contents = ReadRegularFile(path, kLargestMail);
    if (contents.status != FileContents::Status::kRead) {
        return Error{contents.status == FileContents::Status::kMissing
                         ? ""
                         : "it cannot be read (" + contents.reason + ")"};
    }
    return ComposedMailFromText(contents.bytes);
}

// A copy of a mail left behind by a write cut short before its rename. One written to the end
// (its length says so) takes the name it was meant to have, so that its mail is not lost; any
// other is removed.
void RescueOrRemove(const QString& path) {
    const FileContents contents = ReadRegularFile(path, kLargestMail);
    if (contents.status != FileContents::Status::kRead ||
        !contents.bytes.starts_with(kWholeProvenForm) || !ComposedMailFromText(contents.bytes) ||
        !QFile::rename(path, path.left(path.lastIndexOf(QLatin1Char('.'))))) {
        QFile::remove(path);
    }
}

// What a write cut short left behind: "NAME.mail.XXXXXX".
bool IsLeftover(const QString& name) {
    const qsizetype at = name.lastIndexOf(kSuffix + QLatin1Char('.'));
    return at > 0 && name.size() == at + kSuffix.size() + 7;
}

std::string Named(const std::string& event) {
    return "The nag mail for \"" + event + "\"";
}

// What the review said when it sent the mail itself and waited for the answer.
std::string NotSent(const std::string& event) {
    return "Pesterly could not send the nag mail for \"" + event + "\".\n\n";
}

}  // namespace

Outbox::Outbox(QString folder, QuestionAsker& asker, MakePost make_post, QObject* parent)
    : QObject(parent),
      folder_(std::move(folder)),
      failed_(folder_ + QStringLiteral("/failed")),
      asker_(asker),
      make_post_(std::move(make_post)) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { StartRetry(); });
    connect(&sending_, &QFutureWatcherBase::finished, this,
            [this] { RetryFinished(sending_.result()); });
}

Outbox::~Outbox() {
    sending_.waitForFinished();
}

QString Outbox::DefaultFolder() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state)) {
        state = QDir::homePath() + QStringLiteral("/.local/state");
    }
    return state + QStringLiteral("/Pesterly/outbox");
}

Result<QString> Outbox::Keep(const ComposedMail& mail, const QString& folder) {
    if (!MakePrivateFolder(folder)) {
        return Error{"Pesterly could not create the folder " + folder.toStdString() + "."};
    }
    // Named by the time it was kept, so that the oldest goes first.
    const QString name =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz-")) +
        QString::number(QRandomGenerator::global()->generate(), 16) + kSuffix;
    if (const Result<void> written =
            ReplacePrivateFile(folder + QLatin1Char('/') + name, ComposedMailToText(mail));
        !written) {
        return written.error();
    }
    return name;
}

// The mail is on disk before it goes out: whatever happens then, even the end of the program,
// it is either sent or still there, and sent once.
Result<void> Outbox::Send(const MailDraft& draft) {
    Result<std::unique_ptr<MailPost>> made = make_post_();
    if (!made) {
        return made.error();
    }
    const Result<ComposedMail> composed = (*made)->Compose(draft);
    if (!composed) {
        return composed.error();
    }
    const Result<QString> kept = Keep(*composed, folder_);
    if (!kept) {
        return Error{"The mail could not be kept for sending: " + kept.error().message};
    }
    fresh_.insert(*kept);
    Recount();
    StartRetry(*std::move(made));
    return {};
}

void Outbox::Start() {
    Recount();
    if (!Entries().isEmpty()) {
        QTimer::singleShot(0, this, [this] { StartRetry(); });
    }
}

QStringList Outbox::Entries() const {
    QStringList entries = QDir(folder_).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    entries.removeOne(kLockName);
    entries.removeOne(QFileInfo(failed_).fileName());
    return entries;
}

QStringList Outbox::MailFiles() const {
    return QDir(folder_).entryList({QStringLiteral("*") + kSuffix}, QDir::Files, QDir::Name);
}

std::vector<Outbox::Report> Outbox::SetAsideForeignFiles() {
    std::vector<Report> reports;
    const QDateTime stale = QDateTime::currentDateTimeUtc().addSecs(-kStaleLeftoverSeconds);
    for (const QString& name : Entries()) {
        const QString path = folder_ + QLatin1Char('/') + name;
        if (IsLeftover(name)) {
            if (QFileInfo(path).lastModified() < stale) {
                RescueOrRemove(path);
            }
            continue;  // one being written now is left alone
        }
        const Result<ComposedMail> mail = ReadMail(path);
        if (!mail && mail.error().message.empty()) {
            continue;  // gone meanwhile
        }
        if (mail && name.endsWith(kSuffix) && !name.startsWith(QLatin1Char('.'))) {
            continue;
        }
        MoveInto(path, failed_);
        reports.push_back(
            {"The file " + name.toStdString() + " in the outbox (" + folder_.toStdString() +
             ") cannot be sent: " +
             (!mail ? mail.error().message : "its name hides it or does not end in .mail") +
             ". It was moved to " + failed_.toStdString() + "."});
    }
    return reports;
}

// Another copy of Pesterly may share the outbox (one state folder, two settings files); only
// the holder of this lock sends from it, so that no mail goes out twice. A lock that cannot be
// taken at all is told once.
int Outbox::LockOutbox(std::vector<Report>& reports) {
    if (!MakePrivateFolder(folder_)) {
        return -1;
    }
    const QByteArray path = QFile::encodeName(folder_ + QLatin1Char('/') + kLockName);
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0 && !told_lock_failure_) {
        told_lock_failure_ = true;
        reports.push_back({"Pesterly cannot lock the outbox (" + folder_.toStdString() +
                           "): " + std::strerror(errno) +
                           ". The mails in it are not sent, so that no other copy of Pesterly "
                           "sends them a second time."});
    }
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;  // another copy is sending: the mails are left to it
    }
    return fd;
}

void Outbox::StartRetry(std::unique_ptr<MailPost> post) {
    if (busy_) {
        again_ = true;
        return;
    }
    timer_.stop();
    std::vector<Report> reports;
    const int lock = LockOutbox(reports);
    if (lock < 0) {
        RetryFinished(std::move(reports));
        return;
    }
    std::vector<Report> set_aside = SetAsideForeignFiles();
    reports.insert(reports.end(), set_aside.begin(), set_aside.end());
    const QStringList files = MailFiles();
    if (!files.isEmpty() && !post) {
        if (Result<std::unique_ptr<MailPost>> made = make_post_(); made) {
            post = *std::move(made);
        }
    }
    if (files.isEmpty() || !post) {
        ::close(lock);
        RetryFinished(std::move(reports));
        return;
    }
    busy_ = true;
    sending_.setFuture(QtConcurrent::run(
        [this, lock, post = std::shared_ptr<MailPost>(std::move(post)), files,
         fresh = std::exchange(fresh_, {}), reports = std::move(reports)]() mutable {
            std::vector<Report> told = DeliverFiles(*post, files, fresh);
            ::close(lock);
            reports.insert(reports.end(), told.begin(), told.end());
            return reports;
        }));
}

std::vector<Outbox::Report> Outbox::DeliverFiles(MailPost& post, const QStringList& files,
                                                 const std::set<QString>& fresh) const {
    std::vector<Report> reports;
    const std::string waits = "\n\nThe mail waits in the outbox (" + folder_.toStdString() +
                              ") and will be retried while Pesterly runs.";
    for (qsizetype n = 0; n < files.size(); ++n) {
        const QString path = folder_ + QLatin1Char('/') + files[n];
        const Result<ComposedMail> read = ReadMail(path);
        if (!read) {
            continue;  // gone meanwhile (discarded), or set aside at the next retry
        }
        const ComposedMail& mail = *read;
        const Delivery delivery = post.Deliver(mail);
        if (delivery.outcome == Delivery::Outcome::kSent) {
            QFile::remove(path);
        } else if (delivery.outcome == Delivery::Outcome::kRefused) {
            const bool moved = MoveInto(path, failed_);
            reports.push_back(
                {fresh.contains(files[n])
                     ? NotSent(mail.event) + delivery.message +
                           "\n\nThe mail was refused for good and will not be sent again" +
                           (moved ? "; it was set aside in " + failed_.toStdString() + "." : ".")
                     : Named(mail.event) +
                           " was refused by the mail service and will not be sent again:\n\n" +
                           delivery.message + "\n\nIt was set aside in " + failed_.toStdString() +
                           "."});
        } else {
            // The service cannot take mail now; the rest waits for the next try, and the new
            // ones among them are told so.
            for (qsizetype rest = n; rest < files.size(); ++rest) {
                const Result<ComposedMail> waiting =
                    ReadMail(folder_ + QLatin1Char('/') + files[rest]);
                if (waiting && fresh.contains(files[rest])) {
                    reports.push_back({NotSent(waiting->event) + delivery.message + waits});
                }
            }
            break;
        }
    }
    return reports;
}

void Outbox::RetryFinished(std::vector<Report> reports) {
    busy_ = false;
    Recount();
    if (waiting_ == 0) {
        gap_minutes_ = 0;
    } else if (!again_) {
        ArmTimer(true);
    }
    for (const Report& report : reports) {
        asker_.Tell(report.message);
    }
    if (again_) {
        again_ = false;
        StartRetry();
        return;
    }
    Q_EMIT RetryDone();
}

void Outbox::ArmTimer(bool longer) {
    gap_minutes_ = (longer && gap_minutes_ > 0) ? std::min(gap_minutes_ * 2, kLongestGapMinutes)
                                                : std::max(gap_minutes_, 1);
    timer_.start(std::chrono::minutes(gap_minutes_));
}

void Outbox::RetryNow() {
    gap_minutes_ = 0;
    StartRetry();
}

std::vector<Outbox::Waiting> Outbox::List() const {
    std::vector<Waiting> waiting;
    for (const QString& name : MailFiles()) {
        const QString path = folder_ + QLatin1Char('/') + name;
        if (const Result<ComposedMail> mail = ReadMail(path)) {
            waiting.push_back(
                {name, mail->event, mail->envelope_recipients, QFileInfo(path).lastModified()});
        }
    }
    return waiting;
}

bool Outbox::Discard(const QString& id) {
    if (busy_ || id.contains(QLatin1Char('/')) || !MailFiles().contains(id)) {
        return false;
    }
    const bool removed = QFile::remove(folder_ + QLatin1Char('/') + id);
    Recount();
    return removed;
}

void Outbox::Recount() {
    const int count = static_cast<int>(MailFiles().size());
    if (count != waiting_) {
        waiting_ = count;
        Q_EMIT WaitingChanged(count);
    }
    if (count == 0) {
        timer_.stop();
    }
}

Result<void> OutboxNagMailer::SendNagMail(const Happening& event) {
    const std::optional<MailDraft> draft = NagMailDraft(event, ReadNagList(store_));
    if (!draft) {
        return {};
    }
    const Result<bool> already = diary_.NoteMail(event, clock_.Today());
    if (!already) {
        return Error{already.error().message +
                     "\n\nThe mail was not sent, so that it cannot go out twice."};
    }
    // Mailed today already, by a review that was cut short before it ended.
    return *already ? Result<void>() : outbox_.Send(*draft);
}

}  // namespace pesterly
