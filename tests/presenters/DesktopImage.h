#pragma once
#include <memory>
#include <string>
#include <vector>

#include "RecordingViews.h"
#include "scan/ScanImage.h"
#include "support/FakePlatform.h"

namespace vedozer::test {

// The desktop program over recording views and a planted offline Windows installation (real
// hives, real files), with the desktop shell and the network replaced by recorders.
struct DesktopImage {
    ScanImage image;
    RecordingShell shell;
    ScriptedHttp http;
    RecordingViews v;
    ProgramLocation program{"C:\\Program Files\\Vedozer", "vedozer-gui.exe", ""};
    DesktopFeatures features;
    bool startInTray = false;
    std::unique_ptr<Desktop> desktop;

    explicit DesktopImage(std::vector<HiveEntry> software = {}, std::vector<HiveEntry> ntuser = {})
        : image(std::move(software), std::move(ntuser)) {
        image.platform().shell = &shell;
        image.platform().http = &http;
    }

    // Marks the first start, the language choice and the help as done.
    void notFirstRun() {
        image.settings->saveMachine("Settings", "FirstTime", "Yes");
        image.settings->save("Settings", "Language", "English");
        image.settings->save("Settings", "showHelp", "0");
    }

    Desktop& make() {
        desktop = std::make_unique<Desktop>(image.platform(), v.views(),
                                            DesktopConfig{.program = program,
                                                          .features = features,
                                                          .identity = image.languages.identity(),
                                                          .startInTray = startInTray});
        return *desktop;
    }
    // Makes the desktop and loads the main window, which must show.
    Desktop& start() {
        make();
        EXPECT_EQ(desktop->load(), MainWindowPresenter::LoadResult::Shown);
        return *desktop;
    }
    std::string setting(const char* section, const char* key) { return image.settings->get(section, key, "<absent>"); }
};

}  // namespace vedozer::test
