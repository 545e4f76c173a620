#include "PlantedImage.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "cli/DemoImage.h"
#include "definitions/DefinitionFiles.h"
#include "definitions/LineCodec.h"
#include "i18n/ProductIdentity.h"
#include "platform/image/ImageFileSystem.h"
#include "platform/image/IniSettingsStore.h"

namespace vedozer::test {

PlantedImage::PlantedImage() {
    cli::DemoImage demo = cli::buildDemoImage((dir.path() / "demo").string());
    systemDrive = demo.systemDrive;
    dataFolder = demo.dataFolder;
    configDir = demo.configDir;
    machineDir = demo.configDir + "/machine";
    mountInfo = (dir.path() / "mountinfo").string();
    dir.write("mountinfo", "");
    HostFileSystem data;
    if (!installShippedDefinitions(data, dataFolder)) throw std::runtime_error("cannot install the definitions");
    const ProductIdentity id = ProductIdentity::fromBuild();
    IniSettingsStore store(configDir, machineDir);
    store.saveMachine(id.companyName, id.programName, "Settings", "FirstTime", "Yes");
    setting("Settings", "Language", "English");
    setting("Settings", "showHelp", "0");
}

qtui::GuiOptions PlantedImage::options() const {
    qtui::GuiOptions o;
    o.choice.systemDrive = systemDrive;
    o.dataDir = dataFolder;
    o.configDir = configDir;
    o.machineConfigDir = machineDir;
    o.mountInfo = mountInfo;
    return o;
}

void PlantedImage::slowFileStage(int extraDefinitions) {
    std::ofstream out(dataFolder + "/" + kFileDefinitionFile, std::ios::binary | std::ios::app);
    for (int i = 0; i < extraDefinitions; ++i)
        out << EncodeDefinitionLine("absent" + std::to_string(i) + ".exe=Absent Adware|[drive]Absent" +
                                    std::to_string(i % 50))
            << "\r\n";
}

void PlantedImage::setting(const std::string& section, const std::string& key, const std::string& value) {
    IniSettingsStore(configDir, machineDir).saveUser(ProductIdentity::fromBuild().programName, section, key, value);
}

std::string PlantedImage::settingValue(const std::string& section, const std::string& key) {
    return IniSettingsStore(configDir, machineDir)
        .getUser(ProductIdentity::fromBuild().programName, section, key)
        .value_or("<absent>");
}

}  // namespace vedozer::test
