#include "ui/win32/DesktopApp.h"

#include <algorithm>

#include "protection/StartupCommand.h"

#include "ui/win32/Dpi.h"
#include "ui/win32/Icons.h"
#include "ui/win32/MessagePump.h"
#include "ui/win32/Resource.h"
#include "ui/win32/TestClock.h"
#include "ui/win32/Wide.h"

namespace vedozer::win32ui {

ProgramLocation thisProgram() {
    wchar_t path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::string full = narrow(std::wstring(path, n));
    ProgramLocation program;
    size_t slash = full.find_last_of('\\');
    program.folder = slash == std::string::npos ? "." : full.substr(0, slash);
    program.executableName = slash == std::string::npos ? full : full.substr(slash + 1);
    std::string help = program.folder + "\\Help.chm";
    if (GetFileAttributesW(widen(help).c_str()) != INVALID_FILE_ATTRIBUTES) program.helpFile = help;
    return program;
}

DesktopApp::DesktopApp(StartOptions options) : m_start(options) {}

DesktopApp::~DesktopApp() {
    m_splashPresenter.reset();
    m_languagePresenter.reset();
    m_desktop.reset();
}

bool DesktopApp::createWindows() {
    const UINT dpi = dpiOf(nullptr);
    if (!m_window.create(loadIconAt(IDI_VEDOZER, scaled(32, dpi)), loadIconAt(IDI_VEDOZER, scaled(16, dpi))))
        return false;
    HWND main = m_window.hwnd();
    if (!m_status.create(main) || !m_scan.create(main) || !m_results.create(main) || !m_options.create(main))
        return false;
    DialogBase* pages[] = {&m_status, &m_scan, &m_results, &m_options};
    SIZE biggest{};
    for (int i = 0; i < MainWindow::kPageCount; ++i) {
        m_window.setPage(i, *pages[i]);
        RECT r;
        GetClientRect(pages[i]->hwnd(), &r);
        if (r.right > biggest.cx) biggest.cx = r.right;
        if (r.bottom > biggest.cy) biggest.cy = r.bottom;
    }
    m_window.setPageSize(biggest);
    m_report.setOwner(main);
    m_about.setOwner(main);
    m_language.setOwner(main);
    m_dialogs.setOwner(main);
    m_threatAlert.setOwner(main);
    m_homePageAlert.setOwner(main);
    return m_updateNotice.create() && m_tray.create(main, MainFrame::kTrayMessage) && m_undeletable.create(main) &&
           m_liveUpdate.create(main) && m_quarantine.create(main) && m_submit.create(main) && m_help.create(main) &&
           m_splash.create();
}

void DesktopApp::call(const std::function<void()>& work) {
    if (m_closed) return;
    ++m_busy;
    work();
    --m_busy;
    if (m_busy == 0 && m_closePending) finishClose();
}

void DesktopApp::requestClose() {
    if (m_closed) return;
    if (m_busy > 0) {
        // Long work is running beneath this click: stop it and close once it has returned.
        m_closePending = true;
        if (m_desktop) m_desktop->session().requestStop();
        return;
    }
    finishClose();
}

void DesktopApp::finishClose() {
    if (m_closed) return;
    m_closePending = false;
    // The presenters save what is kept at exit and close every window; the frame's quit()
    // then ends the loop. Without a desktop (start-up failed) the loop ends here.
    if (m_desktop) m_desktop->close();
    if (!m_closed) {
        m_closed = true;
        m_tray.removeIcon();
        m_liveUpdate.removeTrayIcon();
        PostQuitMessage(0);
    }
}

void DesktopApp::connectViews() {
    Desktop& d = *m_desktop;
    MainFrame& frame = *m_frame;
    frame.onCommand = [this, &d](MainCommand command) { call([&] { d.main().commandClicked(command); }); };
    frame.onQuit = [this, &d] {
        // Whatever still runs beneath stops at its next item; the loop ends once it has returned.
        m_closed = true;
        d.session().requestStop();
        m_tray.removeIcon();
        m_liveUpdate.removeTrayIcon();
        PostQuitMessage(0);
    };
    frame.onLiveUpdate = [this, &d](bool shift, bool ctrl, bool alt) {
        call([&] { d.main().liveUpdatePressed(shift, ctrl, alt); });
    };
    frame.onTrayIcon = [this, &d](UINT mouse) {
        if (d.protection()) call([&] { d.protection()->tray().iconMessage(mouse); });
    };
    m_window.onCloseRequested = [this] { requestClose(); };
    m_window.onSized = [this, &d](UINT type) {
        if (m_closed) return;
        WindowState state = type == SIZE_MINIMIZED   ? WindowState::Minimised
                            : type == SIZE_MAXIMIZED ? WindowState::Maximised
                                                     : WindowState::Normal;
        call([&] { d.main().windowStateChanged(state, IsWindowVisible(m_window.hwnd()) != FALSE); });
    };
    m_window.onOtherMessage = [&frame](UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        result = 0;
        return frame.handleMessage(msg, wParam, lParam);
    };

    m_status.onAction = [this, &d](StatusAction action) {
        call([&] {
            switch (action) {
            case StatusAction::LiveUpdate:
                d.main().liveUpdatePressed(GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0,
                                           GetKeyState(VK_MENU) < 0);
                break;
            case StatusAction::ScanNow: d.main().scanNow(); break;
            case StatusAction::ShowReport: d.report().open(); break;
            }
        });
    };
    m_status.onWebsite = [this, &d] { call([&] { d.about().websiteClicked(); }); };

    m_scan.onAction = [this, &d](ScanPage::Action action) {
        call([&] {
            switch (action) {
            case ScanPage::Action::Start: d.scanPage().startClicked(); break;
            case ScanPage::Action::Pause: d.scanPage().pauseClicked(); break;
            case ScanPage::Action::Stop: d.scanPage().stopClicked(); break;
            case ScanPage::Action::Continue: d.scanPage().continueClicked(); break;
            }
        });
    };
    m_scan.onScanMode = [this, &d](ScanModeChoice mode) { call([&] { d.scanPage().scanModeChosen(mode); }); };
    m_scan.onDriveChecked = [this, &d](size_t row, bool checked) {
        call([&] { d.scanPage().driveChecked(row, checked); });
    };

    m_results.onRowChecked = [this, &d](size_t row, bool checked) {
        call([&] { d.resultsPage().rowChecked(row, checked); });
    };
    m_results.onAction = [this, &d](ResultsAction action) {
        call([&] {
            switch (action) {
            case ResultsAction::SelectAll: d.resultsPage().selectAllClicked(); break;
            case ResultsAction::Delete: d.resultsPage().deleteClicked(); break;
            case ResultsAction::Exclude: d.resultsPage().excludeClicked(); break;
            }
        });
    };
    m_results.onSort = [this, &d](ResultsColumn column) { call([&] { d.resultsPage().sortBy(column); }); };

    m_options.onOption = [this, &d](OptionControl control, bool checked) {
        call([&] { d.optionsPage().optionClicked(control, checked); });
    };
    m_options.onTab = [this, &d](int tab) { call([&] { d.optionsPage().tabSelected(tab); }); };

    m_undeletable.onOk = [this, &d] { call([&] { d.undeletable().okClicked(); }); };
    m_undeletable.onCopyList = [this, &d] { call([&] { d.undeletable().copyListClicked(); }); };
    m_liveUpdate.onCancel = [this, &d] { call([&] { d.liveUpdate().cancelClicked(); }); };
    m_report.onOk = [this, &d] { call([&] { d.report().okClicked(); }); };

    m_quarantine.onSelection = [this, &d](const std::vector<uint64_t>& items, const std::string& point) {
        call([&] { d.quarantine().selectionChanged(items, point); });
    };
    m_quarantine.onRestore = [this, &d](bool replace) { call([&] { d.quarantine().restoreClicked(replace); }); };
    m_quarantine.onRestorePoint = [this, &d] { call([&] { d.quarantine().restorePointClicked(); }); };
    m_quarantine.onOpenFolder = [this, &d] { call([&] { d.quarantine().openFolderClicked(); }); };
    m_quarantine.onOpenLog = [this, &d] { call([&] { d.quarantine().openLogClicked(); }); };
    m_quarantine.onViewExclusions = [this, &d] { call([&] { d.quarantine().viewExclusionsClicked(); }); };
    m_quarantine.onClose = [this, &d] { call([&] { d.quarantine().closeClicked(); }); };

    m_submit.onFileNameChanged = [this, &d](const std::string& text) {
        call([&] { d.submit().fileNameChanged(text); });
    };
    m_submit.onSubmit = [this, &d] { call([&] { d.submit().submitClicked(); }); };
    m_submit.onClose = [this, &d] { call([&] { d.submit().closeClicked(); }); };
    m_about.onOk = [this, &d] { call([&] { d.about().okClicked(); }); };
    m_about.onWebsite = [this, &d] { call([&] { d.about().websiteClicked(); }); };
    m_help.onOk = [this, &d] { call([&] { d.help().okClicked(); }); };

    connectProtection();

    connectLanguageWindow();
    m_timers.setTickWrapper([this](const std::function<void()>& tick) { call(tick); });
    // The protection timers run faster only under a test clock; the slides keep their pace.
    std::vector<LogicalTimer*> protection = d.session().timers().all();
    for (LogicalTimer* timer : d.timers()) {
        bool isProtection = std::find(protection.begin(), protection.end(), timer) != protection.end();
        m_timers.attach(*timer, isProtection ? m_start.clockRate : 1);
    }
}

void DesktopApp::connectProtection() {
    Desktop& d = *m_desktop;
    ProtectionWindows* p = d.protection();
    if (!p) return;
    m_threatAlert.onStop = [this, p] { call([&] { p->threatAlert().stopClicked(); }); };
    m_threatAlert.onAllow = [this, p] { call([&] { p->threatAlert().allowClicked(); }); };
    m_threatAlert.onClosed = [this, p] { call([&] { p->threatAlert().closed(); }); };
    m_homePageAlert.onYes = [this, p] { call([&] { p->homePageAlert().yesClicked(); }); };
    m_homePageAlert.onNo = [this, p] { call([&] { p->homePageAlert().noClicked(); }); };
    m_homePageAlert.onClosed = [this, p] { call([&] { p->homePageAlert().closed(); }); };
    m_updateNotice.onOk = [this, p] { call([&] { p->updateNotice().okClicked(); }); };
    m_tray.onEntry = [this, p](TrayMenuEntry entry) { call([&] { p->tray().entryClicked(entry); }); };
    m_tray.onMouseOver = [p](bool inside) { p->tray().mouseOverMenu(inside); };
    m_tray.onMouseMoved = [p] { p->tray().mouseMovedOverMenu(); };
    m_tray.onCloseEntryHover = [p](bool over) { p->tray().mouseOverCloseEntry(over); };
    m_options.onScheduleDay = [this, p](int day) { call([&] { p->schedule().daySelected(day); }); };
    m_options.onScheduleDate = [this, p](std::optional<CalendarDate> date) {
        call([&] { p->schedule().dateChanged(date); });
    };
    m_options.onScheduleTime = [this, p](std::optional<TimeOfDay> time) {
        call([&] { p->schedule().timeChanged(time); });
    };
    m_options.onScheduleApply = [this, p] { call([&] { p->schedule().applyClicked(); }); };
}

// The language window's presenter lives beside the Desktop: a language chosen there re-captions
// every window through the presenters at once (Desktop::applyLanguage), then the window itself.
void DesktopApp::connectLanguageWindow() {
    Desktop& d = *m_desktop;
    m_languagePresenter = std::make_unique<LanguagePresenter>(d.session(), m_language, [&d] { d.applyLanguage(); });
    LanguagePresenter& p = *m_languagePresenter;
    m_frame->onChooseLanguage = [this, &p] { call([&] { p.open(); }); };
    m_language.onChosen = [this, &p](size_t row) { call([&] { p.languageChosen(row); }); };
    m_language.onCheckForUpdates = [this, &p] { call([&] { p.checkForUpdatesClicked(); }); };
    m_language.onTranslate = [this, &p] { call([&] { p.translateClicked(); }); };
    m_language.onOk = [this, &p] { call([&] { p.okClicked(); }); };
}

void DesktopApp::loadMainWindow() {
    call([&] {
        if (m_desktop->load() == MainWindowPresenter::LoadResult::AnotherInstance) {
            // One instance per person: the second one ends without a word.
            m_closed = true;
            PostQuitMessage(0);
        }
    });
    m_splash.close();
}

int DesktopApp::run() {
    std::string error;
    m_platform = Win32Platform::create(Win32Config{}, error);
    if (!m_platform) {
        MessageBoxW(nullptr, widen(error).c_str(), L"vedozer-gui", MB_OK | MB_ICONERROR);
        return 1;
    }
    Platform& platform = m_platform->platform();
    if (platform.http) {
        m_http = std::make_unique<PumpingHttp>(*platform.http);
        platform.http = m_http.get();
    }
    if (m_start.clockAheadSeconds != 0 || m_start.clockRate != 1) {
        m_testClock = std::make_unique<TestClock>(m_start.clockAheadSeconds, m_start.clockRate);
        platform.clock = m_testClock.get();
    }
    const ProductIdentity& identity = m_platform->identity();
    m_dialogs.setProgramName(identity.programName);
    if (!createWindows()) {
        MessageBoxW(nullptr, L"The program's windows could not be created.", widen(identity.programName).c_str(),
                    MB_OK | MB_ICONERROR);
        return 1;
    }
    m_frame = std::make_unique<MainFrame>(m_window, m_status);
    m_protectionViews = std::make_unique<ProtectionViewSet>(
        ProtectionViewSet{m_threatAlert, m_homePageAlert, m_updateNotice, m_tray, m_options});
    DesktopViews views{*m_frame, m_status, m_scan,   m_results, m_options, m_undeletable, m_liveUpdate,
                       m_report, m_quarantine, m_submit, m_about, m_help, m_dialogs, m_protectionViews.get()};
    DesktopConfig config;
    config.program = thisProgram();
    config.identity = identity;
    config.startInTray = m_start.inTray;
    m_desktop = std::make_unique<Desktop>(platform, views, config);
    connectViews();

    m_splashPresenter = std::make_unique<SplashPresenter>(m_splash, [this] { loadMainWindow(); });
    m_timers.attach(m_splashPresenter->timer());
    const Languages& languages = m_desktop->session().languages();
    m_splashPresenter->start(identity.programName,
                             captionText(languages, CaptionId::AboutVersion) + " " + programVersion(),
                             captionText(languages, CaptionId::SplashLoading));
    int code = runMessageLoop();
    if (!m_closed) finishClose();
    return code;
}

}  // namespace vedozer::win32ui
