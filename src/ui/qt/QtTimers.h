#pragma once
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

#include "core/LogicalTimer.h"

namespace vedozer::qtui {

// Drives the program's logical timers with QTimers: each runs at its timer's interval while that
// timer is enabled. Ticks pass through a wrapper so the front end can hold a close back while a
// tick's work (an automatic Live Update) runs.
class QtTimers {
public:
    ~QtTimers();
    void setTickWrapper(std::function<void(const std::function<void()>&)> wrapper) { m_wrapper = std::move(wrapper); }
    void attach(LogicalTimer& timer);
    // Every QTimer stopped and every observer taken off (before the presenters go).
    void detachAll();

private:
    struct Driven {
        LogicalTimer* timer;
        std::unique_ptr<QTimer> qtimer;
    };
    std::vector<Driven> m_driven;
    std::function<void(const std::function<void()>&)> m_wrapper;
};

}  // namespace vedozer::qtui
