#pragma once

#include <functional>

#include "platform/TrayIcon.h"

namespace pesterly::testing {

// A notification-area icon that tests click on.
class FakeTrayIcon : public TrayIcon {
  public:
    bool IsAvailable() const override { return available; }
    void Add(std::function<void(TrayMouse)> on_mouse) override {
        on_mouse_ = std::move(on_mouse);
        ++adds;
        shown = true;
    }
    void Remove() override {
        shown = false;
        ++removes;
    }
    void Click(TrayMouse mouse) {
        if (shown && on_mouse_) {
            on_mouse_(mouse);
        }
    }

    bool available = true;
    bool shown = false;
    int adds = 0;
    int removes = 0;

  private:
    std::function<void(TrayMouse)> on_mouse_;
};

}  // namespace pesterly::testing
