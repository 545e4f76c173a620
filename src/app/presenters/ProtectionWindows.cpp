#include "app/presenters/ProtectionWindows.h"

namespace vedozer {

ProtectionWindows::ProtectionWindows(Session& session, const ProtectionViewSet& views, ProtectionDialogs& dialogs,
                                     TrayActions actions)
    : m_threatAlert(session, views.threatAlert),
      m_homePageAlert(session, views.homePageAlert),
      m_dialogs(dialogs),
      m_updateNotice(session, views.updateNotice),
      m_tray(session, views.tray, std::move(actions)),
      m_schedule(session, views.schedule) {
    m_dialogs.attach(&m_threatAlert, &m_homePageAlert);
}

ProtectionWindows::~ProtectionWindows() { m_dialogs.attach(nullptr, nullptr); }

void ProtectionWindows::applyLanguage() {
    m_threatAlert.applyLanguage();
    m_homePageAlert.applyLanguage();
    m_updateNotice.applyLanguage();
    m_tray.applyLanguage();
    m_schedule.applyLanguage();
}

std::vector<LogicalTimer*> ProtectionWindows::timers() {
    std::vector<LogicalTimer*> out = m_updateNotice.timers();
    for (LogicalTimer* t : m_tray.timers()) out.push_back(t);
    return out;
}

}  // namespace vedozer
