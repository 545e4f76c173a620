#pragma once
#include <memory>
#include <string>

#include "i18n/Languages.h"
#include "platform/image/HostServices.h"
#include "platform/image/ImageProcesses.h"
#include "platform/image/ImageSystemRestore.h"
#include "removal/Removal.h"
#include "removal/RemovalImage.h"
#include "scan/ScanResults.h"
#include "settings/Settings.h"
#include "support/MemorySettingsStore.h"
#include "support/ScriptedHost.h"

namespace vedozer::test {

// Records what the removal asked of the session.
struct RecordingHooks : RemovalHooks {
    std::vector<std::string> calls;
    void removalStarting() override { calls.push_back("starting"); }
    void removalEnded() override { calls.push_back("ended"); }
    void setBackgroundTimers(bool on) override { calls.push_back(on ? "timers on" : "timers off"); }
    void sendAnonymousData() override { calls.push_back("sendAnonymousData"); }
    void statusChanged() override { calls.push_back("statusChanged"); }
    int count(const std::string& c) const { return static_cast<int>(std::count(calls.begin(), calls.end(), c)); }
};

// An image with everything a removal run uses: real files, hives and processes of the image
// backend, the data folder on the host, the message catalogue and settings.
struct RemovalSession : RemovalImage {
    ImageProcesses processes{std::map<char, std::string>{{'C', drive}}};
    UnavailableComServer comServer;
    std::unique_ptr<ImageSystemRestore> systemRestore;
    MemorySettingsStore store;
    ProductIdentity identity{"Vedozer Test", "Vedozer Labs", "http://www.vedozer.example"};
    Settings settings{store, identity};
    Languages messages{identity};
    ScriptedHost host;
    ScanResults results;
    ScanCounters counters;
    RecordingHooks hooks;
    Platform platform;
    std::unique_ptr<Removal> removal;

    explicit RemovalSession(bool withRestorePoint = false, const std::vector<HiveEntry>& software = {hiveKey("Microsoft")},
                            const std::vector<HiveEntry>& ntuser = {hiveKey("Software")})
        : RemovalImage(software, ntuser) {
        messages.loadDefaultMessages();
        processes.setTerminateWaitMillis(200);
        if (withRestorePoint)
            systemRestore = std::make_unique<ImageSystemRestore>(*registry, dataFolder + "/quarantine", clock);
        platform.files = files.get();
        platform.dataFiles = &dataFiles;
        platform.registry = registry.get();
        platform.processes = &processes;
        platform.comServer = &comServer;
        platform.systemRestore = systemRestore.get();
        platform.clock = &clock;
        removal = std::make_unique<Removal>(platform, host, messages, settings, results, identity.programName,
                                            dataFolder, &hooks);
        removal->gatheringPauseMillis = 0;
    }

    // A detection as a scanner records it: the removal-list row (once per name) and the work row.
    void detectFile(const std::string& path, const std::string& name, int icon = kIconFile) {
        results.listThreat(name, path, "", icon, counters);
        results.addFileDetection(path, name);
    }
    void detectRegistry(RootKey root, const std::string& key, const std::string& value, const std::string& name) {
        results.listThreat(name, std::string(rootKeyName(root)) + "\\" + key, "", kIconRegistry, counters);
        results.addRegistryDetection({rootKeyHandleText(root), key, value, name, false});
    }
    void detectCookie(const std::string& path, const std::string& cookie) {
        results.addThreat({"Cookie: " + cookie, path, "Tracking Cookie", kIconCookie, false});
        results.addFoundRow("Cookie Found: " + cookie, kIconCookie);
        results.addCookieDetection(path, "Cookie: " + cookie);
    }
};

}  // namespace vedozer::test
