#pragma once
#include <cstdint>
#include <functional>
#include <optional>

#include "platform/Clock.h"
#include "protection/Schedule.h"
#include "settings/Settings.h"

namespace vedozer {

// The scan scheduler (tmrScheduler's tick). A scheduled scan starts at the first tick at or
// after its second, up to a minute late (a coarse or busy timer never misses it), and each
// scheduled start runs once: a second tick in the same second or minute starts nothing.
class Scheduler {
public:
    // startScan runs the scan as the Start command does and returns when it (and an unattended
    // removal) has finished; its argument says whether to remove what it finds without asking.
    Scheduler(const Settings& settings, Clock* clock, std::function<void(bool removeWithoutAsking)> startScan);

    // One tick: true when it started the scheduled scan.
    bool check();

    // True while a scheduled scan with automatic deletion runs.
    bool unattendedRemoval() const { return m_unattended; }

    static constexpr int64_t kLateStartSeconds = 60;

private:
    const Settings& m_settings;
    Clock* m_clock;
    std::function<void(bool)> m_startScan;
    std::optional<int64_t> m_lastStart;  // the scheduled second last started
    bool m_unattended = false;
};

}  // namespace vedozer
