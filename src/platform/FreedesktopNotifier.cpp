#include "platform/FreedesktopNotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>
#include <utility>

namespace pesterly {
namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kDefaultAction = QStringLiteral("default");

QDBusMessage Call(const QString& method) {
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

}  // namespace

FreedesktopNotifier::FreedesktopNotifier(QString icon, QObject* parent)
    : QObject(parent), icon_(std::move(icon)) {}

FreedesktopNotifier::~FreedesktopNotifier() {
    Withdraw();
}

void FreedesktopNotifier::Notify(const QString& body, std::function<void()> on_click) {
    Withdraw();
    on_click_ = std::move(on_click);
    const quint64 round = ++round_;
    // The bus is reached the first time there is something to show, not at start.
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return;
    }
    if (!listening_) {
        // Signals from any sender: naming the service would make Qt look up its owner, waiting
        // for the bus's answer. The ids tell our notifications apart.
        listening_ = bus.connect(QString(), kPath, kInterface, QStringLiteral("ActionInvoked"),
                                 this, SLOT(OnActionInvoked(uint, QString))) &&
                     bus.connect(QString(), kPath, kInterface, QStringLiteral("NotificationClosed"),
                                 this, SLOT(OnNotificationClosed(uint, uint)));
    }
    // Services that read markup in the body are told so; the others show it as typed.
    Watch(bus.asyncCall(Call(QStringLiteral("GetCapabilities"))),
          [this, round, body](const QDBusPendingCallWatcher& answer) {
              if (answer.isError() || round != round_) {
                  return;
              }
              const bool markup = QDBusPendingReply<QStringList>(answer).value().contains(
                  QStringLiteral("body-markup"));
              QDBusMessage notify = Call(QStringLiteral("Notify"));
              notify << QStringLiteral("Pesterly") << 0U << icon_ << QStringLiteral("Pesterly")
                     << (markup ? body.toHtmlEscaped() : body)
                     << QStringList{kDefaultAction, tr("Answer")}
                     << QVariantMap{{QStringLiteral("desktop-entry"), QStringLiteral("pesterly")}}
                     << 0;  // shown until withdrawn
              Watch(QDBusConnection::sessionBus().asyncCall(notify),
                    [this, round](const QDBusPendingCallWatcher& shown) {
                        if (shown.isError()) {
                            return;
                        }
                        const uint id = QDBusPendingReply<uint>(shown).value();
                        if (round == round_) {
                            id_ = id;
                        } else {
                            Close(id);
                        }
                    });
          });
}

void FreedesktopNotifier::Withdraw() {
    ++round_;
    on_click_ = nullptr;
    if (id_ != 0) {
        Close(std::exchange(id_, 0));
    }
}

void FreedesktopNotifier::OnActionInvoked(uint id, const QString& action) {
    if (id != 0 && id == id_ && action == kDefaultAction && on_click_) {
        on_click_();
    }
}

void FreedesktopNotifier::OnNotificationClosed(uint id, uint /*reason*/) {
    if (id != 0 && id == id_) {
        id_ = 0;
    }
}

void FreedesktopNotifier::Watch(const QDBusPendingCall& call,
                                std::function<void(const QDBusPendingCallWatcher&)> done) {
    auto* watcher = new QDBusPendingCallWatcher(call, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [watcher, done = std::move(done)] {
        done(*watcher);
        watcher->deleteLater();
    });
}

void FreedesktopNotifier::Close(uint id) {
    QDBusMessage close = Call(QStringLiteral("CloseNotification"));
    close << id;
    QDBusConnection::sessionBus().asyncCall(close);
}

}  // namespace pesterly
