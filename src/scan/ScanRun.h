#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Clock.h"
#include "scan/ScanContext.h"

namespace vedozer {

// What one scan run leaves behind besides the lists and counters.
struct ScanRunState {
    std::string scanStarted;   // general date-and-time text
    std::string scanFinished;
    LocalTime startedAt, finishedAt;  // the same moments as values (local time of the clock)
    // A complete scan records its time as the last complete scan too; a quick scan only as the last scan.
    bool recordedAsComplete = false;
    int32_t cookieItems = 0;   // cookie files looked at
    bool cancelled = false;    // the stop flag was set
    bool definitionsMissing = false;
    bool reportWritten = false;
    // The stages that ran, in order.
    std::vector<ScanStage> stages;
};

// What the session does around a scan that is not the scan's own business.
struct ScanRunHooks {
    std::function<void(bool)> setBackgroundTimers;  // off before the scan, on after it
    std::function<void()> removeEverything;         // unattended: check all and remove, no questions
    std::function<void()> statusChanged;            // the status summary (last scan times) changed
};

// One scan run: clears the lists, counters and captions, checks the definition files,
// loads the safe list, runs the stages (cookies, memory, registry, files and folders)
// as the options say, saves the last-scan times, writes the report when asked to,
// shows the closing status, and hands over to removal when unattendedRemoval is set.
// The options are read from the settings (skey::scanCookies, scanMemory, scanRegistry,
// completeScanMode, writeReport).
ScanRunState runScan(ScanContext& ctx, bool unattendedRemoval, const ScanRunHooks& hooks = {});

// Pause: a question (MSG_PAUSED) that holds the scan while it is open.
void PauseScan(Host& host, const Languages& languages);
// Stop: asks (MSG_STOP, or the shorter MSG_SURE); Yes sets the stop flag.
bool RequestStop(Host& host, const Languages& languages, bool& stopFlag, bool shortQuestion = false);


}  // namespace vedozer
