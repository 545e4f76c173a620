#pragma once
#include <memory>
#include <string>
#include <vector>

#include "app/Session.h"
#include "app/presenters/AboutPresenter.h"
#include "app/presenters/DesktopHost.h"
#include "app/presenters/HelpPresenter.h"
#include "app/presenters/LiveUpdatePresenter.h"
#include "app/presenters/MainWindowPresenter.h"
#include "app/presenters/OptionsPagePresenter.h"
#include "app/presenters/ProtectionWindows.h"
#include "app/presenters/QuarantinePresenter.h"
#include "app/presenters/ReportViewerPresenter.h"
#include "app/presenters/ResultsPagePresenter.h"
#include "app/presenters/ScanPagePresenter.h"
#include "app/presenters/StatusPagePresenter.h"
#include "app/presenters/SubmitPresenter.h"
#include "app/presenters/UndeletablePresenter.h"

namespace vedozer {

// Every view of the desktop program, made by the front end (hidden until a presenter shows one).
struct DesktopViews {
    MainWindowView& main;
    StatusPageView& status;
    ScanPageView& scan;
    ResultsPageView& results;
    OptionsPageView& options;
    UndeletableView& undeletable;
    LiveUpdateView& liveUpdate;
    ReportView& report;
    QuarantineView& quarantine;
    SubmitView& submit;
    AboutView& about;
    HelpView& help;
    DialogView& dialogs;
    // The windows of real-time protection (alerts, update notice, tray, schedule); without them
    // the shields ask through the message boxes and Send to Tray is not offered.
    const ProtectionViewSet* protection = nullptr;
};

struct DesktopConfig {
    ProgramLocation program;
    DesktopFeatures features;
    ProductIdentity identity = ProductIdentity::fromBuild();
    // Started by the Run key ("/tray"): straight into the notification area.
    bool startInTray = false;
    // The system examined as the title names it ("" for the one the program runs on).
    std::string systemName = "";
    // Why removals cannot change that system ("" when they can), in the host's words.
    std::string writeProblem = "";
    // With no definitions installed at all, those the program carries are installed at start
    // (a rescue system starts with an empty data folder and maybe no network).
    bool installShippedDefinitions = false;
};

// The desktop program without its toolkit: the session, the Host that joins it to the views, and
// one presenter per window or page. A front end makes its views, then a Desktop over them, calls
// load(), attaches its timers to timers(), and forwards every click to the presenter named here.
class Desktop {
public:
    Desktop(Platform& platform, const DesktopViews& views, DesktopConfig config);

    MainWindowPresenter::LoadResult load() { return m_main.load(); }
    void close() { m_main.close(); }
    // After the catalogue changed language: every window's captions again.
    void applyLanguage() { m_main.applyLanguage(); }
    // Every logical timer a front end drives: the protection timers (where the system offers
    // protection), the Live Update blink and the sliding windows of the tray menu and the update notice.
    std::vector<LogicalTimer*> timers();

    Session& session() { return m_session; }
    DesktopHost& host() { return m_host; }
    MainWindowPresenter& main() { return m_main; }
    StatusPagePresenter& statusPage() { return m_status; }
    ScanPagePresenter& scanPage() { return m_scan; }
    ResultsPagePresenter& resultsPage() { return m_results; }
    OptionsPagePresenter& optionsPage() { return m_options; }
    UndeletablePresenter& undeletable() { return m_undeletable; }
    LiveUpdatePresenter& liveUpdate() { return m_liveUpdate; }
    ReportViewerPresenter& report() { return m_report; }
    QuarantinePresenter& quarantine() { return m_quarantine; }
    SubmitPresenter& submit() { return m_submit; }
    AboutPresenter& about() { return m_about; }
    HelpPresenter& help() { return m_help; }
    // Null without protection views (or where this system has no real-time protection).
    ProtectionWindows* protection() { return m_protection.get(); }

private:
    DesktopConfig m_config;
    ProtectionDialogs m_dialogs;  // the shields' questions to their alerts, the rest to the toolkit
    DesktopHost m_host;
    Session m_session;
    UndeletablePresenter m_undeletable;
    StatusPagePresenter m_status;
    ResultsPagePresenter m_results;
    ScanPagePresenter m_scan;
    OptionsPagePresenter m_options;
    LiveUpdatePresenter m_liveUpdate;
    ReportViewerPresenter m_report;
    QuarantinePresenter m_quarantine;
    SubmitPresenter m_submit;
    AboutPresenter m_about;
    HelpPresenter m_help;
    MainWindowPresenter m_main;  // the pages above hold it as their Navigator
    std::unique_ptr<ProtectionWindows> m_protection;  // last: it borrows the main window's actions
};

// "major.minor" of this build.
std::string programVersion();

}  // namespace vedozer
