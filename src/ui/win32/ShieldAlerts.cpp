#include "ui/win32/ShieldAlerts.h"

#include "ui/win32/Icons.h"
#include "ui/win32/Resource.h"

namespace vedozer::win32ui {

namespace {

// The red state sign of the header band ("threats found"), at the size the template gives it.
HICON warningIcon(HWND label) {
    RECT r;
    GetClientRect(label, &r);
    HICON icon = loadIconAt(IDI_STATE_THREATS, r.right < r.bottom ? r.right : r.bottom);
    SendMessageW(label, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    return icon;
}

std::string captionOf(const std::map<ProtectionCaption, std::string>& captions, ProtectionCaption id) {
    auto it = captions.find(id);
    return it == captions.end() ? std::string() : it->second;
}

}  // namespace

ThreatAlertWindow::~ThreatAlertWindow() {
    if (m_icon) DestroyIcon(m_icon);
}

void ThreatAlertWindow::setThreat(const std::string& fileName, const std::string& companyName) {
    m_fileName = fileName;
    m_companyName = companyName;
    setText(IDC_ALERT_FILE_NAME, fileName);
    setText(IDC_ALERT_COMPANY_NAME, companyName);
}

void ThreatAlertWindow::setStopEnabled(bool enabled) {
    m_stopEnabled = enabled;
    setEnabled(IDC_ALERT_STOP, enabled);
}

namespace {
// A hidden or minimised owner would hide its alert with it: then the alert stands alone.
HWND visibleOwner(HWND owner) {
    return owner && IsWindowVisible(owner) && !IsIconic(owner) ? owner : nullptr;
}
}  // namespace

void ThreatAlertWindow::showModal() { runModal(IDD_THREAT_ALERT, visibleOwner(m_owner)); }

void ThreatAlertWindow::onInit() {
    using C = ProtectionCaption;
    setWindowTitle(captionOf(m_captions, C::ThreatAlertTitle));
    const std::pair<C, int> labels[] = {{C::ThreatAlertDetected, IDC_ALERT_DETECTED},
                                        {C::ThreatAlertStopHint, IDC_ALERT_STOP_HINT},
                                        {C::ThreatAlertAllowHint, IDC_ALERT_ALLOW_HINT},
                                        {C::ThreatAlertFileNameTitle, IDC_ALERT_FILE_TITLE},
                                        {C::ThreatAlertCompanyTitle, IDC_ALERT_COMPANY_TITLE},
                                        {C::ThreatAlertStop, IDC_ALERT_STOP},
                                        {C::ThreatAlertAllow, IDC_ALERT_ALLOW}};
    for (const auto& [caption, control] : labels) setText(control, captionOf(m_captions, caption));
    makeHeading(IDC_ALERT_DETECTED, 110);
    makeBold(IDC_ALERT_FILE_NAME);
    if (!m_icon)
        m_icon = warningIcon(item(IDC_ALERT_ICON));
    else
        SendDlgItemMessageW(hwnd(), IDC_ALERT_ICON, STM_SETICON, reinterpret_cast<WPARAM>(m_icon), 0);
    setText(IDC_ALERT_FILE_NAME, m_fileName);
    setText(IDC_ALERT_COMPANY_NAME, m_companyName);
    setEnabled(IDC_ALERT_STOP, m_stopEnabled);
    // The safe choice has the focus, yet Enter alone is no answer: neither button is the default.
    SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item(IDC_ALERT_ALLOW)), TRUE);
    SetForegroundWindow(hwnd());
}

void ThreatAlertWindow::onCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    switch (id) {
        case IDC_ALERT_STOP:
            if (onStop) onStop();
            break;
        case IDC_ALERT_ALLOW:
            if (onAllow) onAllow();
            break;
        case IDCANCEL:
            if (onClosed) onClosed();
            endModal(IDCANCEL);
            break;
        default:
            break;  // IDOK (Enter): no choice
    }
}

HomePageAlertWindow::~HomePageAlertWindow() {
    if (m_icon) DestroyIcon(m_icon);
}

void HomePageAlertWindow::setInfo(const std::string& text) {
    m_info = text;
    setText(IDC_HOME_PAGE_INFO, text);
}

void HomePageAlertWindow::showModal() { runModal(IDD_HOME_PAGE_ALERT, visibleOwner(m_owner)); }

void HomePageAlertWindow::onInit() {
    using C = ProtectionCaption;
    setWindowTitle(captionOf(m_captions, C::HomePageAlertTitle));
    setText(IDC_HOME_PAGE_PRODUCT, captionOf(m_captions, C::HomePageAlertProductName));
    setText(IDC_HOME_PAGE_YES, captionOf(m_captions, C::HomePageAlertYes));
    setText(IDC_HOME_PAGE_NO, captionOf(m_captions, C::HomePageAlertNo));
    setText(IDC_HOME_PAGE_INFO, m_info);
    makeHeading(IDC_HOME_PAGE_PRODUCT, 110);
    if (!m_icon)
        m_icon = warningIcon(item(IDC_HOME_PAGE_ICON));
    else
        SendDlgItemMessageW(hwnd(), IDC_HOME_PAGE_ICON, STM_SETICON, reinterpret_cast<WPARAM>(m_icon), 0);
    SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item(IDC_HOME_PAGE_YES)), TRUE);
    SetForegroundWindow(hwnd());
}

void HomePageAlertWindow::onCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    switch (id) {
        case IDC_HOME_PAGE_YES:
            if (onYes) onYes();
            break;
        case IDC_HOME_PAGE_NO:
            if (onNo) onNo();
            break;
        case IDCANCEL:
            if (onClosed) onClosed();
            endModal(IDCANCEL);
            break;
        default:
            break;
    }
}

}  // namespace vedozer::win32ui
