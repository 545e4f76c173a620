#pragma once
#include <functional>
#include <vector>

#include "app/Session.h"
#include "app/presenters/ProtectionViews.h"
#include "protection/Tray.h"

namespace vedozer {

// What the tray asks of the main window.
struct TrayActions {
    std::function<void()> hideMainWindow;  // minimise and hide it (Send to Tray)
    std::function<void()> showMainWindow;  // back at its normal size, in front
    std::function<void()> scanNow;         // the scan page and a scan, as "Scan Now" does elsewhere
    std::function<void()> exitProgram;     // the main window's close: status recorded, everything closed
};

// The program in the notification area: Send to Tray, the icon with the program's name as its
// tooltip, and the pop-up menu that a right click opens (a left click or a double-click brings
// the program back). The menu slides up 80 twips every 10 ms, rests while the mouse is over it
// and three seconds after (six ticks of 500 ms), then slides down 100 twips every 10 ms.
class TrayPresenter {
public:
    TrayPresenter(Session& session, TrayView& view, TrayActions actions);

    void applyLanguage();
    // Send to Tray: the main window minimised and hidden, "Show Program" offered, the icon shown
    // with the program name, Settings/Minimized = "Yes", the protection timers as in the tray.
    void sendToTray();
    // The icon's mouse message (the notification's window message number).
    void iconMessage(uint32_t message);
    void entryClicked(TrayMenuEntry entry);
    void mouseOverMenu(bool inside) { m_menu.setHovered(inside); }
    void mouseMovedOverMenu() { m_menu.mouseMoved(); }
    void mouseOverCloseEntry(bool over) { m_view.setCloseEntryBold(over); }
    // At exit: the icon goes (also when the program is closed another way).
    void removeIcon() { m_icon.remove(); }
    // A new tooltip while the icon is shown (nothing otherwise).
    bool changeTooltip(const std::string& tooltip) { return m_icon.changeTooltip(tooltip); }

    // The menu's slide-up, rest and slide-down timers a front end drives.
    std::vector<LogicalTimer*> timers() { return {&m_menu.slideUp, &m_menu.rest, &m_menu.slideDown}; }
    const TrayIcon& icon() const { return m_icon; }
    const SlideWindow& menu() const { return m_menu; }
    bool entryEnabled(TrayMenuEntry entry) const;

private:
    void openMenu();
    void showProgram();
    void setEntryEnabled(TrayMenuEntry entry, bool enabled);

    Session& m_session;
    TrayView& m_view;
    TrayActions m_actions;
    TrayIcon m_icon;
    SlideWindow m_menu;
    bool m_showProgramEnabled = false;
    bool m_iconOnScreen = false;
};

}  // namespace vedozer
