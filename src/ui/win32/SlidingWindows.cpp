#include "ui/win32/SlidingWindows.h"

#include <shellapi.h>

#include "ui/win32/Dpi.h"
#include "ui/win32/Icons.h"
#include "ui/win32/Resource.h"
#include "ui/win32/Wide.h"

namespace vedozer::win32ui {

namespace {

constexpr UINT kTrayIconId = 1;  // the Live Update window's icon is 2
constexpr UINT_PTR kHoverTimer = 1;

int32_t outerHeight(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    return r.bottom - r.top;
}

int32_t clientWidth(HWND w) {
    RECT r;
    GetClientRect(w, &r);
    return r.right;
}

// On top of everything and never activated: a notice must not take the keyboard from the person.
void showWithoutFocus(HWND w) {
    SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

}  // namespace

ScreenMeasures measureScreen() {
    ScreenMeasures m;
    RECT desktop;
    GetClientRect(GetDesktopWindow(), &desktop);
    m.desktopWidth = desktop.right;
    m.desktopHeight = desktop.bottom;
    if (HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr)) {
        RECT r;
        GetClientRect(taskbar, &r);
        m.taskbarHeight = r.bottom;
    }
    return m;
}

UpdateNoticeWindow::~UpdateNoticeWindow() {
    if (m_icon) DestroyIcon(m_icon);
}

// Without an owner: a minimised or hidden main window would hide it with itself.
bool UpdateNoticeWindow::create() { return DialogBase::create(IDD_UPDATE_NOTICE, nullptr); }

void UpdateNoticeWindow::onInit() {
    // Slightly translucent, as a notice that floats above the taskbar.
    SetWindowLongW(hwnd(), GWL_EXSTYLE, GetWindowLongW(hwnd(), GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayeredWindowAttributes(hwnd(), 0, 245, LWA_ALPHA);
    makeBold(IDC_NOTICE_TITLE);
    RECT r;
    GetClientRect(item(IDC_NOTICE_ICON), &r);
    m_icon = loadIconAt(IDI_VEDOZER, r.right);
    SendDlgItemMessageW(hwnd(), IDC_NOTICE_ICON, STM_SETICON, reinterpret_cast<WPARAM>(m_icon), 0);
}

void UpdateNoticeWindow::setCaption(ProtectionCaption id, const std::string& text) {
    if (id == ProtectionCaption::UpdateNoticeTitle) {
        setWindowTitle(text);
        DialogBase::setText(IDC_NOTICE_TITLE, text);
    } else if (id == ProtectionCaption::UpdateNoticeOk) {
        DialogBase::setText(IDC_NOTICE_OK, text);
    }
}

void UpdateNoticeWindow::setText(const std::string& text) { DialogBase::setText(IDC_NOTICE_TEXT, text); }

int32_t UpdateNoticeWindow::heightPixels() const { return outerHeight(hwnd()); }

int32_t UpdateNoticeWindow::innerWidthPixels() const { return clientWidth(hwnd()); }

void UpdateNoticeWindow::show() { showWithoutFocus(hwnd()); }

void UpdateNoticeWindow::moveTo(int32_t left, int32_t top) {
    SetWindowPos(hwnd(), HWND_TOPMOST, left, top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void UpdateNoticeWindow::onCommand(int id, int code) {
    if (code == BN_CLICKED && (id == IDC_NOTICE_OK || id == IDCANCEL) && onOk) onOk();
}

TrayWindow::~TrayWindow() {
    removeIcon();
    if (m_icon) DestroyIcon(m_icon);
}

bool TrayWindow::create(HWND mainWindow, UINT callbackMessage) {
    m_main = mainWindow;
    m_callbackMessage = callbackMessage;
    return DialogBase::create(IDD_TRAY_MENU, nullptr);  // shown while the main window is hidden
}

void TrayWindow::onInit() {
    makeBold(IDC_TRAY_NAME);
    m_normalFont =
        reinterpret_cast<HFONT>(SendDlgItemMessageW(hwnd(), IDC_TRAY_CLOSE_MENU, WM_GETFONT, 0, 0));
    m_icon = loadIconAt(IDI_VEDOZER, smallIconSize(dpiOf(m_main)));
}

void TrayWindow::notify(bool add, const std::string& tooltip) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = m_main;
    data.uID = kTrayIconId;
    data.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
    data.uCallbackMessage = m_callbackMessage;
    data.hIcon = m_icon;
    lstrcpynW(data.szTip, widen(tooltip).c_str(), ARRAYSIZE(data.szTip));
    if (Shell_NotifyIconW(add ? NIM_ADD : NIM_MODIFY, &data) && add) m_iconShown = true;
}

void TrayWindow::removeIcon() {
    if (!m_iconShown) return;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = m_main;
    data.uID = kTrayIconId;
    Shell_NotifyIconW(NIM_DELETE, &data);
    m_iconShown = false;
}

void TrayWindow::setMenuCaption(ProtectionCaption id, const std::string& text) {
    using C = ProtectionCaption;
    switch (id) {
        case C::TrayMenuName:
            setWindowTitle(text);
            return setText(IDC_TRAY_NAME, text);
        case C::TrayMenuShowProgram:
            return setText(IDC_TRAY_SHOW_PROGRAM, text);
        case C::TrayMenuScanNow:
            return setText(IDC_TRAY_SCAN_NOW, text);
        case C::TrayMenuExitProgram:
            return setText(IDC_TRAY_EXIT_PROGRAM, text);
        case C::TrayMenuClose:
            return setText(IDC_TRAY_CLOSE_MENU, text);
        default:
            return;
    }
}

namespace {
constexpr std::pair<TrayMenuEntry, int> kEntries[] = {{TrayMenuEntry::ShowProgram, IDC_TRAY_SHOW_PROGRAM},
                                                      {TrayMenuEntry::ScanNow, IDC_TRAY_SCAN_NOW},
                                                      {TrayMenuEntry::ExitProgram, IDC_TRAY_EXIT_PROGRAM},
                                                      {TrayMenuEntry::CloseMenu, IDC_TRAY_CLOSE_MENU}};
}

void TrayWindow::setEntryEnabled(TrayMenuEntry entry, bool enabled) {
    for (const auto& [e, control] : kEntries)
        if (e == entry) setEnabled(control, enabled);
}

void TrayWindow::setCloseEntryBold(bool bold) {
    if (bold) {
        makeBold(IDC_TRAY_CLOSE_MENU);
    } else if (m_normalFont) {
        SendDlgItemMessageW(hwnd(), IDC_TRAY_CLOSE_MENU, WM_SETFONT, reinterpret_cast<WPARAM>(m_normalFont),
                            FALSE);
    }
    InvalidateRect(item(IDC_TRAY_CLOSE_MENU), nullptr, TRUE);
}

int32_t TrayWindow::menuHeightPixels() const { return outerHeight(hwnd()); }

int32_t TrayWindow::menuInnerWidthPixels() const { return clientWidth(hwnd()); }

void TrayWindow::showMenu() {
    showWithoutFocus(hwnd());
    // The menu takes the foreground so a click elsewhere is noticed (the Shell's rule for menus
    // of notification-area icons).
    SetForegroundWindow(hwnd());
}

void TrayWindow::moveMenu(int32_t left, int32_t top) {
    SetWindowPos(hwnd(), HWND_TOPMOST, left, top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void TrayWindow::closeMenu() {
    KillTimer(hwnd(), kHoverTimer);
    m_hovered = false;
    ShowWindow(hwnd(), SW_HIDE);
}

void TrayWindow::onCommand(int id, int code) {
    if (code != BN_CLICKED || !onEntry) return;
    if (id == IDCANCEL) return onEntry(TrayMenuEntry::CloseMenu);
    for (const auto& [entry, control] : kEntries)
        if (control == id) return onEntry(entry);
}

void TrayWindow::mouseAt(HWND under) {
    if (!m_hovered) {
        m_hovered = true;
        // Leaving is noticed by looking where the mouse is: moving onto a child control would
        // end a tracked hover of the window itself.
        SetTimer(hwnd(), kHoverTimer, 100, nullptr);
        if (onMouseOver) onMouseOver(true);
    }
    if (onMouseMoved) onMouseMoved();
    bool overClose = under == item(IDC_TRAY_CLOSE_MENU);
    if (overClose != m_overClose) {
        m_overClose = overClose;
        if (onCloseEntryHover) onCloseEntryHover(overClose);
    }
}

bool TrayWindow::onMessage(UINT msg, WPARAM wParam, LPARAM, INT_PTR&) {
    if (msg == WM_SETCURSOR) {
        mouseAt(reinterpret_cast<HWND>(wParam));
        return false;  // the cursor itself is the system's business
    }
    if (msg == WM_TIMER && wParam == kHoverTimer) {
        POINT p;
        GetCursorPos(&p);
        RECT r;
        GetWindowRect(hwnd(), &r);
        if (!PtInRect(&r, p)) {
            KillTimer(hwnd(), kHoverTimer);
            m_hovered = false;
            if (m_overClose && onCloseEntryHover) onCloseEntryHover(false);
            m_overClose = false;
            if (onMouseOver) onMouseOver(false);
        }
        return true;
    }
    return false;
}

}  // namespace vedozer::win32ui
