#include "platform/QtTrayIcon.h"

#include <QApplication>
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

void QtTrayIcon::Add(std::function<void(TrayMouse)> on_mouse) {
    if (tray_ != nullptr) {
        return;
    }
    on_mouse_ = std::move(on_mouse);
    tray_ = new QSystemTrayIcon(icon_, this);
    tray_->setToolTip(QStringLiteral("Pesterly"));
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
    qApp->installEventFilter(this);
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
    if (event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton &&
        watched->inherits(IconWidgetClass())) {
        pending_right_press_.stop();
        Report(TrayMouse::kRightDoubleClick);
        return true;
    }
    return QObject::eventFilter(watched, event);
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
