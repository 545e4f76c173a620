#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/Outcome.h"

namespace vedozer {

// The stages of a scan, in the order they run.
enum class ScanStage { Cookies, Memory, Registry, Files };
const char* scanStageName(ScanStage stage);  // "cookies", "memory", "registry", "files"

// The counters of the scan page.
struct ScanTally {
    int32_t memoryInspected = 0;    // cookies and running programs looked at
    int32_t registryInspected = 0;  // registry definitions checked
    int32_t filesInspected = 0;     // file and folder definitions checked
    int32_t softwareFound = 0;      // spyware names listed
    int32_t traces = 0;             // detections behind them
    int32_t runningPrograms = 0;    // programs the memory stage listed
    // A stage switched off for this scan shows as not selected instead of a count.
    bool memorySelected = true;
    bool registrySelected = true;
    bool operator==(const ScanTally&) const = default;
};

struct ScanStageStarted {
    ScanStage stage = ScanStage::Cookies;
    std::string caption;  // "Scanning Registry" ...
};

// The scan page after a change: sent at every hundredth inspected item, at each stage's end
// and when the scan ends.
struct ScanProgress {
    ScanStage stage = ScanStage::Cookies;
    int64_t done = 0;   // items of this stage inspected
    int64_t total = 0;  // items the stage has (its definitions), 0 when not known
    std::string caption;       // the status line: stage caption, CR LF and the item (filtered), or a closing text
    std::string stageCaption;  // the stage line: "Scanning Registry", after a stop "0% Completed."
    int stagePercent = 0;      // this stage's bar
    int overallPercent = 0;    // the whole scan's bar
    ScanTally tally;
};

// A trace the scan met: listed as a detection, or held back by the exclusion list.
struct ItemFound {
    DetectionKind kind = DetectionKind::File;
    std::string spywareName;  // empty for an excluded item
    std::string location;
    bool excluded = false;
};

// The removal run's bar and captions.
struct RemovalProgress {
    size_t done = 0;   // work-list rows handled in this pass
    size_t total = 0;  // work-list rows of the run
    int percent = 0;
    std::string caption;  // "Removing : 40% Completed.", "Creating Restore Point...", "100% Complete."
    std::string item;     // what is being removed now, lower case; empty between items
};

// One item of a removal has settled: removed, not removed (with the reason) or skipped.
struct ItemRemoved {
    Detection detection;
};

enum class UpdatePhase {
    Connecting,   // asking the server for its date
    Downloading,  // bytes of a reply arrive
    Applying,     // the feed is merged into a definition file
    Pruning,      // outdated definitions are taken out (entry counts up)
    Installed,    // new definitions are in place; text is the new date as shown
    Finished,     // text is the closing message ("updated" or "already recent")
};

struct UpdateProgress {
    UpdatePhase phase = UpdatePhase::Connecting;
    std::string text;    // the status line as shown
    uint64_t count = 0;  // Downloading: bytes so far; Pruning: the entry checked
};

enum class NoticeKind { Info, Warning, Error };

// Something the person should read that needs no answer: a location that could not be read,
// a step that failed, a recovery done at start.
struct Notice {
    NoticeKind kind = NoticeKind::Info;
    std::string text;
};

}  // namespace vedozer
