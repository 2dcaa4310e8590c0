#include <chrono>
#include <ctime>

#include "datetime.h"

CalendarFields ReadLocalWallClock() {
    // Whole seconds only: the fraction is dropped, never rounded up into the next second.
    const auto now = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    // A clock the C library cannot express in local time has no defined reading; the all-zero
    // fields then clamp to the first moment of the range rather than to garbage.
    if (localtime_r(&seconds, &local) == nullptr) return {};
    // tm_sec may be 60 in a leap second; MakeDateTime clamps it to 59 like any other field.
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}
