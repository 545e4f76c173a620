#pragma once
#include <windows.h>

#include <functional>
#include <vector>

namespace vedozer {
class LogicalTimer;
}

namespace vedozer::win32ui {

// Drives the program's logical timers with SetTimer on a message-only window: a timer runs
// while it is enabled, at its interval, and each WM_TIMER is one tick.
class TimerHost {
public:
    TimerHost();
    ~TimerHost();
    TimerHost(const TimerHost&) = delete;
    TimerHost& operator=(const TimerHost&) = delete;

    // Follows the timer's enabled state and interval from now on. `around` wraps each tick
    // (the front end's guard for work that may close the program).
    void attach(LogicalTimer& timer);
    void setTickWrapper(std::function<void(const std::function<void()>&)> around) { m_around = std::move(around); }

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void sync(size_t index);

    HWND m_window = nullptr;
    std::vector<LogicalTimer*> m_timers;
    std::function<void(const std::function<void()>&)> m_around;
};

}  // namespace vedozer::win32ui
