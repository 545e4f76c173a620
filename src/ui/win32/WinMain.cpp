// vedozer-gui.exe: the desktop application on Windows.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "ui/win32/DesktopApp.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/Wide.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    vedozer::win32ui::becomeDpiAware();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_LINK_CLASS |
                                                       ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    std::vector<std::string> arguments;
    int count = 0;
    if (wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i) arguments.push_back(vedozer::win32ui::narrow(argv[i]));
        LocalFree(argv);
    }
    vedozer::win32ui::DesktopApp app(vedozer::parseStartOptions(arguments));
    return app.run();
}
