#include "protection/Protection.h"

namespace vedozer {

Protection::Protection(Platform& platform, Settings& settings, const Languages& languages, Host& host,
                       ProtectionHooks hooks)
    : m_hooks(std::move(hooks)),
      m_timers(settings),
      m_memoryShield(m_timers, m_hooks.sweepContext),
      m_homePageShield(m_timers, settings, languages, host, platform.registry, [this] { m_memoryShield.check(); }),
      m_scheduler(settings, platform.clock,
                  [this](bool removeWithoutAsking) {
                      if (m_hooks.startScan) m_hooks.startScan(removeWithoutAsking);
                  }),
      m_automaticUpdate(
          m_timers.automaticUpdate, [this] { return m_hooks.scanRunning && m_hooks.scanRunning(); },
          [this] {
              if (m_hooks.runLiveUpdate) m_hooks.runLiveUpdate();
          }) {
    m_timers.memoryShield.setHandler([this] { m_memoryShield.check(); });
    m_timers.homePageCheck.setHandler([this] { m_homePageShield.check(); });
    m_timers.scheduler.setHandler([this] { m_scheduler.check(); });
    m_timers.automaticUpdate.setHandler([this] { m_automaticUpdate.tick(); });
}

}  // namespace vedozer
