// Titles beside their values: a longer language widens the titles' column and moves the values,
// through later resizes too, and a shorter one gives the room back.
#include <gtest/gtest.h>

#include <windows.h>

#include "ui/win32/HeaderPane.h"
#include "ui/win32/LabelColumn.h"
#include "ui/win32/Resource.h"

namespace vedozer::win32ui {
namespace {

RECT rectIn(HWND dialog, int id) {
    RECT r;
    GetWindowRect(GetDlgItem(dialog, id), &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST(LabelColumn, ALongTitleWidensItsColumnAndTheValuesMoveAsideThroughResizes) {
    HWND parent = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 900, 300, nullptr, nullptr, GetModuleHandleW(nullptr),
                                nullptr);
    HeaderPane header;
    ASSERT_TRUE(header.create(parent));
    HWND h = header.hwnd();
    header.setCaptionText(IDC_HEADER_LAST_SCAN_TITLE, "Last scan:");
    const RECT title0 = rectIn(h, IDC_HEADER_LAST_SCAN_TITLE), value0 = rectIn(h, IDC_HEADER_LAST_SCAN);
    const RECT shields0 = rectIn(h, IDC_HEADER_SHIELDS);

    header.setCaptionText(IDC_HEADER_LAST_SCAN_TITLE, "Letzte vollst\xE4ndige \xDC" "berpr\xFC" "fung:");
    const int needed = LabelColumn::textWidth(GetDlgItem(h, IDC_HEADER_LAST_SCAN_TITLE));
    ASSERT_GT(needed, title0.right - title0.left);  // the case worth testing
    RECT title1 = rectIn(h, IDC_HEADER_LAST_SCAN_TITLE), value1 = rectIn(h, IDC_HEADER_LAST_SCAN);
    EXPECT_GE(title1.right - title1.left, needed);
    EXPECT_EQ(title1.top, title0.top);
    EXPECT_GE(value1.left, title1.right);
    EXPECT_EQ(value1.right, value0.right);
    // The whole column moves, not one row.
    RECT shieldsTitle = rectIn(h, IDC_HEADER_SHIELDS_TITLE), shields1 = rectIn(h, IDC_HEADER_SHIELDS);
    EXPECT_EQ(shieldsTitle.right, title1.right);
    EXPECT_EQ(shields1.left, value1.left);

    // A wider band keeps the moved values where they are and stretches them.
    RECT band;
    GetClientRect(h, &band);
    SetWindowPos(h, nullptr, 0, 0, band.right + 100, band.bottom, SWP_NOMOVE | SWP_NOZORDER);
    RECT value2 = rectIn(h, IDC_HEADER_LAST_SCAN);
    EXPECT_EQ(value2.left, value1.left);
    EXPECT_EQ(value2.right, value1.right + 100);

    // English again: the designed column, the values back in their place.
    header.setCaptionText(IDC_HEADER_LAST_SCAN_TITLE, "Last scan:");
    RECT title3 = rectIn(h, IDC_HEADER_LAST_SCAN_TITLE), shields3 = rectIn(h, IDC_HEADER_SHIELDS);
    EXPECT_EQ(title3.right, title0.right);
    EXPECT_EQ(shields3.left, shields0.left);
    EXPECT_EQ(shields3.right, shields0.right + 100);
    DestroyWindow(parent);
}

}  // namespace
}  // namespace vedozer::win32ui
