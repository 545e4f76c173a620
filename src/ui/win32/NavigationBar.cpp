#include "ui/win32/NavigationBar.h"

#include <initializer_list>

#include "ui/win32/Resource.h"

namespace vedozer::win32ui {

static_assert(NavigationBar::IDD == IDD_NAVIGATION);

void NavigationBar::onInit() {
    RECT r;
    GetClientRect(hwnd(), &r);
    m_designed = {r.right, r.bottom};
    // The foot of the column stays at the bottom as the window grows.
    for (int id : {IDC_SEND_TO_TRAY, IDC_EXIT}) m_layout.anchor(id, AnchorLeft | AnchorBottom);
}

void NavigationBar::markCurrent(int pageButtonId) {
    m_updating = true;
    for (int id : {IDC_NAV_STATUS, IDC_NAV_SCAN, IDC_NAV_RESULTS, IDC_NAV_OPTIONS})
        CheckDlgButton(hwnd(), id, id == pageButtonId ? BST_CHECKED : BST_UNCHECKED);
    m_updating = false;
}

void NavigationBar::onCommand(int id, int code) {
    if (code != BN_CLICKED || !onClick) return;
    onClick(id);
}

}  // namespace vedozer::win32ui
