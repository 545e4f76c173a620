#pragma once
#include <vector>

#include "core/LogicalTimer.h"
#include "settings/Settings.h"

namespace vedozer {

// The main window's size state, as far as the protection timers care.
enum class WindowState { Normal, Minimised, Maximised, Tray };

// The protection timers of the desktop program and the one rule for when each runs.
//
// - scheduler (10 ms): while scheduled scans are enabled (chkAutomaticScanYesOrNo a number
//   other than 0) and the main window is not in its normal state;
// - homePageCheck (5 s): while the home-page shield is on (optIEHomePageSheildOn, "True" when
//   unset), whatever the window's state;
// - memoryShield (10 s): while the memory shield is on (optMemorySheildOn, "True" when unset)
//   and the main window is not in its normal state;
// - none of the three while anything holds them: a scan, a removal, Live Update or a shield
//   check that waits for the person. Holds nest: the timers come back when the last one ends,
//   never while an outer operation still runs.
// - automaticUpdate (1 s): armed once at start-up when chkAutomaticUpdate reads as 1; holds do
//   not touch it (its own tick ignores the seconds a scan runs); it disarms itself after running.
//
// The tick handlers belong to the protection features (LogicalTimer::setHandler).
class BackgroundTimers {
public:
    explicit BackgroundTimers(const Settings& settings);
    BackgroundTimers(const BackgroundTimers&) = delete;
    BackgroundTimers& operator=(const BackgroundTimers&) = delete;

    LogicalTimer scheduler{"scheduler", 10};
    LogicalTimer homePageCheck{"home page check", 5000};
    LogicalTimer memoryShield{"memory shield", 10000};
    LogicalTimer automaticUpdate{"automatic update", 1000};

    // Off: one more hold, and the three protection timers stop. On: one hold fewer; when none is
    // left the timers follow the settings again (on with no hold only re-reads the settings).
    void set(bool on);

    // A hold for as long as the object lives.
    class Hold {
    public:
        explicit Hold(BackgroundTimers& timers) : m_timers(&timers) { m_timers->set(false); }
        Hold(Hold&& other) noexcept : m_timers(other.m_timers) { other.m_timers = nullptr; }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
        Hold& operator=(Hold&&) = delete;
        ~Hold() {
            if (m_timers) m_timers->set(true);
        }

    private:
        BackgroundTimers* m_timers;
    };
    Hold hold() { return Hold(*this); }
    bool held() const { return m_holds > 0; }

    // The main window's size state: in its normal state the scheduler and the memory shield
    // rest; minimised, maximised or in the notification area they follow the settings.
    void setWindowState(WindowState state);
    WindowState windowState() const { return m_windowState; }

    // A setting that switches a timer changed (a shield's option, the schedule).
    void optionsChanged() { apply(); }

    // At start-up: arms the automatic update when chkAutomaticUpdate reads as the number 1. The
    // option takes effect only at the next start.
    void armAutomaticUpdate();

    std::vector<LogicalTimer*> all() { return {&scheduler, &homePageCheck, &memoryShield, &automaticUpdate}; }

private:
    void apply();

    const Settings& m_settings;
    int m_holds = 0;
    WindowState m_windowState = WindowState::Normal;
};

// A stored value read as a number, as a check box is tested: blanks around it allowed,
// anything that is not a number reads as 0.
double settingNumber(const std::string& value);

}  // namespace vedozer
