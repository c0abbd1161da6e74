#pragma once

#include <QIcon>
#include <QObject>
#include <QTimer>

#include "platform/TrayIcon.h"

class QSystemTrayIcon;

namespace pesterly {

// The notification-area icon through QSystemTrayIcon. Qt reports no right double-click on a
// tray icon; where the icon is an embedded X window (the XEmbed tray protocol) an application
// event filter sees it on the icon's own widget. Desktops that speak the StatusNotifierItem
// protocol report no right double-click at all, and their panel draws the icon's menu itself:
// there the menu is handed to the icon, and its "Exit" is the way out.
class QtTrayIcon : public QObject, public TrayIcon {
    Q_OBJECT

  public:
    explicit QtTrayIcon(const QIcon& icon, QObject* parent = nullptr);
    ~QtTrayIcon() override;

    bool IsAvailable() const override;
    void Add(std::function<void(TrayMouse)> on_mouse, QMenu* menu,
             std::function<void()> on_availability) override;
    void Remove() override;
    void SetTip(const QString& tip) override;

    // The widget class Qt's X11 backend uses for a docked tray icon.
    static const char* IconWidgetClass() { return "QSystemTrayIconSys"; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Report(TrayMouse mouse);
    // An XEmbed icon widget appeared or went away with a notification area.
    void WatchIconWidget(QObject* widget);
    void ReportAvailability();

    QIcon icon_;
    QString tip_ = QStringLiteral("Pesterly");
    QSystemTrayIcon* tray_ = nullptr;
    QTimer pending_right_press_;
    std::function<void(TrayMouse)> on_mouse_;
    std::function<void()> on_availability_;
};

// Whether a StatusNotifierItem host is on the session bus, as Qt asks before it picks the
// protocol of a new tray icon.
bool StatusNotifierHostPresent();

}  // namespace pesterly
