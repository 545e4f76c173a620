#include "ui/win32/MainFrame.h"

#include <shellapi.h>

#include "ui/win32/Dpi.h"
#include "ui/win32/Icons.h"
#include "ui/win32/MessageBoxes.h"
#include "ui/win32/Resource.h"
#include "ui/win32/StatusPage.h"
#include "ui/win32/Wide.h"

namespace vedozer::win32ui {

namespace {

struct CommandControl {
    MainCommand command;
    int control;  // 0: a menu item only
    bool inHeader;
};

constexpr CommandControl kCommands[] = {
    {MainCommand::StatusPage, IDC_NAV_STATUS, false},     {MainCommand::ScanPage, IDC_NAV_SCAN, false},
    {MainCommand::ResultsPage, IDC_NAV_RESULTS, false},   {MainCommand::OptionsPage, IDC_NAV_OPTIONS, false},
    {MainCommand::LiveUpdate, IDC_NAV_LIVE_UPDATE, false}, {MainCommand::ViewReport, IDC_NAV_REPORT, false},
    {MainCommand::ViewQuarantine, 0, false},              {MainCommand::ViewExclusions, 0, false},
    {MainCommand::QuarantineWindow, 0, false},            {MainCommand::SubmitFile, IDC_NAV_SUBMIT, false},
    {MainCommand::Help, IDC_NAV_HELP, true},               {MainCommand::About, IDC_NAV_ABOUT, true},
    {MainCommand::Language, IDC_NAV_LANGUAGE, false},      {MainCommand::SendToTray, IDC_SEND_TO_TRAY, false},
    {MainCommand::Exit, IDC_EXIT, false},
};

constexpr int kPageButtons[] = {IDC_NAV_STATUS, IDC_NAV_SCAN, IDC_NAV_RESULTS, IDC_NAV_OPTIONS};

struct CaptionControl {
    CaptionId caption;
    int control;
    bool inHeader;
};

constexpr CaptionControl kCaptions[] = {
    {CaptionId::NavStatus, IDC_NAV_STATUS, false},
    {CaptionId::NavScan, IDC_NAV_SCAN, false},
    {CaptionId::NavResults, IDC_NAV_RESULTS, false},
    {CaptionId::NavOptions, IDC_NAV_OPTIONS, false},
    {CaptionId::NavLiveUpdate, IDC_NAV_LIVE_UPDATE, false},
    {CaptionId::NavReport, IDC_NAV_REPORT, false},
    {CaptionId::NavQuarantine, IDC_NAV_QUARANTINE, false},
    {CaptionId::NavSubmit, IDC_NAV_SUBMIT, false},
    {CaptionId::NavLanguage, IDC_NAV_LANGUAGE, false},
    {CaptionId::SendToTray, IDC_SEND_TO_TRAY, false},
    {CaptionId::Exit, IDC_EXIT, false},
    {CaptionId::NavHelp, IDC_NAV_HELP, true},
    {CaptionId::NavAbout, IDC_NAV_ABOUT, true},
    {CaptionId::HeaderDefinitions, IDC_HEADER_DEFINITIONS_TITLE, true},
    {CaptionId::HeaderShields, IDC_HEADER_SHIELDS_TITLE, true},
    {CaptionId::HeaderLastScan, IDC_HEADER_LAST_SCAN_TITLE, true},
};

}  // namespace

MainFrame::MainFrame(MainWindow& window, StatusPage& statusPage) : m_window(window), m_statusPage(statusPage) {
    m_enabled.fill(true);
    m_window.navigation().onClick = [this](int id) { navigationClicked(id); };
    m_window.header().onClick = [this](int id) { navigationClicked(id); };
}

MainFrame::~MainFrame() = default;

void MainFrame::setTitle(const std::string& title) { m_window.setTitle(title); }

void MainFrame::setCaption(CaptionId id, const std::string& text) {
    switch (id) {
    case CaptionId::MenuViewQuarantine: m_menuTexts[0] = text; return;
    case CaptionId::MenuViewExclusions: m_menuTexts[1] = text; return;
    case CaptionId::MenuQuarantineWindow: m_menuTexts[2] = text; return;
    case CaptionId::Website:
    case CaptionId::Welcome: return m_statusPage.setCaption(id, text);
    default: break;
    }
    for (const CaptionControl& c : kCaptions)
        if (c.caption == id) {
            if (c.inHeader)
                m_window.header().setCaptionText(c.control, text);
            else
                m_window.navigation().setText(c.control, text);
        }
}

void MainFrame::showPage(Page page) {
    int index = static_cast<int>(page);
    m_window.showPage(index);
    m_window.navigation().markCurrent(kPageButtons[index]);
}

void MainFrame::setCommandEnabled(MainCommand command, bool enabled) {
    m_enabled[static_cast<size_t>(command)] = enabled;
    for (const CommandControl& c : kCommands) {
        if (c.command != command || !c.control) continue;
        if (c.inHeader)
            m_window.header().setEnabled(c.control, enabled);
        else
            m_window.navigation().setEnabled(c.control, enabled);
    }
    // The Quarantine button leads to a menu: it works while any of the menu's entries does.
    bool anyQuarantine = m_enabled[static_cast<size_t>(MainCommand::ViewQuarantine)] ||
                         m_enabled[static_cast<size_t>(MainCommand::ViewExclusions)] ||
                         m_enabled[static_cast<size_t>(MainCommand::QuarantineWindow)];
    m_window.navigation().setEnabled(IDC_NAV_QUARANTINE, anyQuarantine);
}

void MainFrame::showHeader(const HeaderBand& h) {
    HeaderPane::State state = h.state == StateIcon::Ok          ? win32ui::HeaderPane::State::Ok
                              : h.state == StateIcon::Attention ? win32ui::HeaderPane::State::Attention
                                                                : win32ui::HeaderPane::State::Threats;
    m_window.header().show(state, h.stateText, h.definitions, h.shields, h.lastScan);
}

void MainFrame::showWindow(bool maximized) {
    ShowWindow(m_window.hwnd(), maximized ? SW_SHOWMAXIMIZED : SW_SHOW);
    SetForegroundWindow(m_window.hwnd());
}

bool MainFrame::isMaximized() const { return m_window.isMaximized(); }

void MainFrame::hideWindow() {
    // A window never shown (a start in the tray) stays hidden without a minimising flash.
    if (IsWindowVisible(m_window.hwnd())) ShowWindow(m_window.hwnd(), SW_MINIMIZE);
    ShowWindow(m_window.hwnd(), SW_HIDE);
}

void MainFrame::restoreWindow() {
    ShowWindow(m_window.hwnd(), IsIconic(m_window.hwnd()) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(m_window.hwnd());
}

bool MainFrame::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND && HIWORD(wParam) == 0 && lParam == 0) {  // the Quarantine menu's entries
        const int ids[] = {IDM_VIEW_QUARANTINE, IDM_VIEW_EXCLUSIONS, IDM_QUARANTINE_WINDOW};
        const MainCommand entries[] = {MainCommand::ViewQuarantine, MainCommand::ViewExclusions,
                                       MainCommand::QuarantineWindow};
        for (int i = 0; i < 3; ++i)
            if (LOWORD(wParam) == ids[i] && m_enabled[static_cast<size_t>(entries[i])] && onCommand) onCommand(entries[i]);
        return true;
    }
    if (msg != kTrayMessage) return false;
    if (onTrayIcon) onTrayIcon(LOWORD(lParam));
    return true;
}

void MainFrame::chooseLanguage() {
    if (onChooseLanguage) onChooseLanguage();
}

void MainFrame::showUpdateNotice(const std::string& text) {
    wchar_t title[256] = {};
    GetWindowTextW(m_window.hwnd(), title, 256);
    centredMessageBox(m_window.hwnd(), widen(text), title, MB_OK | MB_ICONINFORMATION);
}

void MainFrame::quit() {
    ShowWindow(m_window.hwnd(), SW_HIDE);
    if (onQuit) onQuit();
}

void MainFrame::navigationClicked(int id) {
    if (id == IDC_NAV_QUARANTINE) return showQuarantineMenu();
    if (id == IDC_NAV_LIVE_UPDATE && onLiveUpdate) {
        onLiveUpdate(GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0);
        return;
    }
    for (const CommandControl& c : kCommands)
        if (c.control == id && onCommand) onCommand(c.command);
}

void MainFrame::showQuarantineMenu() {
    HMENU menu = CreatePopupMenu();
    const MainCommand entries[] = {MainCommand::ViewQuarantine, MainCommand::ViewExclusions, MainCommand::QuarantineWindow};
    const int ids[] = {IDM_VIEW_QUARANTINE, IDM_VIEW_EXCLUSIONS, IDM_QUARANTINE_WINDOW};
    for (int i = 0; i < 3; ++i) {
        if (i == 2) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        UINT flags = MF_STRING | (m_enabled[static_cast<size_t>(entries[i])] ? 0 : MF_GRAYED);
        AppendMenuW(menu, flags, static_cast<UINT_PTR>(ids[i]), widen(m_menuTexts[static_cast<size_t>(i)]).c_str());
    }
    RECT button;
    GetWindowRect(m_window.navigation().item(IDC_NAV_QUARANTINE), &button);
    UINT chosen = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_NONOTIFY,
                                                   button.right, button.top, 0, m_window.hwnd(), nullptr));
    DestroyMenu(menu);
    for (int i = 0; i < 3; ++i)
        if (chosen == static_cast<UINT>(ids[i]) && onCommand) onCommand(entries[i]);
}

}  // namespace vedozer::win32ui
