#pragma once

#include <QString>

#include "platform/DesktopNotifier.h"

namespace pesterly::testing {

// A desktop that shows one notification at a time, for the test to read.
class FakeDesktopNotifier : public DesktopNotifier {
  public:
    void Notify(const QString& text, std::function<void()> /*on_click*/) override {
        body = text;
        shown = true;
    }
    void Withdraw() override { shown = false; }

    QString body;
    bool shown = false;
};

}  // namespace pesterly::testing
