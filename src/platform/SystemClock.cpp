#include "platform/SystemClock.h"

#include <algorithm>
#include <ctime>

namespace pesterly {

DateValue SystemClock::Now() const {
    // Not time(): it reads a coarse clock that may still show the last second when a timer of
    // the real-time clock has already fired for the next one.
    timespec precise{};
    clock_gettime(CLOCK_REALTIME, &precise);
    const std::time_t now = precise.tv_sec;
    std::tm local{};
    localtime_r(&now, &local);
    return DateValue::Compose(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                              local.tm_min, std::min(local.tm_sec, 59));
}

}  // namespace pesterly
