#include "ui/win32/SplashWindow.h"

#include "ui/win32/DialogTemplate.h"
#include "ui/win32/Icons.h"
#include "ui/win32/Resource.h"

namespace vedozer::win32ui {

SplashWindow::~SplashWindow() {
    if (m_icon) DestroyIcon(m_icon);
}

bool SplashWindow::create() { return DialogBase::create(IDD_SPLASH, nullptr); }

void SplashWindow::show(const std::string& programName, const std::string& version, const std::string& loadingText) {
    makeHeading(IDC_SPLASH_PROGRAM, 140);
    RECT r;
    GetClientRect(item(IDC_SPLASH_ICON), &r);
    m_icon = loadIconAt(IDI_VEDOZER, r.right < r.bottom ? r.right : r.bottom);
    SendDlgItemMessageW(hwnd(), IDC_SPLASH_ICON, STM_SETICON, reinterpret_cast<WPARAM>(m_icon), 0);
    setText(IDC_SPLASH_PROGRAM, programName);
    setText(IDC_SPLASH_VERSION, version);
    setText(IDC_SPLASH_LOADING, loadingText);
    centreOnOwner(hwnd());
    ShowWindow(hwnd(), SW_SHOW);
    UpdateWindow(hwnd());
}

void SplashWindow::close() { ShowWindow(hwnd(), SW_HIDE); }

}  // namespace vedozer::win32ui
