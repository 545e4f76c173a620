#pragma once
#include <functional>

#include "core/Host.h"
#include "i18n/Languages.h"
#include "platform/Platform.h"
#include "protection/AutomaticUpdate.h"
#include "protection/BackgroundTimers.h"
#include "protection/HomePageShield.h"
#include "protection/MemoryShield.h"
#include "protection/Scheduler.h"
#include "settings/Settings.h"

namespace vedozer {

// What the protection features ask of the program around them (the session answers).
struct ProtectionHooks {
    // A context over the program's lists, counters and host for one memory-shield check.
    std::function<ScanContext()> sweepContext;
    // True while a scan runs (the Start button is disabled).
    std::function<bool()> scanRunning;
    // Runs a scan as the Start command does and returns when it is over; true: remove what it
    // finds without asking.
    std::function<void(bool removeWithoutAsking)> startScan;
    // Runs Live Update as its button does.
    std::function<void()> runLiveUpdate;
};

// Real-time protection of the desktop program: the protection timers with their tick handlers
// joined to the memory shield, the home-page shield, the scheduler and the automatic update.
// A front end drives the timers (timers().all()); a test ticks them.
class Protection {
public:
    Protection(Platform& platform, Settings& settings, const Languages& languages, Host& host, ProtectionHooks hooks);
    Protection(const Protection&) = delete;
    Protection& operator=(const Protection&) = delete;

    BackgroundTimers& timers() { return m_timers; }
    MemoryShield& memoryShield() { return m_memoryShield; }
    HomePageShield& homePageShield() { return m_homePageShield; }
    Scheduler& scheduler() { return m_scheduler; }
    AutomaticUpdate& automaticUpdate() { return m_automaticUpdate; }

    void setHost(Host& host) { m_homePageShield.setHost(host); }
    // A front end's own scan start (its scan page shows the scan) and Live Update (its progress
    // window), instead of the session's.
    void setStartScan(std::function<void(bool)> startScan) { m_hooks.startScan = std::move(startScan); }
    void setRunLiveUpdate(std::function<void()> run) { m_hooks.runLiveUpdate = std::move(run); }

private:
    ProtectionHooks m_hooks;
    BackgroundTimers m_timers;
    MemoryShield m_memoryShield;
    HomePageShield m_homePageShield;
    Scheduler m_scheduler;
    AutomaticUpdate m_automaticUpdate;
};

}  // namespace vedozer
