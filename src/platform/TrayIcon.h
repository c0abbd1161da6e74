#pragma once

#include <functional>

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
    // click.
    virtual void Add(std::function<void(TrayMouse)> on_mouse) = 0;
    virtual void Remove() = 0;
};

}  // namespace pesterly
