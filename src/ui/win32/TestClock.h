#pragma once
#include <windows.h>

#include <cstdint>

#include "platform/Clock.h"

namespace vedozer::win32ui {

// The local clock moved ahead and running faster, for tests of what happens at a time of day
// (a scheduled scan) without waiting for it. Only a test switch of the command line makes one.
class TestClock : public Clock {
public:
    TestClock(int64_t aheadSeconds, uint32_t rate);
    LocalTime now() override;
    uint64_t millis() override { return GetTickCount64(); }
    void sleepMillis(uint32_t ms) override { Sleep(ms); }

private:
    int64_t m_aheadSeconds;
    uint32_t m_rate;
    ULONGLONG m_start;
};

}  // namespace vedozer::win32ui
