// The language window reports the person's choice of a row and nothing the presenter writes, and
// shows what it was given before it opened.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <vector>

#include "ui/win32/LanguageWindow.h"
#include "ui/win32/Resource.h"

namespace vedozer::win32ui {
namespace {

// Runs `inside` once from the modal window's own message loop.
std::function<void()> g_inside;
LanguageWindow* g_window = nullptr;
void CALLBACK runInside(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HWND dialog = g_window ? g_window->hwnd() : nullptr;
    if (g_inside) g_inside();
    // A failed check leaves the window open: end it so the test does not hang.
    if (dialog && IsWindow(dialog)) EndDialog(dialog, 0);
}

std::wstring textOf(HWND control) {
    wchar_t buffer[256] = {};
    GetWindowTextW(control, buffer, 256);
    return buffer;
}

int selectedRow(HWND list) { return ListView_GetNextItem(list, -1, LVNI_SELECTED); }

TEST(LanguageWindowView, ReportsOnlyThePersonsChoiceAndChangesItsTextsInPlace) {
    LanguageWindow window;
    std::vector<size_t> chosen;
    int oks = 0;
    window.onChosen = [&](size_t row) { chosen.push_back(row); };
    window.onOk = [&] {
        ++oks;
        window.close();
    };
    window.setTitle("Language");
    window.setCaption(CaptionId::LanguageCheckUpdates, "&Check for language updates");
    window.setCaption(CaptionId::LanguageOk, "&OK");
    window.showLanguages({"English", "Deutsch"}, 0);

    bool ran = false;
    g_inside = [&] {
        ran = true;
        HWND dialog = window.hwnd();
        ASSERT_TRUE(dialog);
        HWND list = window.item(IDC_LANGUAGE_LIST);
        EXPECT_EQ(textOf(dialog), L"Language");
        EXPECT_EQ(textOf(window.item(IDC_LANGUAGE_UPDATE)), L"&Check for language updates");
        EXPECT_EQ(ListView_GetItemCount(list), 2);
        EXPECT_EQ(selectedRow(list), 0);
        EXPECT_TRUE(chosen.empty());

        // The person picks the second row: reported once.
        ListView_SetItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ASSERT_EQ(chosen, std::vector<size_t>{1});

        // The presenter re-captions the open window and puts the saved choice back: silent.
        window.setTitle("Sprache");
        window.setCaption(CaptionId::LanguageCheckUpdates, "Nach neuen &Sprachdateien suchen");
        window.showLanguages({"English", "Deutsch", "Fran\xE7" "ais"}, 0);
        EXPECT_EQ(chosen.size(), 1u);
        EXPECT_EQ(textOf(dialog), L"Sprache");
        EXPECT_EQ(textOf(window.item(IDC_LANGUAGE_UPDATE)), L"Nach neuen &Sprachdateien suchen");
        EXPECT_EQ(ListView_GetItemCount(list), 3);
        EXPECT_EQ(selectedRow(list), 0);
        wchar_t third[32] = {};
        ListView_GetItemText(list, 2, 0, third, 32);
        EXPECT_STREQ(third, L"Fran\u00E7ais");

        // Picking the row already chosen is no new choice.
        ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
        EXPECT_EQ(chosen.size(), 1u);
        SendMessageW(window.item(IDC_LANGUAGE_OK), BM_CLICK, 0, 0);
    };
    g_window = &window;
    SetTimer(nullptr, 0, 10, runInside);
    window.showModal();
    g_inside = nullptr;
    EXPECT_TRUE(ran);
    EXPECT_EQ(oks, 1);
    EXPECT_EQ(window.hwnd(), nullptr);
}

TEST(LanguageWindowView, EscClosesThroughThePresenter) {
    LanguageWindow window;
    int oks = 0;
    window.onOk = [&] {
        ++oks;
        window.close();
    };
    window.showLanguages({"English"}, -1);
    g_inside = [&] {
        EXPECT_EQ(selectedRow(window.item(IDC_LANGUAGE_LIST)), -1);
        SendMessageW(window.hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);  // what Esc sends
    };
    g_window = &window;
    SetTimer(nullptr, 0, 10, runInside);
    window.showModal();
    g_inside = nullptr;
    EXPECT_EQ(oks, 1);
}

}  // namespace
}  // namespace vedozer::win32ui
