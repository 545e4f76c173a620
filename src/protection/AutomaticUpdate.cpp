#include "protection/AutomaticUpdate.h"

namespace vedozer {

AutomaticUpdate::AutomaticUpdate(LogicalTimer& timer, std::function<bool()> scanRunning,
                                 std::function<void()> runLiveUpdate)
    : m_timer(timer), m_scanRunning(std::move(scanRunning)), m_runLiveUpdate(std::move(runLiveUpdate)) {}

void AutomaticUpdate::tick() {
    const bool scanning = m_scanRunning && m_scanRunning();
    if (m_ran) {  // armed again in the same run: it stays at one
        m_timer.setEnabled(false);
        return;
    }
    if (m_idleTicks >= kIdleTicks && !scanning) {
        m_idleTicks = 0;
        m_ran = true;
        m_timer.setEnabled(false);
        if (m_runLiveUpdate) m_runLiveUpdate();
    } else if (!scanning) {
        ++m_idleTicks;
    }
}

}  // namespace vedozer
