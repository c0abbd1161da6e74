#pragma once

#include <functional>

class QMenu;
class QString;

namespace pesterly {

// What the user did with the mouse on the notification-area icon.
enum class TrayMouse { kLeftPress, kLeftDoubleClick, kRightPress, kRightDoubleClick };

// The program's icon in the desktop's notification area.
class TrayIcon {
  public:
    virtual ~TrayIcon() = default;
    // Whether the desktop has a notification area to show the icon in right now.
    virtual bool IsAvailable() const = 0;
    // Shows the icon with the tip "Pesterly"; mouse actions on it are reported to on_mouse. A
    // right press is reported only once it is clear that no second press makes it a double
    // click. Where the panel draws the icon's menu itself, it shows `menu`. on_availability
    // runs when a notification area appears or goes away after the icon was added.
    virtual void Add(std::function<void(TrayMouse)> on_mouse, QMenu* menu,
                     std::function<void()> on_availability) = 0;
    virtual void Remove() = 0;
    // The tip shown over the icon, "Pesterly" until set; kept for an icon added later.
    virtual void SetTip(const QString& tip) = 0;
};

}  // namespace pesterly
