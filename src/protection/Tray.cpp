#include "protection/Tray.h"

namespace vedozer {

std::string TrayIcon::fitTooltip(std::string_view text) {
    return std::string(text.substr(0, std::min(text.size(), kTooltipLength)));
}

void TrayIcon::show(const std::string& tooltip) {
    m_shown = true;
    m_tooltip = fitTooltip(tooltip);
    changed();
}

void TrayIcon::remove() {
    if (!m_shown) return;
    m_shown = false;
    changed();
}

bool TrayIcon::changeTooltip(const std::string& tooltip) {
    if (!m_shown) return false;
    m_tooltip = fitTooltip(tooltip);
    changed();
    return true;
}

void TrayIcon::changed() {
    if (m_onChanged) m_onChanged();
}

TrayMouse trayMouseFromMessage(uint32_t message) {
    switch (message) {
        case 513: return TrayMouse::LeftClick;
        case 516: return TrayMouse::RightClick;
        case 515: return TrayMouse::LeftDoubleClick;
        case 518: return TrayMouse::RightDoubleClick;
        default: return TrayMouse::Other;
    }
}

TrayReaction trayReaction(TrayMouse mouse) {
    switch (mouse) {
        case TrayMouse::RightClick: return TrayReaction::OpenMenu;
        case TrayMouse::LeftClick:
        case TrayMouse::LeftDoubleClick:
        case TrayMouse::RightDoubleClick: return TrayReaction::ShowProgram;
        case TrayMouse::Other: break;
    }
    return TrayReaction::None;
}

}  // namespace vedozer
