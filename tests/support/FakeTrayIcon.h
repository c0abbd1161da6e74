#pragma once

#include <QString>
#include <functional>

#include "platform/TrayIcon.h"

namespace pesterly::testing {

// A notification-area icon that tests click on.
class FakeTrayIcon : public TrayIcon {
  public:
    bool IsAvailable() const override { return available; }
    void Add(std::function<void(TrayMouse)> on_mouse, QMenu* /*menu*/,
             std::function<void()> on_availability) override {
        on_mouse_ = std::move(on_mouse);
        on_availability_ = std::move(on_availability);
        shown = true;
    }
    void Remove() override { shown = false; }
    void SetTip(const QString& text) override { tip = text; }
    void Click(TrayMouse mouse) {
        if (shown && on_mouse_) {
            on_mouse_(mouse);
        }
    }

    // A notification area appears or goes away, as a panel starting late or quitting.
    void SetAvailable(bool now) {
        available = now;
        if (on_availability_) {
            on_availability_();
        }
    }

    bool available = true;
    bool shown = false;
    QString tip = QStringLiteral("Pesterly");

  private:
    std::function<void(TrayMouse)> on_mouse_;
    std::function<void()> on_availability_;
};

}  // namespace pesterly::testing
