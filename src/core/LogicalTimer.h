#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace vedozer {

// A timer as the program thinks of it: an interval, an enabled state and what a tick does. It
// never reads a clock. A front end drives it (SetTimer, QTimer) at its interval while it is
// enabled and calls tick(); a test calls tick() itself, so "the 75th tick" needs no waiting.
class LogicalTimer {
public:
    LogicalTimer(std::string name, uint32_t intervalMillis, bool enabled = false);

    const std::string& name() const { return m_name; }
    uint32_t interval() const { return m_interval; }
    bool enabled() const { return m_enabled; }

    void setEnabled(bool enabled);
    void setInterval(uint32_t intervalMillis);
    // What a tick does; nothing until set.
    void setHandler(std::function<void()> handler) { m_handler = std::move(handler); }

    // One elapsed interval: runs the handler when the timer is enabled. A tick that arrives while
    // the handler still runs (its long work yields to the event loop) is dropped.
    void tick();
    uint64_t ticks() const { return m_ticks; }  // handled ticks so far

    // The front end's hook: called after the interval or the enabled state changed, so it can
    // start or stop its own timer. A front end attaching it starts its timer at once when
    // enabled() is already true.
    void setObserver(std::function<void(const LogicalTimer&)> observer) { m_observer = std::move(observer); }

private:
    void changed();

    std::string m_name;
    uint32_t m_interval;
    bool m_enabled;
    bool m_inHandler = false;
    uint64_t m_ticks = 0;
    std::function<void()> m_handler;
    std::function<void(const LogicalTimer&)> m_observer;
};

}  // namespace vedozer
