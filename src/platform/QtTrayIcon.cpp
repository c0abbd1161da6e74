#include "platform/QtTrayIcon.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QMenu>
#include <QMouseEvent>
#include <QSystemTrayIcon>

namespace pesterly {

QtTrayIcon::QtTrayIcon(const QIcon& icon, QObject* parent) : QObject(parent), icon_(icon) {
    pending_right_press_.setSingleShot(true);
    connect(&pending_right_press_, &QTimer::timeout, this,
            [this] { Report(TrayMouse::kRightPress); });
}

QtTrayIcon::~QtTrayIcon() {
    Remove();
}

bool QtTrayIcon::IsAvailable() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool StatusNotifierHostPresent() {
    const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(watcher).value()) {
        return false;
    }
    QDBusInterface properties(watcher, QStringLiteral("/StatusNotifierWatcher"), watcher, bus);
    return properties.property("IsStatusNotifierHostRegistered").toBool();
}

void QtTrayIcon::SetTip(const QString& tip) {
    tip_ = tip;
    if (tray_ != nullptr) {
        tray_->setToolTip(tip_);
    }
}

void QtTrayIcon::Add(std::function<void(TrayMouse)> on_mouse, QMenu* menu,
                     std::function<void()> on_availability) {
    if (tray_ != nullptr) {
        return;
    }
    on_mouse_ = std::move(on_mouse);
    on_availability_ = std::move(on_availability);
    tray_ = new QSystemTrayIcon(icon_, this);
    tray_->setToolTip(tip_);
    if (menu != nullptr && StatusNotifierHostPresent()) {
        // The panel shows this menu on a right click; it must be handed over before the icon
        // is shown, or the panel never learns of it.
        tray_->setContextMenu(menu);
    }
    connect(tray_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                switch (reason) {
                    case QSystemTrayIcon::Trigger:
                        Report(TrayMouse::kLeftPress);
                        break;
                    case QSystemTrayIcon::DoubleClick:
                        Report(TrayMouse::kLeftDoubleClick);
                        break;
                    case QSystemTrayIcon::Context:
                        // Wait and see whether a second press makes it a double click.
                        pending_right_press_.start(QApplication::doubleClickInterval());
                        break;
                    default:
                        break;
                }
            });
    // Only X11 has the icon's own widget to watch; elsewhere the filter would see nothing.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        qApp->installEventFilter(this);
    }
    tray_->show();
}

void QtTrayIcon::Remove() {
    if (tray_ == nullptr) {
        return;
    }
    qApp->removeEventFilter(this);
    pending_right_press_.stop();
    tray_->hide();
    // Remove may be called from inside one of the icon's own mouse events.
    tray_->deleteLater();
    tray_ = nullptr;
}

bool QtTrayIcon::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched->inherits(IconWidgetClass())) {
        // Qt makes the XEmbed icon's widget when a notification area appears, which may be
        // long after start (a panel still starting at login), and deletes it when the area
        // goes away.
        WatchIconWidget(watched);
    }
    if (event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton &&
        watched->inherits(IconWidgetClass())) {
        pending_right_press_.stop();
        Report(TrayMouse::kRightDoubleClick);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void QtTrayIcon::WatchIconWidget(QObject* widget) {
    connect(widget, &QObject::destroyed, this, &QtTrayIcon::ReportAvailability,
            Qt::UniqueConnection);
    ReportAvailability();
}

void QtTrayIcon::ReportAvailability() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (on_availability_ && tray_ != nullptr) {
                on_availability_();
            }
        },
        Qt::QueuedConnection);
}

void QtTrayIcon::Report(TrayMouse mouse) {
    // Delivered from the event loop, not from inside the icon's event: what it starts (a menu,
    // a modal loop, the end of the program) must not run while Qt still handles that event.
    QMetaObject::invokeMethod(
        this,
        [this, mouse] {
            if (on_mouse_ && tray_ != nullptr) {
                on_mouse_(mouse);
            }
        },
        Qt::QueuedConnection);
}

}  // namespace pesterly
