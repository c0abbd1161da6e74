#include "platform/RealTimeWakeUpSource.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <ctime>
#include <utility>

namespace pesterly {
namespace {

// The moment of the real-time clock that the local time `when` names, as the system clock
// would read it there; daylight saving time is looked up for that moment.
std::time_t SecondsSinceEpoch(DateValue when) {
    std::tm local{};
    local.tm_year = static_cast<int>(when.Year() - 1900);
    local.tm_mon = when.Month() - 1;
    local.tm_mday = when.Day();
    local.tm_hour = when.Hour();
    local.tm_min = when.Minute();
    local.tm_sec = when.Second();
    local.tm_isdst = -1;
    return std::mktime(&local);
}

}  // namespace

RealTimeWakeUpSource::RealTimeWakeUpSource() {
    fd_ = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd_ >= 0) {
        notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] {
            std::uint64_t expirations = 0;
            // ECANCELED: the clock was set. Either way it is time to look at the clock again.
            if (read(fd_, &expirations, sizeof expirations) < 0 && errno == EAGAIN) {
                return;
            }
            Wake();
        });
    }
    fallback_.setSingleShot(true);
    fallback_.setTimerType(Qt::PreciseTimer);
    connect(&fallback_, &QTimer::timeout, this, &RealTimeWakeUpSource::Wake);
}

RealTimeWakeUpSource::~RealTimeWakeUpSource() {
    delete notifier_;
    if (fd_ >= 0) {
        close(fd_);
    }
}

void RealTimeWakeUpSource::WakeAt(DateValue when, std::function<void()> wake) {
    wake_ = std::move(wake);
    std::time_t deadline = SecondsSinceEpoch(when);
    const std::time_t now = std::time(nullptr);
    if (deadline == static_cast<std::time_t>(-1)) {
        deadline = now + 60;  // a moment the C library cannot place: look again in a minute
    }
    if (fd_ >= 0) {
        itimerspec spec{};
        spec.it_value.tv_sec = std::max<std::time_t>(deadline, 1);  // 0 would disarm it
        if (timerfd_settime(fd_, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &spec, nullptr) ==
            0) {
            return;
        }
    }
    const std::int64_t wait_ms = (std::int64_t{deadline} - now) * 1000;
    fallback_.start(static_cast<int>(std::clamp<std::int64_t>(wait_ms, 0, 3'600'000)));
}

void RealTimeWakeUpSource::Cancel() {
    wake_ = nullptr;
    fallback_.stop();
    if (fd_ >= 0) {
        const itimerspec off{};
        timerfd_settime(fd_, 0, &off, nullptr);
    }
}

void RealTimeWakeUpSource::Wake() {
    // The handler usually sets the next wake-up itself.
    if (auto wake = std::exchange(wake_, nullptr)) {
        wake();
    }
}

}  // namespace pesterly
