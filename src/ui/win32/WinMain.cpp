// vedozer-gui.exe: the desktop application on Windows.
#include <windows.h>
#include <commctrl.h>

#include "ui/win32/DialogBase.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/Icons.h"
#include "ui/win32/MainWindow.h"
#include "ui/win32/MessagePump.h"
#include "ui/win32/Resource.h"

using namespace vedozer::win32ui;

namespace {
class Page : public DialogBase {
public:
    bool create(UINT id, HWND parent) { return DialogBase::create(id, parent); }
protected:
    bool windowBackground() const override { return true; }
};
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    becomeDpiAware();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_LINK_CLASS |
                                                       ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    UINT dpi = dpiOf(nullptr);
    MainWindow window;
    if (!window.create(loadIconAt(IDI_VEDOZER, scaled(32, dpi)), loadIconAt(IDI_VEDOZER, scaled(16, dpi)))) return 1;
    Page pages[4];
    UINT ids[4] = {IDD_STATUS_PAGE, IDD_SCAN_PAGE, IDD_RESULTS_PAGE, IDD_OPTIONS_PAGE};
    SIZE biggest{};
    for (int i = 0; i < 4; ++i) {
        pages[i].create(ids[i], window.hwnd());
        window.setPage(i, pages[i]);
        RECT r;
        GetClientRect(pages[i].hwnd(), &r);
        if (r.right > biggest.cx) biggest.cx = r.right;
        if (r.bottom > biggest.cy) biggest.cy = r.bottom;
    }
    window.setPageSize(biggest);
    window.navigation().onClick = [&](int id) {
        if (id >= IDC_NAV_STATUS && id <= IDC_NAV_OPTIONS) {
            window.showPage(id - IDC_NAV_STATUS);
            window.navigation().markCurrent(id);
        }
        if (id == IDC_EXIT) PostQuitMessage(0);
    };
    window.onCloseRequested = [] { PostQuitMessage(0); };
    window.setTitle("Vedozer Anti-Spyware");
    window.header().show(HeaderBand::State::Ok, "Protected", "1,514 definitions, dated 3/16/2006 PST",
                         "Memory shield on, Home page shield on", "Never");
    window.showPage(0);
    window.navigation().markCurrent(IDC_NAV_STATUS);
    ShowWindow(window.hwnd(), SW_SHOW);
    return runMessageLoop();
}
