#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Installations.h"

namespace vedozer {
class Desktop;
class ImagePlatform;
class ImageInstallations;
class IniSettingsStore;
class Languages;
class SplashPresenter;
class TargetChooserPresenter;
}

namespace vedozer::qtui {

class AboutWindow;
class HelpWindow;
class LiveUpdateWindow;
class MainWindow;
class OptionsPage;
class PumpingHttp;
class QtDialogs;
class QtTimers;
class QuarantineWindow;
class ReportWindow;
class ResultsPage;
class ScanPage;
class SplashWindow;
class StatusPage;
class SubmitWindow;
class TargetWindow;
class UndeletableWindow;

// What vedozer-gui is started with: the command line's global options.
struct GuiOptions {
    InstallationChoice choice;  // --target, --drive, --user; empty: the start window chooses
    std::string dataDir;        // --data-dir
    std::string configDir;      // --config-dir
    std::string machineConfigDir;  // --machine-config-dir
    std::string mountInfo = "/proc/self/mountinfo";
};

// vedozer-gui put together: the start window, then the image backend for the chosen
// installation, every view, the presenters over them (Desktop), the timers and the way out. Views
// forward clicks to presenters here and nowhere else, so each window file stays a plain view.
class QtDesktopApp {
public:
    explicit QtDesktopApp(GuiOptions options);
    ~QtDesktopApp();

    // Opens the installation given on the command line, or shows the start window (with the
    // reason when the given one does not open). Runs inside Qt's event loop from then on.
    void start();
    // True once the program has nothing more to show (quit from the start window, closed, or
    // another instance runs).
    bool finished() const { return m_finished; }
    // How the program leaves its event loop once finished (main: QCoreApplication::exit). Left
    // unset under a test, whose loop goes on: an exit asked outside exec() would end every modal
    // loop opened after it at once.
    void setLeaveLoop(std::function<void()> leave) { m_leaveLoop = std::move(leave); }

    // For tests and the screenshot tool.
    TargetWindow* targetWindow() const { return m_targetWindow.get(); }
    MainWindow* mainWindow() const { return m_main.get(); }
    Desktop* desktop() const { return m_desktop.get(); }
    QtDialogs* dialogs() const { return m_dialogs.get(); }
    bool busy() const { return m_busy > 0; }

private:
    void openInstallation(const InstallationChoice& choice, const std::string& writeProblem);
    void createViews();
    void connectViews();
    void connectWindows();
    void loadMainWindow();
    // Every call into a presenter goes through here: a close asked for meanwhile waits until the
    // work beneath (a scan, a removal, Live Update) has returned.
    void call(const std::function<void()>& work);
    void requestClose();
    void finishClose();
    void finish();

    GuiOptions m_options;
    std::unique_ptr<IniSettingsStore> m_store;
    std::unique_ptr<ImageInstallations> m_installations;
    std::unique_ptr<Languages> m_startLanguages;
    std::unique_ptr<TargetWindow> m_targetWindow;
    std::unique_ptr<TargetChooserPresenter> m_chooser;

    std::unique_ptr<ImagePlatform> m_platform;
    std::unique_ptr<PumpingHttp> m_http;
    std::unique_ptr<QtDialogs> m_dialogs;
    std::unique_ptr<MainWindow> m_main;
    StatusPage* m_status = nullptr;  // owned by the main window
    ScanPage* m_scan = nullptr;
    ResultsPage* m_results = nullptr;
    OptionsPage* m_optionsPage = nullptr;
    UndeletableWindow* m_undeletable = nullptr;
    LiveUpdateWindow* m_liveUpdate = nullptr;
    ReportWindow* m_report = nullptr;
    QuarantineWindow* m_quarantine = nullptr;
    SubmitWindow* m_submit = nullptr;
    AboutWindow* m_about = nullptr;
    HelpWindow* m_help = nullptr;
    std::unique_ptr<SplashWindow> m_splash;
    std::unique_ptr<Desktop> m_desktop;
    std::unique_ptr<SplashPresenter> m_splashPresenter;
    std::unique_ptr<QtTimers> m_timers;
    std::vector<std::string> m_warnings;
    std::function<void()> m_leaveLoop;
    int m_busy = 0;
    bool m_closePending = false;
    bool m_closed = false;
    bool m_finished = false;
};

}  // namespace vedozer::qtui
