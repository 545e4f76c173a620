#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace vedozer::win32ui {

// One tooltip window per dialog, holding a tip per control.
class ToolTips {
public:
    ~ToolTips();
    void set(HWND dialog, int controlId, const std::wstring& text);

private:
    HWND m_tips = nullptr;
    std::vector<HWND> m_controls;
};

}  // namespace vedozer::win32ui
