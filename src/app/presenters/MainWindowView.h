#pragma once
#include <string>

#include "app/presenters/DesktopTypes.h"
#include "i18n/Captions.h"

namespace vedozer {

// The header band: protection at a glance, in words and with a coloured icon.
struct HeaderBand {
    std::string definitions;  // "1,514 definitions, dated 3/16/2006 12:00:00 AM PST" or the missing-files text
    std::string shields;      // "Memory shield on, Home page shield off"
    std::string lastScan;     // "Never" until the first scan
    StateIcon state = StateIcon::Ok;
    std::string stateText;    // the state in words ("Threats found"); colour is never the only signal
    bool operator==(const HeaderBand&) const = default;
};

// The main window frame: title, navigation, header band, which page shows, window state.
// The pages inside it have views of their own.
// Clicks: every command -> MainWindowPresenter::commandClicked (the update command with its
// modifier keys -> liveUpdatePressed); a new size state -> windowStateChanged; closing the window
// -> close(), after which quit() is called.
class MainWindowView {
public:
    virtual ~MainWindowView() = default;

    virtual void setTitle(const std::string& title) = 0;
    // Captions of the navigation, menus and header titles (CaptionGroup::MainWindow).
    virtual void setCaption(CaptionId id, const std::string& text) = 0;
    // Shows one page and marks its navigation entry as the current one.
    virtual void showPage(Page page) = 0;
    virtual void setCommandEnabled(MainCommand command, bool enabled) = 0;
    // A command this system does not have is not offered at all (the view may leave it out).
    virtual void setCommandVisible(MainCommand, bool) {}
    virtual void showHeader(const HeaderBand& header) = 0;

    // Shows the main window after loading, maximised or at its normal size.
    virtual void showWindow(bool maximized) = 0;
    virtual bool isMaximized() const = 0;
    // Send to Tray: minimises and hides the window and its task-bar button; the notification-area
    // icon (the tray's own view) leads back.
    virtual void hideWindow() = 0;
    // Back from the notification area: shown at its normal size, in front.
    virtual void restoreWindow() = 0;

    // The language window, modal. The front end applies a language chosen there through
    // Desktop::applyLanguage().
    virtual void chooseLanguage() = 0;
    // Ends the program once the presenters have closed everything (the notification-area icon
    // goes with the window).
    virtual void quit() = 0;
    // The notice after Live Update ("Your ... definitions have been updated!") where the program
    // has no sliding notice of its own.
    virtual void showUpdateNotice(const std::string& text) = 0;
};

}  // namespace vedozer
