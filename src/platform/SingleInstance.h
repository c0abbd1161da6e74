#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <string>

class QSocketNotifier;

namespace pesterly {

// Keeps to one running copy per settings file: a second copy would overwrite the first one's
// data when it ends. The first copy holds a lock beside the settings file and listens on a
// local socket for later starts; a later start asks it to show its window and then gives up.
// Both ends talk only to processes of the same user.
class SingleInstance : public QObject {
    Q_OBJECT

  public:
    // What a later start learned from the copy that runs.
    enum class Answer { kWindowShown, kNoAnswer, kSocketOfAnotherUser };

    explicit SingleInstance(const QString& settings_path, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this is the only copy; otherwise the running copy has been asked to show
    // itself, RunningCopyAnswer() says with what result, and this one should end.
    bool Claim();
    Answer RunningCopyAnswer() const { return answer_; }

    // The name, in the abstract socket namespace, of the copy that keeps this settings file.
    static std::string SocketName(const QString& settings_path);

  Q_SIGNALS:
    // Another start asked this copy to show its window.
    void ShowRequested();

  private:
    void Listen();
    void AcceptAll();
    Answer AskRunningCopyToShow();

    std::string socket_name_;
    QLockFile lock_;
    int listener_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    Answer answer_ = Answer::kNoAnswer;
};

}  // namespace pesterly
