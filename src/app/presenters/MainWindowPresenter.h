#pragma once
#include <array>
#include <string>

#include "app/Session.h"
#include "app/presenters/MainWindowView.h"
#include "app/presenters/Navigator.h"
#include "app/presenters/OptionsPagePresenter.h"

namespace vedozer {

class StatusPagePresenter;
class ScanPagePresenter;
class ResultsPagePresenter;
class UndeletablePresenter;
class LiveUpdatePresenter;
class ReportViewerPresenter;
class QuarantinePresenter;
class SubmitPresenter;
class AboutPresenter;
class HelpPresenter;
class ProtectionWindows;

// The presenters of the pages and windows the main window leads to.
struct MainWindowParts {
    StatusPagePresenter& status;
    ScanPagePresenter& scan;
    ResultsPagePresenter& results;
    OptionsPagePresenter& options;
    UndeletablePresenter& undeletable;
    LiveUpdatePresenter& liveUpdate;
    ReportViewerPresenter& report;
    QuarantinePresenter& quarantine;
    SubmitPresenter& submit;
    AboutPresenter& about;
    HelpPresenter& help;
};

// The main window: the load order, navigation between the four pages, the header band, Live
// Update, the window states and the protection timers that follow them, and the shutdown.
class MainWindowPresenter : public Navigator {
public:
    MainWindowPresenter(Session& session, MainWindowView& view, MainWindowParts parts, DesktopFeatures features);

    enum class LoadResult { Shown, AnotherInstance };
    // Brings everything up in order: the session (one instance per user; a second one ends here
    // without a word), the language (saved as "English" and the language window shown on the
    // very first start), captions, the status page, the drive list and the options with the
    // timers off, the status page shown, the timers on, help on first use, the automatic update
    // armed when enabled, the window shown (or sent to the tray when it was left there), and on
    // the first start of this system the question whether to run Live Update now.
    LoadResult load();
    // Closing: the stopped status recorded, the results columns' widths ("FoundCol2" + n) and
    // the maximised state ("Max") saved, every window closed, every timer stopped. Once only.
    void close();
    bool closed() const { return m_closed; }

    // A click on a command; disabled commands do nothing.
    void commandClicked(MainCommand command);
    // The update command pressed with modifiers: Shift alone lists the definition pages instead.
    void liveUpdatePressed(bool shift, bool ctrl, bool alt);
    LiveUpdateReport runLiveUpdate();
    // "Scan Now" from elsewhere than the scan page: the scan page, then a scan when one may start.
    void scanNow();
    // The scheduler's scan: the scan page and a scan, removing what it finds without a question
    // when asked to; nothing while a scan runs. Returns when it is over.
    void scheduledScan(bool removeWithoutAsking);
    // Send to Tray (the person's command, or a start in the tray): the main window hidden, the
    // notification-area icon shown; remember saves Minimized = "Yes" for the next start.
    void sendToTray(bool remember = true);
    // The toolkit reports a new window state (after a resize, minimise, maximise or restore; Tray
    // when the window went to the notification area).
    void windowStateChanged(WindowState state, bool visible);
    // Every window's captions again, in the catalogue's current language.
    void applyLanguage();
    // The system examined, named in the title ("" for the one the program runs on).
    void setSystemName(std::string name) { m_systemName = std::move(name); }
    // At load, with no definition file installed, installs the ones the program carries.
    void setInstallsShippedDefinitions(bool on) { m_installsShipped = on; }

    // The windows of real-time protection: the tray, the update notice and the schedule.
    void setProtection(ProtectionWindows* protection) { m_protection = protection; }
    // Started from the Run key: the load ends in the notification area (nothing is remembered).
    void setStartInTray(bool inTray) { m_startInTray = inTray; }

    // Navigator.
    void showPage(Page page) override;
    void setCommandEnabled(MainCommand command, bool enabled) override;
    void refreshStatus() override;

    Page page() const { return m_page; }
    bool commandEnabled(MainCommand command) const { return m_commands[static_cast<size_t>(command)]; }
    const HeaderBand& header() const { return m_header; }
    const std::string& title() const { return m_title; }

private:
    void askToUpdateOnFirstRun();

    Session& m_session;
    MainWindowView& m_view;
    MainWindowParts m_parts;
    DesktopFeatures m_features;
    ProtectionWindows* m_protection = nullptr;
    bool m_startInTray = false;
    Page m_page = Page::Status;
    std::array<bool, static_cast<size_t>(MainCommand::Exit) + 1> m_commands{};
    HeaderBand m_header;
    std::string m_title;
    std::string m_systemName;
    bool m_installsShipped = false;
    bool m_loaded = false;
    bool m_closed = false;
    bool m_updating = false;
};

}  // namespace vedozer
