#include "ui/win32/AnchorLayout.h"

namespace vedozer::win32ui {

void AnchorLayout::capture(HWND dialog) {
    m_dialog = dialog;
    RECT client;
    GetClientRect(dialog, &client);
    m_designed = {client.right, client.bottom};
    m_entries.clear();
}

void AnchorLayout::anchor(int controlId, unsigned anchors) {
    HWND control = GetDlgItem(m_dialog, controlId);
    if (!control) return;
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, m_dialog, reinterpret_cast<POINT*>(&r), 2);
    for (Entry& e : m_entries)
        if (e.control == control) {
            e.anchors = anchors;
            return;
        }
    m_entries.push_back({control, r, anchors});
}

void AnchorLayout::setDesignedLeft(int controlId, LONG left) {
    HWND control = GetDlgItem(m_dialog, controlId);
    if (!control) return;
    for (Entry& e : m_entries)
        if (e.control == control) {
            e.designed.left = left;
            return;
        }
    anchor(controlId, AnchorLeft | AnchorTop);
    m_entries.back().designed.left = left;
}

void AnchorLayout::apply() const {
    if (!m_dialog || m_entries.empty()) return;
    RECT client;
    GetClientRect(m_dialog, &client);
    const int dx = client.right - m_designed.cx;
    const int dy = client.bottom - m_designed.cy;
    HDWP batch = BeginDeferWindowPos(static_cast<int>(m_entries.size()));
    for (const Entry& e : m_entries) {
        RECT r = e.designed;
        if (e.anchors & AnchorRight) {
            r.right += dx;
            if (!(e.anchors & AnchorLeft)) r.left += dx;
        }
        if (e.anchors & AnchorBottom) {
            r.bottom += dy;
            if (!(e.anchors & AnchorTop)) r.top += dy;
        }
        if (r.right < r.left) r.right = r.left;
        if (r.bottom < r.top) r.bottom = r.top;
        if (batch)
            batch = DeferWindowPos(batch, e.control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (batch) EndDeferWindowPos(batch);
    InvalidateRect(m_dialog, nullptr, TRUE);
}

}  // namespace vedozer::win32ui
