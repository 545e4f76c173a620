#pragma once
#include <cstdint>
#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "protection/SlideWindow.h"

namespace vedozer {

// The program's icon in the notification area: whether it is shown and its tooltip.
class TrayIcon {
public:
    // The tooltip field holds 63 characters and a terminating zero: longer texts are cut.
    static constexpr size_t kTooltipLength = 63;
    static std::string fitTooltip(std::string_view text);

    // Adds the icon with the tooltip (the main window's caption).
    void show(const std::string& tooltip);
    void remove();
    // Only while the icon is shown: false (and nothing changes) otherwise.
    bool changeTooltip(const std::string& tooltip);

    bool shown() const { return m_shown; }
    const std::string& tooltip() const { return m_tooltip; }
    // Called after each change, so a view adds, modifies or deletes its icon.
    void setOnChanged(std::function<void()> f) { m_onChanged = std::move(f); }

private:
    void changed();

    bool m_shown = false;
    std::string m_tooltip;
    std::function<void()> m_onChanged;
};

// A mouse message the icon delivers.
enum class TrayMouse { LeftClick, RightClick, LeftDoubleClick, RightDoubleClick, Other };
// From the window message number of the notification: 513 left button down, 516 right button
// down, 515 and 518 the double-clicks; anything else is Other.
TrayMouse trayMouseFromMessage(uint32_t message);

enum class TrayReaction { None, OpenMenu, ShowProgram };
// As the Shell's rules say: a left click or any double-click brings the program back (and closes
// the menu), a right click opens the pop-up menu.
TrayReaction trayReaction(TrayMouse mouse);

// The entries of the pop-up menu, in order.
enum class TrayMenuEntry { ShowProgram, ScanNow, ExitProgram, CloseMenu };
inline constexpr TrayMenuEntry kTrayMenuEntries[] = {TrayMenuEntry::ShowProgram, TrayMenuEntry::ScanNow,
                                                     TrayMenuEntry::ExitProgram, TrayMenuEntry::CloseMenu};

// The pop-up menu slides up in steps of 80 twips, rests while the mouse is over it and for six
// ticks of half a second after the mouse left, then slides down in steps of 100 twips.
inline constexpr SlideSteps kTrayMenuSlide{80, 100, 10, 500, 6};

}  // namespace vedozer
