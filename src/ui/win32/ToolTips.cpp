#include "ui/win32/ToolTips.h"

#include <commctrl.h>

#include <algorithm>

namespace vedozer::win32ui {

ToolTips::~ToolTips() {
    if (m_tips) DestroyWindow(m_tips);
}

void ToolTips::set(HWND dialog, int controlId, const std::wstring& text) {
    HWND control = GetDlgItem(dialog, controlId);
    if (!control) return;
    if (!m_tips) {
        m_tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        SendMessageW(m_tips, TTM_SETMAXTIPWIDTH, 0, 400);
    }
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    bool known = std::find(m_controls.begin(), m_controls.end(), control) != m_controls.end();
    SendMessageW(m_tips, known ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (!known) m_controls.push_back(control);
}

}  // namespace vedozer::win32ui
