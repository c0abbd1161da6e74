#pragma once

#include <QObject>
#include <QTimer>

#include "reminder/WakeUpSource.h"

class QSocketNotifier;

namespace pesterly {

// Sleeps on one absolute deadline of the real-time clock (a Linux timerfd), so that the wake-up
// comes on time after a suspend, and at once when the clock is set. Where no timerfd can be
// made, a plain timer stands in.
class RealTimeWakeUpSource : public QObject, public WakeUpSource {
    Q_OBJECT

  public:
    RealTimeWakeUpSource();
    ~RealTimeWakeUpSource() override;

    void WakeAt(DateValue when, std::function<void()> wake) override;
    void Cancel() override;

  private:
    void Wake();

    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    QTimer fallback_;
    std::function<void()> wake_;
};

}  // namespace pesterly
