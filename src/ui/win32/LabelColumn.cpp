#include "ui/win32/LabelColumn.h"

#include <algorithm>
#include <string>

namespace vedozer::win32ui {

namespace {

RECT rectIn(HWND dialog, HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

void LabelColumn::capture(HWND dialog, AnchorLayout& layout, std::vector<std::pair<int, int>> titleAndValue) {
    m_dialog = dialog;
    m_layout = &layout;
    m_rows.clear();
    for (const auto& [title, value] : titleAndValue) {
        HWND t = GetDlgItem(dialog, title), v = GetDlgItem(dialog, value);
        if (t && v) m_rows.push_back({title, value, rectIn(dialog, t), rectIn(dialog, v)});
    }
}

int LabelColumn::textWidth(HWND control) {
    int n = GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    GetWindowTextW(control, text.data(), n + 1);
    text.resize(static_cast<size_t>(n));
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT r{0, 0, 0, 0};
    UINT prefix = (GetWindowLongW(control, GWL_STYLE) & SS_NOPREFIX) ? DT_NOPREFIX : 0;
    DrawTextW(dc, text.c_str(), n, &r, DT_CALCRECT | DT_SINGLELINE | prefix);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return r.right - r.left;
}

void LabelColumn::fit() {
    if (m_rows.empty()) return;
    int designed = 0, needed = 0;
    for (const Row& row : m_rows) {
        designed = std::max(designed, static_cast<int>(row.titleRect.right - row.titleRect.left));
        needed = std::max(needed, textWidth(GetDlgItem(m_dialog, row.title)) + 1);
    }
    const int width = std::max(designed, needed);
    for (const Row& row : m_rows) {
        const int gap = row.valueRect.left - row.titleRect.right;
        RECT title = row.titleRect;
        title.right = title.left + width;
        MoveWindow(GetDlgItem(m_dialog, row.title), title.left, title.top, title.right - title.left,
                   title.bottom - title.top, TRUE);
        // A value keeps its right edge and at least a little room of its own.
        const LONG minimum = std::min<LONG>(row.valueRect.right - row.valueRect.left, 8);
        const LONG left = std::min<LONG>(title.right + gap, row.valueRect.right - minimum);
        m_layout->setDesignedLeft(row.value, left);
    }
    m_layout->apply();
}

}  // namespace vedozer::win32ui
