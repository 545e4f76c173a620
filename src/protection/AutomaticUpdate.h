#pragma once
#include <cstdint>
#include <functional>

#include "core/LogicalTimer.h"

namespace vedozer {

// The automatic Live Update: once per run, after 300 one-second ticks during which no scan ran
// (ticks while a scan runs do not count). The timer (BackgroundTimers::automaticUpdate) is armed
// at start-up when the option is on; this is its tick.
class AutomaticUpdate {
public:
    AutomaticUpdate(LogicalTimer& timer, std::function<bool()> scanRunning, std::function<void()> runLiveUpdate);

    // timUpdate's tick: the 301st scan-free tick disarms the timer and runs Live Update.
    void tick();

    int32_t idleTicks() const { return m_idleTicks; }
    bool ran() const { return m_ran; }

    static constexpr int32_t kIdleTicks = 300;

private:
    LogicalTimer& m_timer;
    std::function<bool()> m_scanRunning;
    std::function<void()> m_runLiveUpdate;
    int32_t m_idleTicks = 0;
    bool m_ran = false;
};

}  // namespace vedozer
