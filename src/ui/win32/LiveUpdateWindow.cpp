#include "ui/win32/LiveUpdateWindow.h"

#include <shellapi.h>

#include "ui/win32/Dpi.h"
#include "ui/win32/Icons.h"
#include "ui/win32/Resource.h"
#include "ui/win32/Wide.h"

namespace vedozer::win32ui {

namespace {
constexpr UINT kTrayIconId = 2;  // the main window's tray icon is 1
}

LiveUpdateWindow::~LiveUpdateWindow() {
    removeTrayIcon();
    for (HICON icon : {m_up, m_down, m_small})
        if (icon) DestroyIcon(icon);
}

bool LiveUpdateWindow::create(HWND owner) { return DialogBase::create(IDD_LIVE_UPDATE, owner); }

void LiveUpdateWindow::onInit() {
    makeBold(IDC_UPDATE_CAPTION);
    RECT r;
    GetClientRect(item(IDC_UPDATE_ARROW), &r);
    int size = r.right < r.bottom ? r.right : r.bottom;
    m_up = loadIconAt(IDI_UPDATE_UP, size);
    m_down = loadIconAt(IDI_UPDATE_DOWN, size);
    m_small = loadIconAt(IDI_VEDOZER, smallIconSize(dpiOf(hwnd())));
    showArrow(false);
}

void LiveUpdateWindow::setCaption(CaptionId id, const std::string& text) {
    switch (id) {
    case CaptionId::LiveUpdateTitle: return setWindowTitle(text);
    case CaptionId::LiveUpdateStatusCaption: return setText(IDC_UPDATE_CAPTION, text);
    case CaptionId::LiveUpdateCancel: return setText(IDC_UPDATE_CANCEL, text);
    default: return;
    }
}

void LiveUpdateWindow::show() {
    ShowWindow(hwnd(), SW_SHOW);
    SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item(IDC_UPDATE_CANCEL)), TRUE);
}

void LiveUpdateWindow::close() { ShowWindow(hwnd(), SW_HIDE); }

void LiveUpdateWindow::setStatusText(const std::string& text) { setText(IDC_UPDATE_STATUS, text); }

void LiveUpdateWindow::setBlinkText(const std::string& text) { setText(IDC_UPDATE_BLINK, text); }

void LiveUpdateWindow::showArrow(bool up) {
    SendDlgItemMessageW(hwnd(), IDC_UPDATE_ARROW, STM_SETICON, reinterpret_cast<WPARAM>(up ? m_up : m_down), 0);
}

void LiveUpdateWindow::showTrayIcon(const std::string& tooltip) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = hwnd();
    data.uID = kTrayIconId;
    data.uFlags = NIF_ICON | NIF_TIP;
    data.hIcon = m_small;
    lstrcpynW(data.szTip, widen(tooltip).c_str(), ARRAYSIZE(data.szTip));
    m_trayIcon = Shell_NotifyIconW(m_trayIcon ? NIM_MODIFY : NIM_ADD, &data) || m_trayIcon;
}

void LiveUpdateWindow::removeTrayIcon() {
    if (!m_trayIcon || !hwnd()) return;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = hwnd();
    data.uID = kTrayIconId;
    Shell_NotifyIconW(NIM_DELETE, &data);
    m_trayIcon = false;
}

void LiveUpdateWindow::onCommand(int id, int code) {
    if (code == BN_CLICKED && (id == IDC_UPDATE_CANCEL || id == IDCANCEL) && onCancel) onCancel();
}

}  // namespace vedozer::win32ui
