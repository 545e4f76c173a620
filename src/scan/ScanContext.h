#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/Host.h"
#include "definitions/DefinitionFiles.h"
#include "definitions/ExclusionList.h"
#include "definitions/SafeList.h"
#include "i18n/Languages.h"
#include "platform/Platform.h"
#include "scan/ScanCounters.h"
#include "scan/ScanMonitor.h"
#include "scan/ScanResults.h"
#include "settings/Settings.h"

namespace vedozer {

// A running program the executable definitions name, as the memory sweep met it.
struct RunningThreat {
    std::string fileName;  // upper case ("BAD.EXE")
    std::string company;   // from its version resource, "" when it has none
    std::string path;      // its main module, upper case, the system folder in its ordinary form
    uint32_t pid = 0;
};

// Everything a scanner works with, borrowed from the session for one call.
struct ScanContext {
    ScanContext(Platform& platform, DefinitionSet& definitions, ExclusionList& exclusions, SafeList& safeList,
                Settings& settings, const Languages& languages, Host& host, bool& stopFlag, ScanResults& results,
                ScanCounters& counters, ScanMonitor& monitor)
        : platform(platform), definitions(definitions), exclusions(exclusions), safeList(safeList),
          settings(settings), languages(languages), host(host), stopFlag(stopFlag), results(results),
          counters(counters), monitor(monitor) {}

    Platform& platform;  // files (the scanned system), dataFiles, registry, shell folders, processes, ...
    DefinitionSet& definitions;
    ExclusionList& exclusions;
    SafeList& safeList;
    Settings& settings;
    const Languages& languages;
    Host& host;
    bool& stopFlag;
    ScanResults& results;
    ScanCounters& counters;
    ScanMonitor& monitor;

    // False when the memory shield sweeps outside a scan: no progress, and running
    // threats go to onShieldThreat instead of being stopped at once.
    bool scanRunning = true;
    // The memory shield's question about a running threat.
    std::function<void(const RunningThreat& threat)> onShieldThreat;
    // The memory sweep of the Windows 9x family (it belongs to the memory shield).
    std::function<void()> sweepMemory95;

    FileSystem& files() { return *platform.files; }
    FileSystem& dataFiles() { return *platform.dataFiles; }
    const std::string& dataFolder() const { return definitions.dataFolder; }
    bool stopped() const { return stopFlag; }
    void yield() { host.yield(); }
    std::string message(const char* key) const { return languages.getMessages(key); }

    // Passes one inspected item (the done-th of the stage's total) to the scan page; a
    // percentage whose divisor was zero skips the call.
    void showProgress(const std::string& item, int64_t done, int64_t total, std::optional<int> stagePercent,
                      std::optional<int> overallPercent) {
        if (!scanRunning || !stagePercent || !overallPercent) return;
        monitor.showScanProgress(counters, monitor.stageLabel() + "\r\n" + item, done, total, *stagePercent,
                                 *overallPercent);
    }
    // After each work-list row: the trace count follows at once.
    void showTraces() { monitor.showTraces(results.traces()); }
    void skip(std::string note) { results.noteSkipped(std::move(note)); }
    // A location of the system that could not be read, so what lies under it went unchecked: kept
    // with the results and told to the person at once (each location once).
    void unchecked(const std::string& what) {
        if (results.noteUnchecked(what)) host.onNotice(Notice{NoticeKind::Warning, what});
    }
};

}  // namespace vedozer
