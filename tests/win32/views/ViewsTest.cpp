// The views pass the person's actions on and nothing else: what a presenter writes into a control
// never comes back as a click.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "ui/win32/OptionsPage.h"
#include "ui/win32/Resource.h"
#include "ui/win32/ResultsPage.h"
#include "ui/win32/ScanPage.h"

namespace vedozer::win32ui {
namespace {

struct Parent {
    HWND hwnd = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 900, 700, nullptr, nullptr, GetModuleHandleW(nullptr),
                              nullptr);
    ~Parent() { DestroyWindow(hwnd); }
};

TEST(ResultsPageView, OnlyThePersonsCheckMarksAreReported) {
    Parent parent;
    ResultsPage page;
    ASSERT_TRUE(page.create(parent.hwnd));
    std::vector<std::pair<size_t, bool>> checks;
    page.onRowChecked = [&](size_t row, bool checked) { checks.emplace_back(row, checked); };
    page.showRows({{"AdBuddy Toolbar", "HKEY_LOCAL_MACHINE\\Software\\AdBuddy", "Adware", KindIcon::Registry, true},
                   {"PopWhirl", "C:\\windows\\system32\\popwhirl.dll", "Pop-up Adware", KindIcon::File, false}});
    EXPECT_TRUE(checks.empty());  // the presenter's own rows
    HWND list = page.item(IDC_RESULTS_LIST);
    EXPECT_EQ(ListView_GetItemCount(list), 2);
    EXPECT_TRUE(ListView_GetCheckState(list, 0));
    ListView_SetCheckState(list, 1, TRUE);  // as a click on the box does
    ASSERT_EQ(checks.size(), 1u);
    EXPECT_EQ(checks[0], std::make_pair(size_t{1}, true));
    page.showRows({{"PopWhirl", "C:\\windows\\system32\\popwhirl.dll", "Pop-up Adware", KindIcon::File, false}});
    EXPECT_EQ(checks.size(), 1u);
    EXPECT_EQ(ListView_GetItemCount(list), 1);
}

TEST(ResultsPageView, ColumnWidthsAreTwipsAndTheEmptyTextReplacesTheList) {
    Parent parent;
    ResultsPage page;
    ASSERT_TRUE(page.create(parent.hwnd));
    page.setColumnWidths({1400, 1400, 1400});
    std::vector<int> twips = page.columnWidths();
    ASSERT_EQ(twips.size(), 3u);
    EXPECT_NEAR(twips[0], 1400, 30);  // an empty list widens nothing but the location
    EXPECT_GE(twips[1], 1400 - 30);
    page.showEmptyText("No adware or spyware was found.");
    EXPECT_NE(GetWindowLongW(page.item(IDC_RESULTS_EMPTY), GWL_STYLE) & WS_VISIBLE, 0);
    EXPECT_EQ(GetWindowLongW(page.item(IDC_RESULTS_LIST), GWL_STYLE) & WS_VISIBLE, 0);
    page.showEmptyText("");
    EXPECT_NE(GetWindowLongW(page.item(IDC_RESULTS_LIST), GWL_STYLE) & WS_VISIBLE, 0);
}

TEST(OptionsPageView, AnOptionPairReportsTheChosenButtonOnlyAndWrittenValuesStaySilent) {
    Parent parent;
    OptionsPage page;
    ASSERT_TRUE(page.create(parent.hwnd));
    std::vector<std::pair<OptionControl, bool>> clicks;
    page.onOption = [&](OptionControl c, bool checked) { clicks.emplace_back(c, checked); };
    page.setOption(OptionControl::MemoryShieldOn, true);
    page.setOption(OptionControl::MemoryShieldOff, false);
    page.setOption(OptionControl::ScanCookies, true);
    EXPECT_TRUE(clicks.empty());
    page.showTab(1);
    HWND tabs = page.item(IDC_OPTIONS_TABS);
    HWND off = nullptr;  // on one of the tab pages inside the strip
    for (HWND tab = GetWindow(tabs, GW_CHILD); tab && !off; tab = GetWindow(tab, GW_HWNDNEXT))
        off = GetDlgItem(tab, IDC_MEMORY_SHIELD_OFF);
    ASSERT_TRUE(off);
    EXPECT_NE(GetWindowLongW(GetParent(off), GWL_STYLE) & WS_VISIBLE, 0);  // its tab shows
    SendMessageW(off, BM_CLICK, 0, 0);
    ASSERT_EQ(clicks.size(), 1u);  // not also "MemoryShieldOn unchecked"
    EXPECT_EQ(clicks[0], std::make_pair(OptionControl::MemoryShieldOff, true));
}

TEST(ScanPageView, EnterStartsTheScanOrLeadsOnToTheResults) {
    Parent parent;
    ScanPage page;
    ASSERT_TRUE(page.create(parent.hwnd));
    page.setControls({true, false, false, false});
    EXPECT_EQ(LOWORD(SendMessageW(page.hwnd(), DM_GETDEFID, 0, 0)), IDC_SCAN_NOW);
    EXPECT_FALSE(IsWindowEnabled(page.item(IDC_SCAN_PAUSE)));
    page.setControls({false, true, true, false});
    EXPECT_TRUE(IsWindowEnabled(page.item(IDC_SCAN_STOP)));
    EXPECT_FALSE(IsWindowEnabled(page.item(IDC_SCAN_NOW)));
    page.setControls({true, false, false, true});
    EXPECT_EQ(LOWORD(SendMessageW(page.hwnd(), DM_GETDEFID, 0, 0)), IDC_SCAN_CONTINUE);
    std::vector<ScanPage::Action> actions;
    page.onAction = [&](ScanPage::Action a) { actions.push_back(a); };
    SendMessageW(page.item(IDC_SCAN_CONTINUE), BM_CLICK, 0, 0);
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0], ScanPage::Action::Continue);
}

}  // namespace
}  // namespace vedozer::win32ui
