// vedozer-gui.exe: the desktop application on Windows.
#include <windows.h>
#include <commctrl.h>

#include "ui/win32/DesktopApp.h"
#include "ui/win32/Dpi.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    vedozer::win32ui::becomeDpiAware();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_LINK_CLASS |
                                                       ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    vedozer::win32ui::DesktopApp app;
    return app.run();
}
