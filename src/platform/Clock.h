#pragma once
#include <cstdint>

namespace vedozer {

struct LocalTime {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    int weekday = 0;  // 0 Sunday
    bool operator==(const LocalTime&) const = default;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime now() = 0;
    virtual uint64_t millis() = 0;  // monotonic
    virtual void sleepMillis(uint32_t ms) = 0;
};

}  // namespace vedozer
