#pragma once
#include <filesystem>

#include "protection/BackgroundTimers.h"
#include "protection/MemoryShield.h"
#include "scan/ScanImage.h"
#include "support/RunningProgram.h"

namespace vedozer::test {

// An offline system with the memory shield over it: the session's lists as a scan leaves them,
// the protection timers, and programs placed on drive C.
struct ShieldImage {
    ScanImage img;
    BackgroundTimers timers{*img.settings};
    ScanCounters shieldCounters;
    ScanMonitor shieldMonitor;
    bool shieldStop = false;
    MemoryShield shield{timers, [this] {
                            return ScanContext{img.platform(), img.definitions, img.exclusions, img.safeList,
                                               *img.settings,  img.languages,   img.host,       shieldStop,
                                               img.results,    shieldCounters,  shieldMonitor};
                        }};

    ShieldImage() {
        timers.setWindowState(WindowState::Tray);
        timers.set(true);
    }
    // A copy of sleep at a path below C:\ ("Program Files/Bad/bad.exe").
    std::filesystem::path program(const std::string& relative) {
        std::filesystem::path p = img.drive + "/" + relative;
        std::filesystem::create_directories(p.parent_path());
        std::filesystem::copy_file("/bin/sleep", p, std::filesystem::copy_options::overwrite_existing);
        return p;
    }
    // The executable definitions, counted and the exclusion list loaded, as at start-up.
    void definitions(const std::vector<std::string>& lines) {
        img.definitionFile(kExeDefinitionFile, lines);
        CountDefinitions(*img.platform().dataFiles, img.definitions);
        LoadExclusions(img.exclusions, *img.platform().dataFiles, img.definitions.dataFolder);
    }
    std::string exclusionFile() {
        auto p = img.data + "/ENoSignature.dat";
        return std::filesystem::exists(p) ? readHostFile(p) : std::string();
    }
};

}  // namespace vedozer::test
