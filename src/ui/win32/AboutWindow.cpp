#include "ui/win32/AboutWindow.h"

#include <commctrl.h>

#include "ui/win32/Icons.h"
#include "ui/win32/Resource.h"
#include "ui/win32/Wide.h"

namespace vedozer::win32ui {

AboutWindow::~AboutWindow() {
    if (m_icon) DestroyIcon(m_icon);
}

void AboutWindow::setCaption(CaptionId id, const std::string& text) {
    if (id == CaptionId::AboutTitle) m_title = text;
    if (id == CaptionId::AboutVersion) m_versionTitle = text;
    if (id == CaptionId::AboutOk) m_ok = text;
}

void AboutWindow::showModal(const AboutInfo& info) {
    m_info = info;
    runModal(IDD_ABOUT, m_owner);
}

void AboutWindow::close() { endModal(IDOK); }

void AboutWindow::onInit() {
    makeHeading(IDC_ABOUT_PROGRAM, 125);
    RECT r;
    GetClientRect(item(IDC_ABOUT_ICON), &r);
    m_icon = loadIconAt(IDI_VEDOZER, r.right < r.bottom ? r.right : r.bottom);
    SendDlgItemMessageW(hwnd(), IDC_ABOUT_ICON, STM_SETICON, reinterpret_cast<WPARAM>(m_icon), 0);
    setWindowTitle(m_title);
    setText(IDC_ABOUT_PROGRAM, m_info.programName);
    setText(IDC_ABOUT_VERSION, m_versionTitle + " " + m_info.version);
    setText(IDC_ABOUT_COMPANY, m_info.companyName);
    std::wstring link = L"<a>" + widen(m_info.website) + L"</a>";
    SetDlgItemTextW(hwnd(), IDC_ABOUT_WEBSITE, link.c_str());
    setText(IDC_ABOUT_OK, m_ok);
    SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item(IDC_ABOUT_OK)), TRUE);
}

void AboutWindow::onCommand(int id, int code) {
    if (code == BN_CLICKED && (id == IDC_ABOUT_OK || id == IDCANCEL)) {
        if (onOk)
            onOk();
        else
            close();
    }
}

LRESULT AboutWindow::onNotify(NMHDR* header) {
    if (header->idFrom == IDC_ABOUT_WEBSITE && (header->code == NM_CLICK || header->code == NM_RETURN) && onWebsite)
        onWebsite();
    return 0;
}

}  // namespace vedozer::win32ui
