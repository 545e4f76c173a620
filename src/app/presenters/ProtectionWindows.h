#pragma once
#include <vector>

#include "app/Session.h"
#include "app/presenters/DialogView.h"
#include "app/presenters/SchedulePresenter.h"
#include "app/presenters/ShieldAlertPresenters.h"
#include "app/presenters/TrayPresenter.h"
#include "app/presenters/UpdateNoticePresenter.h"

namespace vedozer {

// The views of real-time protection, made by the front end (hidden until a presenter shows one).
struct ProtectionViewSet {
    ThreatAlertView& threatAlert;
    HomePageAlertView& homePageAlert;
    UpdateNoticeView& updateNotice;
    TrayView& tray;
    ScheduleView& schedule;
};

// The presenters of real-time protection's windows, for the desktop program on Windows. The
// desktop's Host asks through the ProtectionDialogs given here, so the shields' questions open
// their alert windows; the front end drives timers() besides the session's protection timers
// (Session::timers().all()).
class ProtectionWindows {
public:
    ProtectionWindows(Session& session, const ProtectionViewSet& views, ProtectionDialogs& dialogs, TrayActions actions);
    ~ProtectionWindows();
    ProtectionWindows(const ProtectionWindows&) = delete;
    ProtectionWindows& operator=(const ProtectionWindows&) = delete;

    void applyLanguage();
    // The update notice's and the tray menu's sliding timers.
    std::vector<LogicalTimer*> timers();

    ThreatAlertPresenter& threatAlert() { return m_threatAlert; }
    HomePageAlertPresenter& homePageAlert() { return m_homePageAlert; }
    UpdateNoticePresenter& updateNotice() { return m_updateNotice; }
    TrayPresenter& tray() { return m_tray; }
    SchedulePresenter& schedule() { return m_schedule; }

private:
    ThreatAlertPresenter m_threatAlert;
    HomePageAlertPresenter m_homePageAlert;
    ProtectionDialogs& m_dialogs;
    UpdateNoticePresenter m_updateNotice;
    TrayPresenter m_tray;
    SchedulePresenter m_schedule;
};

}  // namespace vedozer
