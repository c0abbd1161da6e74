#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

class QSocketNotifier;

namespace pesterly {

// Keeps to one running copy per settings file: a second copy would overwrite the first one's
// data when it ends. The first copy holds a lock keyed by the settings file in every folder of
// LockPaths() where one can be made, and listens on a local socket for later starts; a later
// start that finds any of the locks held asks the running copy to show its window and gives up.
// A full or read-only settings folder therefore does not matter as long as one other folder
// takes a lock; when none does, the program must not run. Both ends of the socket talk only to
// processes of the same user.
class SingleInstance : public QObject {
    Q_OBJECT

  public:
    // What a later start learned from the copy that runs.
    // kNoLock: no lock could be made anywhere, so this copy cannot know it is the only one.
    enum class Answer { kWindowShown, kNoAnswer, kSocketOfAnotherUser, kNoLock };

    // The lock files, in the order they are taken; LockPaths(settings_path) when empty.
    explicit SingleInstance(const QString& settings_path, QStringList lock_paths = {},
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this is the only copy; otherwise the running copy has been asked to show
    // itself, RunningCopyAnswer() says with what result, and this one should end.
    bool Claim();
    // Claim() in two steps, for a program that takes the locks on another thread while it
    // starts up (each lock file is synced to the disk as it is made): TakeLocks() touches no
    // object of this one's thread, and later starts that reach the socket meanwhile wait in
    // its queue; AnswerLaterStarts(), on this object's thread, then answers them.
    bool TakeLocks();
    void AnswerLaterStarts();
    Answer RunningCopyAnswer() const { return answer_; }

    // The name, in the abstract socket namespace, of the copy that keeps this settings file.
    static std::string SocketName(const QString& settings_path);
    // In $XDG_RUNTIME_DIR, in a folder of this user's own in the temporary folder, and beside
    // the settings file. The first two are not where the data is, so they are still there when
    // the settings folder is full or read-only. Every copy takes them in the same order, so two
    // copies that start at once cannot each hold a lock the other one needs.
    static QStringList LockPaths(const QString& settings_path);
    const QStringList& TriedLockPaths() const { return lock_paths_; }

  Q_SIGNALS:
    // Another start asked this copy to show its window.
    void ShowRequested();

  private:
    void Listen();
    void AcceptAll();
    Answer AskRunningCopyToShow();

    std::string socket_name_;
    QStringList lock_paths_;
    std::vector<std::unique_ptr<QLockFile>> locks_;
    int listener_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    Answer answer_ = Answer::kNoAnswer;
};

}  // namespace pesterly
