// What vedozer-gui.exe's entry point does before any window exists, done once for these tests.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "ui/win32/Dpi.h"

namespace {

class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        vedozer::win32ui::becomeDpiAware();
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_LINK_CLASS |
                                                           ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_TAB_CLASSES};
        InitCommonControlsEx(&controls);
    }
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

}  // namespace
