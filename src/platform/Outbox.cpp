#include "platform/Outbox.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QRandomGenerator>
#include <algorithm>
#include <optional>

#include "mail/NagListSettings.h"
#include "mail/NagMail.h"
#include "platform/WholeFile.h"

namespace pesterly {
namespace {

constexpr int kLongestGapMinutes = 60;
constexpr int64_t kLargestMail = 64 << 20;
const QString kSuffix = QStringLiteral(".mail");

// Runs the work on a thread of its own while this thread goes on painting and running its
// timers; keyboard and mouse input waits, as it would behind a modal box.
Delivery WhileRepainting(const std::function<Delivery()>& work) {
    std::optional<Delivery> result;
    QEventLoop loop;
    std::thread worker([&] {
        result = work();
        // Queued, so the quit waits for the loop to run even when the work was quicker.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    return *result;
}

bool MakePrivateFolder(const QString& folder) {
    if (!QDir().mkpath(folder)) {
        return false;
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return true;
}

// Moves the file into `folder`, keeping its name.
bool MoveInto(const QString& path, const QString& folder) {
    return MakePrivateFolder(folder) &&
           QFile::rename(path, folder + QLatin1Char('/') + QFileInfo(path).fileName());
}

std::optional<ComposedMail> ReadMail(const QString& path) {
    const FileContents contents = ReadRegularFile(path, kLargestMail);
    if (contents.status != FileContents::Status::kRead) {
        return std::nullopt;
    }
    return ComposedMailFromText(contents.bytes);
}

std::string Named(const std::string& event) {
    return "The nag mail for \"" + event + "\"";
}

}  // namespace

Outbox::Outbox(QString folder, QuestionAsker& asker, MakePost make_post, QObject* parent)
    : QObject(parent),
      folder_(std::move(folder)),
      failed_(folder_ + QStringLiteral("/failed")),
      asker_(asker),
      make_post_(std::move(make_post)) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &Outbox::StartRetry);
}

Outbox::~Outbox() {
    if (worker_.joinable()) {
        worker_.join();
    }
}

QString Outbox::DefaultFolder() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state)) {
        state = QDir::homePath() + QStringLiteral("/.local/state");
    }
    return state + QStringLiteral("/Pesterly/outbox");
}

MaybeError Outbox::Keep(const ComposedMail& mail, const QString& folder) {
    if (!MakePrivateFolder(folder)) {
        return Error{"Pesterly could not create the folder " + folder.toStdString() + "."};
    }
    // Named by the time it was kept, so that the oldest goes first.
    const QString name =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz-")) +
        QString::number(QRandomGenerator::global()->generate(), 16) + kSuffix;
    return ReplacePrivateFile(folder + QLatin1Char('/') + name, ComposedMailToText(mail));
}

MaybeError Outbox::Send(const MailDraft& draft) {
    std::string reason;
    const std::unique_ptr<MailPost> post = make_post_(reason);
    if (!post) {
        return Error{reason};
    }
    ComposedMail mail;
    if (MaybeError error = post->Compose(draft, mail)) {
        return error;
    }
    const std::string kept_here = "\n\nThe mail waits in the outbox (" + folder_.toStdString() +
                                  ") and will be retried while Pesterly runs.";
    if (busy_) {
        // A retry is on its way: this mail goes out right after it, never beside it.
        if (MaybeError error = Keep(mail, folder_)) {
            return Error{"The mail could not be kept for sending: " + error->message};
        }
        again_ = true;
        Recount();
        return std::nullopt;
    }
    busy_ = true;
    const Delivery delivery = WhileRepainting([&post, &mail] { return post->Deliver(mail); });
    busy_ = false;
    MaybeError error;
    if (delivery.outcome == Delivery::Outcome::kRefused) {
        const MaybeError kept = Keep(mail, failed_);
        error = Error{delivery.message +
                      "\n\nThe mail was refused for good and will not be sent "
                      "again" +
                      (kept ? "." : "; it was set aside in " + failed_.toStdString() + ".")};
    } else if (delivery.outcome == Delivery::Outcome::kTryLater) {
        if (const MaybeError kept = Keep(mail, folder_)) {
            error = Error{delivery.message +
                          "\n\nThe mail could not be kept for a later try: " + kept->message};
        } else {
            error = Error{delivery.message + kept_here};
            if (!timer_.isActive()) {
                ArmTimer(false);
            }
        }
    }
    if (again_) {
        again_ = false;
        timer_.stop();
        QTimer::singleShot(0, this, &Outbox::StartRetry);
    }
    Recount();
    return error;
}

void Outbox::Start() {
    Recount();
    if (!QDir(folder_).entryList(QDir::Files | QDir::System).isEmpty()) {
        QTimer::singleShot(0, this, &Outbox::StartRetry);
    }
}

QStringList Outbox::MailFiles() const {
    return QDir(folder_).entryList({QStringLiteral("*") + kSuffix}, QDir::Files, QDir::Name);
}

std::vector<Outbox::Report> Outbox::SetAsideForeignFiles() {
    std::vector<Report> reports;
    // Dot files, and what a write cut short left behind ("NAME.mail.XXXXXX"), are no mail.
    const QStringList all = QDir(folder_).entryList(QDir::Files | QDir::System, QDir::Name);
    for (const QString& name : all) {
        const bool ours =
            name.endsWith(kSuffix) && ReadMail(folder_ + QLatin1Char('/') + name).has_value();
        if (ours || name.contains(kSuffix + QLatin1Char('.'))) {
            continue;
        }
        MoveInto(folder_ + QLatin1Char('/') + name, failed_);
        reports.push_back({"The file " + name.toStdString() + " in the outbox (" +
                           folder_.toStdString() +
                           ") is not a nag mail Pesterly can send; it was moved to " +
                           failed_.toStdString() + "."});
    }
    return reports;
}

void Outbox::StartRetry() {
    if (busy_) {
        again_ = true;
        return;
    }
    timer_.stop();
    std::vector<Report> reports = SetAsideForeignFiles();
    const QStringList files = MailFiles();
    std::string reason;
    std::unique_ptr<MailPost> post = files.isEmpty() ? nullptr : make_post_(reason);
    if (!post) {
        RetryFinished(std::move(reports));
        return;
    }
    busy_ = true;
    if (worker_.joinable()) {
        worker_.join();
    }
    worker_ =
        std::thread([this, post = std::move(post), files, reports = std::move(reports)]() mutable {
            for (const QString& name : files) {
                const QString path = folder_ + QLatin1Char('/') + name;
                const std::optional<ComposedMail> mail = ReadMail(path);
                if (!mail) {
                    continue;  // gone meanwhile (discarded), or set aside at the next retry
                }
                const Delivery delivery = post->Deliver(*mail);
                if (delivery.outcome == Delivery::Outcome::kSent) {
                    QFile::remove(path);
                } else if (delivery.outcome == Delivery::Outcome::kRefused) {
                    MoveInto(path, failed_);
                    reports.push_back({Named(mail->event) +
                                       " was refused by the mail service and "
                                       "will not be sent again:\n\n" +
                                       delivery.message + "\n\nIt was set aside in " +
                                       failed_.toStdString() + "."});
                } else {
                    break;  // the service cannot take mail now; the rest waits for the next try
                }
            }
            QMetaObject::invokeMethod(
                this, [this, reports = std::move(reports)]() mutable { RetryFinished(reports); },
                Qt::QueuedConnection);
        });
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
        if (const std::optional<ComposedMail> mail = ReadMail(path)) {
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

MaybeError OutboxNagMailer::SendNagMail(const Happening& event) {
    const std::optional<MailDraft> draft = NagMailDraft(event, ReadNagList(store_));
    if (!draft) {
        return std::nullopt;
    }
    return outbox_.Send(*draft);
}

}  // namespace pesterly
