#include "ui/win32/HeaderPane.h"

#include <initializer_list>

#include "ui/win32/Dpi.h"
#include "ui/win32/Icons.h"
#include "ui/win32/Resource.h"

namespace vedozer::win32ui {

HeaderPane::~HeaderPane() {
    if (m_icon) DestroyIcon(m_icon);
}

bool HeaderPane::create(HWND mainWindow) { return DialogBase::create(IDD_HEADER, mainWindow); }

void HeaderPane::onInit() {
    RECT r;
    GetClientRect(hwnd(), &r);
    m_designed = {r.right, r.bottom};
    makeHeading(IDC_HEADER_STATE, 115);
    for (int id : {IDC_HEADER_STATE, IDC_HEADER_DEFINITIONS, IDC_HEADER_SHIELDS, IDC_HEADER_LAST_SCAN})
        m_layout.anchor(id, AnchorLeft | AnchorRight | AnchorTop);
    for (int id : {IDC_NAV_HELP, IDC_NAV_ABOUT}) m_layout.anchor(id, AnchorRight | AnchorTop);
    m_titles.capture(hwnd(), m_layout,
                     {{IDC_HEADER_DEFINITIONS_TITLE, IDC_HEADER_DEFINITIONS},
                      {IDC_HEADER_SHIELDS_TITLE, IDC_HEADER_SHIELDS},
                      {IDC_HEADER_LAST_SCAN_TITLE, IDC_HEADER_LAST_SCAN}});
}

void HeaderPane::setCaptionText(int controlId, const std::string& text) {
    setText(controlId, text);
    m_titles.fit();
}

void HeaderPane::show(State state, const std::string& stateText, const std::string& definitions,
                      const std::string& shields, const std::string& lastScan) {
    if (!m_shown || state != m_state) {
        RECT r;
        GetClientRect(item(IDC_HEADER_STATE_ICON), &r);
        HICON icon = loadIconAt(state == State::Ok          ? IDI_STATE_OK
                                : state == State::Attention ? IDI_STATE_ATTENTION
                                                            : IDI_STATE_THREATS,
                                r.right < r.bottom ? r.right : r.bottom);
        SendDlgItemMessageW(hwnd(), IDC_HEADER_STATE_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        if (m_icon) DestroyIcon(m_icon);
        m_icon = icon;
        m_state = state;
        m_shown = true;
    }
    setText(IDC_HEADER_STATE, stateText);
    setText(IDC_HEADER_DEFINITIONS, definitions);
    setText(IDC_HEADER_SHIELDS, shields);
    setText(IDC_HEADER_LAST_SCAN, lastScan);
}

void HeaderPane::onCommand(int id, int code) {
    if (code == BN_CLICKED && onClick) onClick(id);
}

bool HeaderPane::onMessage(UINT msg, WPARAM wParam, LPARAM, INT_PTR& result) {
    if (msg != WM_ERASEBKGND) return false;
    // The band on the window colour with a line that parts it from the page below.
    HDC dc = reinterpret_cast<HDC>(wParam);
    RECT r;
    GetClientRect(hwnd(), &r);
    FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
    RECT line = r;
    line.top = line.bottom - 1;
    FillRect(dc, &line, GetSysColorBrush(COLOR_3DSHADOW));
    result = TRUE;
    return true;
}

}  // namespace vedozer::win32ui
