#pragma once
#include <memory>
#include <string>
#include <vector>

#include "app/Host.h"
#include "definitions/DefinitionFiles.h"
#include "definitions/ExclusionList.h"
#include "definitions/SafeList.h"
#include "i18n/ProductIdentity.h"
#include "i18n/clsLanguages.h"
#include "platform/Platform.h"
#include "scan/ScanCounters.h"
#include "scan/ScanProgress.h"
#include "scan/ScanRun.h"
#include "scan/ScanResults.h"
#include "settings/Settings.h"

namespace vedozer {

class Removal;
class RemovalHooks;

// What the status page shows.
struct StatusPage {
    std::string lblDefCount;      // definition total with digit grouping
    std::string lblVersion;       // "major.minor"
    std::string lblDefVersion;    // definition date + " PST", or the missing-files text
    std::string lblDefRemoved;
    std::string lblLastScan;
    std::string lblLastFullScan;
};

struct StartupOptions {
    // The command line may run beside the desktop program; only what changes files takes the lock.
    bool takeInstanceLock = false;
    bool recordStatus = true;  // STATUS = "RUNNING", RESTART = "False"
};

// The process-wide state a front end renders and the operations it calls. Owns no platform
// service; borrows them from the backend.
class Session {
public:
    Session(Platform& platform, Host& host, ProductIdentity identity = ProductIdentity::fromBuild());
    ~Session();

    // The start-up sequence up to the point where a front end shows itself. False when another
    // instance holds the lock (when asked to take it).
    bool startUp(const StartupOptions& options = {});
    void shutDown();

    StatusPage RefreshStatusPage();
    // The five definition files that are absent, without touching any (CheckDefinitionFiles deletes).
    std::vector<std::string> missingDefinitionFiles();
    void reloadDefinitions();  // CountDefinitions, as after Live Update

    Platform& platform() { return m_platform; }
    Host& host() { return *m_hostPtr; }
    void setHost(Host& host);
    FileSystem& files() { return *m_platform.files; }
    FileSystem& dataFiles() { return *m_platform.dataFiles; }
    const ProductIdentity& identity() const { return m_identity; }
    clsLanguages& languages() { return m_languages; }
    Settings& settings() { return m_settings; }
    const std::string& dataFolder() const { return m_definitions.dataFolder; }
    DefinitionSet& definitions() { return m_definitions; }
    ExclusionList& exclusions() { return m_exclusions; }
    SafeList& safeList() { return m_safeList; }
    ScanResults& results() { return m_results; }
    ScanCounters& counters() { return m_counters; }

    ScanProgress& scanProgress() { return m_progress; }
    // The scan driver. With unattended set, everything found is removed without questions.
    ScanRunState scan(bool unattended = false);
    const ScanRunState& lastScan() const { return m_lastScan; }
    // The removal machinery over the current results (made on first use).
    Removal& removal();
    void setRemovalHooks(RemovalHooks* hooks);

    bool stopFlag = false;
    bool UnattendedRemoval = false;
    bool removalRunning = false;
    bool definitionsMissing = false;  // the last definition check failed

    std::string message(const std::string& key) const { return m_languages.getMessages(key); }
    // A message box titled with the program name.
    MsgAnswer ask(const std::string& text, MsgButtons buttons, MsgIcon icon);

private:
    Platform& m_platform;
    Host* m_hostPtr;
    ProductIdentity m_identity;
    clsLanguages m_languages;
    Settings m_settings;
    DefinitionSet m_definitions;
    ExclusionList m_exclusions;
    SafeList m_safeList;
    ScanResults m_results;
    ScanCounters m_counters;
    ScanProgress m_progress;
    ScanRunState m_lastScan;
    std::unique_ptr<Removal> m_removal;
    std::unique_ptr<RemovalHooks> m_defaultRemovalHooks;  // anonymous data after a removal
    RemovalHooks* m_removalHooks = nullptr;
    bool m_started = false;
};

}  // namespace vedozer
