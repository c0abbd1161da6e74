#pragma once

#include <QObject>

class QSocketNotifier;

namespace pesterly {

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal delivered on the user-interface thread,
// so that a desktop ending the program (logout, shutdown, kill) gets the same orderly end as
// the Exit command.
class SignalWatcher : public QObject {
    Q_OBJECT

  public:
    explicit SignalWatcher(QObject* parent = nullptr);
    ~SignalWatcher() override;

  Q_SIGNALS:
    void EndRequested(int signal_number);

  private:
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace pesterly
