#pragma once
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "definitions/DefinitionFiles.h"
#include "definitions/ExclusionList.h"
#include "definitions/LineCodec.h"
#include "i18n/Languages.h"
#include "platform/image/ImagePlatform.h"
#include "platform/image/ImageProcesses.h"
#include "scan/ScanContext.h"
#include "scan/ScanRun.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "support/HiveBuilder.h"
#include "support/ScriptedHost.h"
#include "support/TempDir.h"

namespace vedozer::test {

// An offline Windows installation in a temporary folder (drive C with real SOFTWARE and
// NTUSER.DAT hives, user alice, Vista layout), opened through the image backend as the
// command line opens it, with a data folder and settings of its own, and everything a scan
// run needs around it.
struct ScanImage {
    TempDir dir;
    std::string drive = dir.str() + "/C";
    std::string data = dir.str() + "/data";
    std::unique_ptr<ImagePlatform> image;
    std::unique_ptr<ImageProcesses> processes;
    ScriptedHost host;
    Languages languages{ProductIdentity{"Vedozer Test", "Vedozer Labs", "http://www.vedozer.example"}};
    std::unique_ptr<Settings> settings;
    DefinitionSet definitions;
    ExclusionList exclusions;
    SafeList safeList;
    ScanResults results;
    ScanCounters counters;
    ScanMonitor progress;
    bool stopFlag = false;

    explicit ScanImage(std::vector<HiveEntry> software = {}, std::vector<HiveEntry> ntuser = {}) {
        namespace fs = std::filesystem;
        fs::create_directories(drive + "/Windows/System32/config");
        fs::create_directories(drive + "/Users/alice");
        fs::create_directories(data);
        software.push_back(hiveSz("Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion", "6.1"));
        ntuser.push_back(hiveKey("Software"));
        buildHive(drive + "/Windows/System32/config/SOFTWARE", software);
        buildHive(drive + "/Users/alice/NTUSER.DAT", ntuser);
        ImageConfig config;
        config.systemDrive = drive;
        config.user = "alice";
        config.dataFolder = data;
        config.configDir = dir.str() + "/config";
        config.machineConfigDir = dir.str() + "/machine";
        std::string error;
        image = ImagePlatform::create(config, error);
        if (!image) throw std::runtime_error("image: " + error);
        processes = std::make_unique<ImageProcesses>(std::map<char, std::string>{{'C', drive}});
        platform().processes = processes.get();
        languages.loadDefaultMessages();
        settings = std::make_unique<Settings>(*platform().settingsStore, languages.identity(), &host);
        definitions.dataFolder = image->dataFolder();
        progress.setHost(&host);
        // The five definition files exist, empty, unless a test writes them.
        for (const char* f : {kFileDefinitionFile, kDirectoryDefinitionFile, kRegistryDefinitionFile,
                              kExeDefinitionFile, kBlockedCookiesFile})
            definitionFile(f, {});
    }

    Platform& platform() { return image->platform(); }

    // A definition file of the data folder, each line encoded and ended by CR LF.
    void definitionFile(const std::string& name, const std::vector<std::string>& lines) {
        std::string content;
        for (const auto& l : lines) content += EncodeDefinitionLine(l) + "\r\n";
        dir.write("data/" + name, content);
    }
    void exclusionFile(const std::vector<std::string>& lines) {
        std::string content;
        for (const auto& l : lines) content += l + "\r\n";
        dir.write("data/ENoSignature.dat", content);
    }
    // A file of the image by its path below C:\ with "/" separators.
    std::filesystem::path write(const std::string& relative, const std::string& content) {
        return dir.write("C/" + relative, content);
    }
    void option(const char* key, const std::string& value) {
        settings->save(skey::OptionAndSettings, key, value);
    }
    // Scans the cookie, memory and registry stages only when asked.
    void onlyFiles() {
        option(skey::scanCookies, "0");
        option(skey::scanMemory, "False");
        option(skey::scanRegistry, "False");
    }

    ScanContext context() {
        return ScanContext{platform(), definitions, exclusions, safeList, *settings, languages, host,
                           stopFlag,   results,     counters,   progress};
    }

    // Counts the definitions and loads the exclusion list as start-up does, then scans.
    ScanRunState scan(bool unattendedRemoval = false, const ScanRunHooks& hooks = {}) {
        CountDefinitions(*platform().dataFiles, definitions);
        LoadExclusions(exclusions, *platform().dataFiles, definitions.dataFolder);
        ScanContext ctx = context();
        return runScan(ctx, unattendedRemoval, hooks);
    }

    std::vector<std::string> foundTexts() const {
        std::vector<std::string> out;
        for (const auto& r : results.foundList()) out.push_back(r.text);
        return out;
    }
    std::string report() const {
        auto p = data + "/Scan_Log.txt";
        return std::filesystem::exists(p) ? readHostFile(p) : std::string();
    }
};

}  // namespace vedozer::test
