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
class SingleInstance : public QObject {
    Q_OBJECT

  public:
    explicit SingleInstance(const QString& settings_path, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this is the only copy; otherwise the running copy has been asked to show
    // itself (when it could be reached) and this one should end.
    bool Claim();

  signals:
    // Another start asked this copy to show its window.
    void ShowRequested();

  private:
    void Listen();
    void AcceptAll();
    bool AskRunningCopyToShow();

    std::string socket_name_;
    QLockFile lock_;
    int listener_ = -1;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace pesterly
