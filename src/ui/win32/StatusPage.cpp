#include "ui/win32/StatusPage.h"

#include <commctrl.h>

#include <initializer_list>

#include "ui/win32/Colours.h"
#include "ui/win32/CaptionControls.h"
#include "ui/win32/Resource.h"
#include "ui/win32/Wide.h"

namespace vedozer::win32ui {

namespace {

constexpr CaptionControl kCaptions[] = {
    {CaptionId::StatusFrame, IDC_STATUS_HEADING},
    {CaptionId::DefinitionCountTitle, IDC_DEF_COUNT_TITLE},
    {CaptionId::VersionTitle, IDC_VERSION_TITLE},
    {CaptionId::DefinitionDateTitle, IDC_DEF_DATE_TITLE},
    {CaptionId::RemovedTotalTitle, IDC_REMOVED_TOTAL_TITLE},
    {CaptionId::LastScanTitle, IDC_LAST_SCAN_TITLE},
    {CaptionId::LastCompleteScanTitle, IDC_LAST_COMPLETE_SCAN_TITLE},
    {CaptionId::StatusLiveUpdate, IDC_STATUS_LIVE_UPDATE},
    {CaptionId::StatusScanNow, IDC_STATUS_SCAN_NOW},
    {CaptionId::StatusShowReport, IDC_STATUS_SHOW_REPORT},
    {CaptionId::Welcome, IDC_WELCOME},
};

int actionControl(StatusAction action) {
    switch (action) {
    case StatusAction::LiveUpdate: return IDC_STATUS_LIVE_UPDATE;
    case StatusAction::ScanNow: return IDC_STATUS_SCAN_NOW;
    case StatusAction::ShowReport: return IDC_STATUS_SHOW_REPORT;
    }
    return 0;
}

}  // namespace

bool StatusPage::create(HWND mainWindow) { return DialogBase::create(IDD_STATUS_PAGE, mainWindow); }

void StatusPage::onInit() {
    makeHeading(IDC_STATUS_HEADING);
    for (int id : {IDC_STATUS_HEADING, IDC_WELCOME, IDC_DEF_COUNT, IDC_VERSION, IDC_DEF_DATE, IDC_REMOVED_TOTAL,
                   IDC_LAST_SCAN, IDC_LAST_COMPLETE_SCAN, IDC_WEBSITE})
        m_layout.anchor(id, AnchorLeft | AnchorTop | AnchorRight);
    m_titles.capture(hwnd(), m_layout,
                     {{IDC_DEF_COUNT_TITLE, IDC_DEF_COUNT},
                      {IDC_VERSION_TITLE, IDC_VERSION},
                      {IDC_DEF_DATE_TITLE, IDC_DEF_DATE},
                      {IDC_REMOVED_TOTAL_TITLE, IDC_REMOVED_TOTAL},
                      {IDC_LAST_SCAN_TITLE, IDC_LAST_SCAN},
                      {IDC_LAST_COMPLETE_SCAN_TITLE, IDC_LAST_COMPLETE_SCAN}});
}

void StatusPage::setCaption(CaptionId id, const std::string& text) {
    if (id == CaptionId::Website) {
        // A link control: the text between the tags is what shows.
        std::wstring link = L"<a>" + widen(text) + L"</a>";
        SetDlgItemTextW(hwnd(), IDC_WEBSITE, link.c_str());
        return;
    }
    for (const CaptionControl& c : kCaptions)
        if (c.caption == id) setText(c.control, text);
    m_titles.fit();
}

void StatusPage::showStatus(const StatusPageState& state) {
    setText(IDC_DEF_COUNT, state.definitionCount);
    setText(IDC_VERSION, state.version);
    setText(IDC_DEF_DATE, state.definitionDate);
    setText(IDC_REMOVED_TOTAL, state.removedTotal);
    setText(IDC_LAST_SCAN, state.lastScan);
    setText(IDC_LAST_COMPLETE_SCAN, state.lastCompleteScan);
    if (m_definitionsMissing != state.definitionsMissing) {
        m_definitionsMissing = state.definitionsMissing;
        if (m_definitionsMissing)
            makeBold(IDC_DEF_DATE);
        else
            SendDlgItemMessageW(hwnd(), IDC_DEF_DATE, WM_SETFONT, SendMessageW(hwnd(), WM_GETFONT, 0, 0), TRUE);
        InvalidateRect(item(IDC_DEF_DATE), nullptr, TRUE);
    }
}

void StatusPage::setActionEnabled(StatusAction action, bool enabled) { setEnabled(actionControl(action), enabled); }

void StatusPage::onCommand(int id, int code) {
    if (code != BN_CLICKED || !onAction) return;
    if (id == IDC_STATUS_LIVE_UPDATE) onAction(StatusAction::LiveUpdate);
    if (id == IDC_STATUS_SCAN_NOW) onAction(StatusAction::ScanNow);
    if (id == IDC_STATUS_SHOW_REPORT) onAction(StatusAction::ShowReport);
}

LRESULT StatusPage::onNotify(NMHDR* header) {
    if (header->idFrom == IDC_WEBSITE && (header->code == NM_CLICK || header->code == NM_RETURN) && onWebsite)
        onWebsite();
    return 0;
}

bool StatusPage::onMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    // Missing definitions are a warning: the date is drawn in the system's alert colour too,
    // beside the bold text (colour is never the only signal).
    if (msg == WM_CTLCOLORSTATIC && m_definitionsMissing &&
        reinterpret_cast<HWND>(lParam) == item(IDC_DEF_DATE)) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, warningTextColour());
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        result = reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
        return true;
    }
    return false;
}

}  // namespace vedozer::win32ui
