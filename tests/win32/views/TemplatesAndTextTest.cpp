// Dialog templates on the message font, and the code-page edge of the views.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "ui/win32/DialogTemplate.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/Resource.h"
#include "ui/win32/Wide.h"

namespace vedozer::win32ui {
namespace {

const UINT kTemplates[] = {IDD_NAVIGATION, IDD_HEADER, IDD_STATUS_PAGE, IDD_SCAN_PAGE, IDD_RESULTS_PAGE,
                           IDD_OPTIONS_PAGE, IDD_OPTIONS_SCANNING, IDD_OPTIONS_PROTECTION, IDD_OPTIONS_SCHEDULE,
                           IDD_OPTIONS_GENERAL, IDD_UNDELETABLE, IDD_LIVE_UPDATE, IDD_REPORT, IDD_QUARANTINE,
                           IDD_SUBMIT, IDD_ABOUT, IDD_HELP, IDD_SPLASH};

INT_PTR CALLBACK quietDialog(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// Every child of a dialog as (id, class, style), in order.
struct Child {
    int id;
    std::wstring kind;
    LONG style;
    bool operator==(const Child&) const = default;
};
std::vector<Child> children(HWND dialog) {
    std::vector<Child> out;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t kind[64] = {};
        GetClassNameW(c, kind, 64);
        out.push_back({GetDlgCtrlID(c), kind, GetWindowLongW(c, GWL_STYLE) & ~(WS_VISIBLE | WS_DISABLED)});
    }
    return out;
}

std::wstring fontFace(HWND dialog) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfFaceName;
}

TEST(DialogTemplates, TakeTheMessageFontAndKeepEveryControlAsDesigned) {
    HINSTANCE module = GetModuleHandleW(nullptr);
    const UINT dpi = dpiOf(nullptr);
    const LOGFONTW message = messageFont(dpi);
    // Pages are child windows: they need a parent.
    HWND parent = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, module, nullptr);
    for (UINT id : kTemplates) {
        SCOPED_TRACE("template " + std::to_string(id));
        std::vector<BYTE> patched = dialogTemplateWithMessageFont(module, id, dpi);
        ASSERT_FALSE(patched.empty());
        HWND original = CreateDialogParamW(module, MAKEINTRESOURCEW(id), parent, quietDialog, 0);
        HWND ours = CreateDialogIndirectParamW(module, reinterpret_cast<LPCDLGTEMPLATEW>(patched.data()), parent,
                                               quietDialog, 0);
        ASSERT_TRUE(original);
        ASSERT_TRUE(ours);
        EXPECT_EQ(children(ours), children(original));
        EXPECT_EQ(fontFace(ours), std::wstring(message.lfFaceName));
        // Never below 9 pt: the layouts are designed for it.
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(ours, WM_GETFONT, 0, 0)), sizeof font, &font);
        EXPECT_GE(-font.lfHeight, MulDiv(9, static_cast<int>(dpi), 72) - 1);
        DestroyWindow(original);
        DestroyWindow(ours);
    }
    DestroyWindow(parent);
}

TEST(DialogTemplates, AMissingTemplateGivesNothingRatherThanAWindow) {
    EXPECT_TRUE(dialogTemplateWithMessageFont(GetModuleHandleW(nullptr), 9999, 96).empty());
    EXPECT_EQ(createDialogFromTemplate(9999, nullptr, quietDialog, 0), nullptr);
    EXPECT_EQ(runModalDialog(9999, nullptr, quietDialog, 0), -1);
}

TEST(MessageFont, ScalesWithTheDpiAndIsNeverSmallerThanNinePoints) {
    LOGFONTW at96 = messageFont(96), at144 = messageFont(144);
    EXPECT_LE(at96.lfHeight, -12);
    EXPECT_LE(at144.lfHeight, -18);
    EXPECT_NEAR(static_cast<double>(at144.lfHeight) / at96.lfHeight, 1.5, 0.1);
}

TEST(Wide, WindowsCodePageTextCrossesTheEdgeBothWays) {
    const std::string ansi = "Caf\xe9 \x80 \x93quoted\x94 C:\\Programme\\M\xfcller";
    const std::wstring wide = L"Caf\u00e9 \u20ac \u201cquoted\u201d C:\\Programme\\M\u00fcller";
    EXPECT_EQ(widen(ansi), wide);
    EXPECT_EQ(narrow(wide), ansi);
    EXPECT_EQ(narrow(L"\u4e2d\u6587"), "??");  // outside the code page
    EXPECT_EQ(widen(""), L"");
}

}  // namespace
}  // namespace vedozer::win32ui
