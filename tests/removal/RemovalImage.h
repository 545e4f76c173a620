#pragma once
#include <filesystem>
#include <memory>
#include <string>

#include "platform/image/HostServices.h"
#include "platform/image/ImageFileSystem.h"
#include "platform/image/ImageRegistry.h"
#include "removal/Quarantine.h"
#include "support/HiveBuilder.h"
#include "support/TempDir.h"

namespace vedozer::test {

// A small offline Windows image in a temporary folder: drive C with real SOFTWARE and NTUSER.DAT
// hives, and a data folder on the host beside it.
struct RemovalImage {
    TempDir dir;
    std::string drive = dir.str() + "/C";
    std::string dataFolder = dir.str() + "/data";
    std::string softwareHive = drive + "/Windows/System32/config/SOFTWARE";
    std::string ntuserHive = drive + "/Users/alice/NTUSER.DAT";
    SystemClock clock;
    HostFileSystem dataFiles;
    std::unique_ptr<ImageFileSystem> files;
    std::unique_ptr<ImageRegistry> registry;
    std::unique_ptr<Quarantine> quarantine;

    explicit RemovalImage(const std::vector<HiveEntry>& software = {hiveKey("Microsoft")},
                          const std::vector<HiveEntry>& ntuser = {hiveKey("Software")}) {
        std::filesystem::create_directories(drive + "/Windows/System32/config");
        std::filesystem::create_directories(drive + "/Users/alice");
        std::filesystem::create_directories(dataFolder);
        buildHive(softwareHive, software);
        buildHive(ntuserHive, ntuser);
        files = std::make_unique<ImageFileSystem>(std::map<char, std::string>{{'C', drive}});
        ImageRegistry::Config config;
        config.hives.software = softwareHive;
        config.hives.ntuser = ntuserHive;
        registry = std::make_unique<ImageRegistry>(config);
        quarantine = std::make_unique<Quarantine>(dataFiles, dataFolder, clock);
    }

    // A file of the image, by its path below C:\ with "/" separators.
    std::filesystem::path write(const std::string& relative, const std::string& content) {
        files->refresh();
        return dir.write("C/" + relative, content);
    }
    bool exists(const std::string& relative) const { return std::filesystem::exists(drive + "/" + relative); }
    std::string quarantined(const std::string& storedName) const {
        return readHostFile(dataFolder + "/quarantine/" + storedName);
    }
    bool inQuarantine(const std::string& storedName) const {
        return std::filesystem::exists(dataFolder + "/quarantine/" + storedName);
    }
    std::string log() const {
        auto p = dataFolder + "/quarantine/QuarantineLog.txt";
        return std::filesystem::exists(p) ? readHostFile(p) : std::string();
    }
};

}  // namespace vedozer::test
