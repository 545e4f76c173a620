#pragma once
#include <vector>

#include "app/LogicalTimer.h"
#include "settings/Settings.h"

namespace vedozer {

// The protection timers of the desktop program. Their ticks belong to the protection features
// (set with LogicalTimer::setHandler); this class holds only when each one runs. Scans,
// removals, Live Update and shield checks switch them off and, afterwards, back on from the
// saved options.
class BackgroundTimers {
public:
    explicit BackgroundTimers(const Settings& settings);

    LogicalTimer scheduler{"scheduler", 10};
    LogicalTimer homePageCheck{"home page check", 5000};
    LogicalTimer memoryShield{"memory shield", 10000};
    // The automatic Live Update, armed once at start-up when the option says so.
    LogicalTimer automaticUpdate{"automatic update", 1000};

    // On: the scheduler runs when scheduled scans are enabled, the home-page check when that
    // shield is on, the memory shield when it is on. Off: all three stop.
    void set(bool on);
    std::vector<LogicalTimer*> all() { return {&scheduler, &homePageCheck, &memoryShield, &automaticUpdate}; }

private:
    const Settings& m_settings;
};

}  // namespace vedozer
