#include "ui/win32/MessagePump.h"

#include <algorithm>
#include <vector>

namespace vedozer::win32ui {

namespace {

std::vector<HWND>& navigationWindows() {
    static std::vector<HWND> windows;
    return windows;
}

bool g_quitSeen = false;
int g_quitCode = 0;

// True when the message was a dialog keystroke of one of our windows and has been handled.
bool routeToDialog(MSG& msg) {
    if (!msg.hwnd) return false;
    HWND top = GetAncestor(msg.hwnd, GA_ROOT);
    auto& windows = navigationWindows();
    if (std::find(windows.begin(), windows.end(), top) == windows.end()) return false;
    return IsDialogMessageW(top, &msg) != FALSE;
}

void dispatch(MSG& msg) {
    if (routeToDialog(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

}  // namespace

void addKeyboardNavigation(HWND topLevel) {
    auto& windows = navigationWindows();
    if (std::find(windows.begin(), windows.end(), topLevel) == windows.end()) windows.push_back(topLevel);
}

void removeKeyboardNavigation(HWND topLevel) {
    auto& windows = navigationWindows();
    windows.erase(std::remove(windows.begin(), windows.end(), topLevel), windows.end());
}

bool pumpPendingMessages() {
    if (g_quitSeen) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The outer loop ends the program once the work beneath this pump has returned.
            g_quitSeen = true;
            g_quitCode = static_cast<int>(msg.wParam);
            PostQuitMessage(g_quitCode);
            return false;
        }
        dispatch(msg);
    }
    return true;
}

int runMessageLoop() {
    MSG msg;
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1) return 1;
        dispatch(msg);
    }
    g_quitSeen = false;  // the quit is taken: a loop run after this one starts afresh
    return static_cast<int>(msg.wParam);
}

}  // namespace vedozer::win32ui
