#pragma once

#include <QObject>
#include <QString>

#include "platform/DesktopNotifier.h"

class QDBusPendingCall;
class QDBusPendingCallWatcher;

namespace pesterly {

// Desktop notifications through the org.freedesktop.Notifications service of the session bus,
// which every common desktop runs (and dunst or xfce4-notifyd where no desktop does). Every
// call is asynchronous: a desktop without the service, or a service that is slow to answer,
// never holds up the windows.
class FreedesktopNotifier : public QObject, public DesktopNotifier {
    Q_OBJECT

  public:
    // `icon` is the program's icon name in the desktop's icon theme.
    explicit FreedesktopNotifier(QString icon, QObject* parent = nullptr);
    ~FreedesktopNotifier() override;

    void Notify(const QString& body, std::function<void()> on_click) override;
    void Withdraw() override;

  private Q_SLOTS:
    void OnActionInvoked(uint id, const QString& action);
    void OnNotificationClosed(uint id, uint reason);

  private:
    // Runs `done` on the answer to `call`, when it comes.
    void Watch(const QDBusPendingCall& call,
               std::function<void(const QDBusPendingCallWatcher&)> done);
    void Close(uint id);

    QString icon_;
    // Whether the service's signals reach this object: set up with the first notification.
    bool listening_ = false;
    // The service's number for the notification shown; 0 while there is none.
    uint id_ = 0;
    // Counts the notifications asked for, so that an answer that arrives after Withdraw(), or
    // after a newer Notify(), closes what it made.
    quint64 round_ = 0;
    std::function<void()> on_click_;
};

}  // namespace pesterly
