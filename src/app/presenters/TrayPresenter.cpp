#include "app/presenters/TrayPresenter.h"

#include "settings/SettingsKeys.h"

namespace vedozer {

TrayPresenter::TrayPresenter(Session& session, TrayView& view, TrayActions actions)
    : m_session(session), m_view(view), m_actions(std::move(actions)), m_menu("tray menu", kTrayMenuSlide) {
    // The view's icon follows the model: added once, then modified, deleted at the end.
    m_icon.setOnChanged([this] {
        if (m_icon.shown() && !m_iconOnScreen)
            m_view.showIcon(m_icon.tooltip());
        else if (m_icon.shown())
            m_view.setTooltip(m_icon.tooltip());
        else if (m_iconOnScreen)
            m_view.removeIcon();
        m_iconOnScreen = m_icon.shown();
    });
    m_menu.setOnMoved([this] { m_view.moveMenu(pixelsX(m_menu.left()), pixelsY(m_menu.top())); });
    m_menu.setOnClosed([this] { m_view.closeMenu(); });
}

void TrayPresenter::applyLanguage() {
    for (ProtectionCaption id : protectionCaptionsOf(ProtectionWindow::TrayMenu))
        m_view.setMenuCaption(id, captionText(m_session.languages(), id));
    changeTooltip(m_session.identity().programName);
}

void TrayPresenter::sendToTray() {
    if (m_actions.hideMainWindow) m_actions.hideMainWindow();
    setEntryEnabled(TrayMenuEntry::ShowProgram, true);
    m_icon.show(m_session.identity().programName);
    m_session.setSetting(skey::Settings, skey::Minimized, "Yes");
    m_session.timers().setWindowState(WindowState::Tray);
}

void TrayPresenter::iconMessage(uint32_t message) {
    switch (trayReaction(trayMouseFromMessage(message))) {
        case TrayReaction::OpenMenu: openMenu(); break;
        case TrayReaction::ShowProgram: showProgram(); break;
        case TrayReaction::None: break;
    }
}

void TrayPresenter::entryClicked(TrayMenuEntry entry) {
    if (!entryEnabled(entry)) return;
    switch (entry) {
        case TrayMenuEntry::ShowProgram: showProgram(); break;
        case TrayMenuEntry::ScanNow:
            showProgram();
            if (m_actions.scanNow) m_actions.scanNow();
            break;
        case TrayMenuEntry::ExitProgram:
            // No question: leaving the program is what the entry says.
            m_icon.remove();
            m_menu.close();
            if (m_actions.exitProgram) m_actions.exitProgram();
            break;
        case TrayMenuEntry::CloseMenu: m_menu.slideDownNow(); break;
    }
}

bool TrayPresenter::entryEnabled(TrayMenuEntry entry) const {
    return entry != TrayMenuEntry::ShowProgram || m_showProgramEnabled;
}

void TrayPresenter::openMenu() {
    m_view.setCloseEntryBold(false);
    for (TrayMenuEntry e : kTrayMenuEntries) m_view.setEntryEnabled(e, entryEnabled(e));
    m_menu.open(m_view.screen(), twipsY(m_view.menuHeightPixels()), m_view.menuInnerWidthPixels());
    m_view.showMenu();
}

void TrayPresenter::showProgram() {
    m_menu.close();
    if (m_actions.showMainWindow) m_actions.showMainWindow();
    m_session.timers().setWindowState(WindowState::Normal);
}

void TrayPresenter::setEntryEnabled(TrayMenuEntry entry, bool enabled) {
    if (entry == TrayMenuEntry::ShowProgram) m_showProgramEnabled = enabled;
    m_view.setEntryEnabled(entry, enabled);
}

}  // namespace vedozer
