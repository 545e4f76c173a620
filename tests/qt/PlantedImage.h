#pragma once
#include <string>

#include "support/TempDir.h"
#include "ui/qt/QtDesktopApp.h"

namespace vedozer::test {

// The demo Windows installation (drive C with real hives, user "demo", adware planted that the
// shipped definitions name) with its own data folder holding those definitions and its own
// settings, in a temporary folder. The first start's questions are answered already.
struct PlantedImage {
    TempDir dir;
    std::string systemDrive;
    std::string dataFolder;
    std::string configDir;
    std::string machineDir;
    std::string mountInfo;  // an empty mount list: no mounted system is offered

    PlantedImage();
    // Options that open the installation at once.
    qtui::GuiOptions options() const;
    // Adds definitions of files that are not there, so the file stage takes long enough to be
    // paused and stopped by hand.
    void slowFileStage(int extraDefinitions);
    // A per-user setting of the program (its settings file in configDir).
    void setting(const std::string& section, const std::string& key, const std::string& value);
    std::string settingValue(const std::string& section, const std::string& key);
    // The host path of a file of drive C.
    std::string onDrive(const std::string& relative) const { return systemDrive + "/" + relative; }
};

}  // namespace vedozer::test
