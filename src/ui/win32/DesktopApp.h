#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/presenters/Desktop.h"
#include "app/presenters/LanguagePresenter.h"
#include "app/presenters/SplashPresenter.h"
#include "platform/win32/Win32Platform.h"
#include "protection/StartupCommand.h"
#include "ui/win32/AboutWindow.h"
#include "ui/win32/HelpWindow.h"
#include "ui/win32/LanguageWindow.h"
#include "ui/win32/LiveUpdateWindow.h"
#include "ui/win32/MainFrame.h"
#include "ui/win32/MainWindow.h"
#include "ui/win32/MessageBoxes.h"
#include "ui/win32/OptionsPage.h"
#include "ui/win32/PumpingHttp.h"
#include "ui/win32/QuarantineWindow.h"
#include "ui/win32/ReportWindow.h"
#include "ui/win32/ResultsPage.h"
#include "ui/win32/ScanPage.h"
#include "ui/win32/ShieldAlerts.h"
#include "ui/win32/SlidingWindows.h"
#include "ui/win32/SplashWindow.h"
#include "ui/win32/StatusPage.h"
#include "ui/win32/SubmitWindow.h"
#include "ui/win32/TimerHost.h"
#include "ui/win32/UndeletableWindow.h"

namespace vedozer::win32ui {

// vedozer-gui.exe put together: the Windows backend, every view, the presenters over them
// (Desktop), the timers, and the way out. Views forward clicks to presenters here and nowhere
// else, so each window file stays a plain view.

class DesktopApp {
public:
    explicit DesktopApp(StartOptions options = {});
    ~DesktopApp();
    // Runs the program to its end; returns the process exit code.
    int run();

private:
    bool createWindows();
    void connectViews();
    void connectProtection();
    void connectLanguageWindow();
    void loadMainWindow();
    // Every call into a presenter goes through here: a close asked for meanwhile waits until the
    // work beneath (a scan, a removal, Live Update) has returned.
    void call(const std::function<void()>& work);
    void requestClose();
    void finishClose();

    std::unique_ptr<Win32Platform> m_platform;
    std::unique_ptr<PumpingHttp> m_http;
    MainWindow m_window;
    StatusPage m_status;
    ScanPage m_scan;
    ResultsPage m_results;
    OptionsPage m_options;
    UndeletableWindow m_undeletable;
    LiveUpdateWindow m_liveUpdate;
    ReportWindow m_report;
    QuarantineWindow m_quarantine;
    SubmitWindow m_submit;
    AboutWindow m_about;
    HelpWindow m_help;
    SplashWindow m_splash;
    ThreatAlertWindow m_threatAlert;
    HomePageAlertWindow m_homePageAlert;
    UpdateNoticeWindow m_updateNotice;
    TrayWindow m_tray;
    std::unique_ptr<ProtectionViewSet> m_protectionViews;
    StartOptions m_start;
    std::unique_ptr<Clock> m_testClock;
    LanguageWindow m_language;
    Win32Dialogs m_dialogs;
    std::unique_ptr<MainFrame> m_frame;
    std::unique_ptr<Desktop> m_desktop;
    std::unique_ptr<SplashPresenter> m_splashPresenter;
    std::unique_ptr<LanguagePresenter> m_languagePresenter;
    TimerHost m_timers;
    int m_busy = 0;
    bool m_closePending = false;
    bool m_closed = false;
};

// Where the program runs from: its folder, its file name and the help file beside it.
ProgramLocation thisProgram();

}  // namespace vedozer::win32ui
