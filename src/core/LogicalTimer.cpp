#include "core/LogicalTimer.h"

namespace vedozer {

LogicalTimer::LogicalTimer(std::string name, uint32_t intervalMillis, bool enabled)
    : m_name(std::move(name)), m_interval(intervalMillis), m_enabled(enabled) {}

void LogicalTimer::setEnabled(bool enabled) {
    if (m_enabled == enabled) return;
    m_enabled = enabled;
    changed();
}

void LogicalTimer::setInterval(uint32_t intervalMillis) {
    if (m_interval == intervalMillis) return;
    m_interval = intervalMillis;
    changed();
}

void LogicalTimer::tick() {
    if (!m_enabled || m_inHandler) return;
    ++m_ticks;
    if (!m_handler) return;
    m_inHandler = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{m_inHandler};
    m_handler();
}

void LogicalTimer::changed() {
    if (m_observer) m_observer(*this);
}

}  // namespace vedozer
