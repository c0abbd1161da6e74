#pragma once

#include <functional>

class QString;

namespace pesterly {

// A notification of the desktop, outside the program's own windows, as a desktop shows it in a
// bubble or a list of notifications. One at a time: a new one replaces the one shown.
class DesktopNotifier {
  public:
    virtual ~DesktopNotifier() = default;
    // Shows `body`, plain text, under the summary "Pesterly"; `on_click` runs when the user
    // clicks the notification. Returns at once; where the desktop shows no notifications
    // nothing happens and nothing is said.
    virtual void Notify(const QString& body, std::function<void()> on_click) = 0;
    // Takes the notification back, if it is still shown.
    virtual void Withdraw() = 0;
};

}  // namespace pesterly
