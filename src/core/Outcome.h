#pragma once
#include <string>
#include <vector>

namespace vedozer {

// How one step that changes files ended. Never a bare success: an item that was not
// removed (or not written) says so, with the reason.
enum class OutcomeStatus { Done, NotDone, Skipped };

struct Outcome {
    OutcomeStatus status = OutcomeStatus::Done;
    std::string reason;  // why it was not done or skipped; empty when done

    static Outcome done() { return {}; }
    static Outcome notDone(std::string why) { return {OutcomeStatus::NotDone, std::move(why)}; }
    static Outcome skipped(std::string why) { return {OutcomeStatus::Skipped, std::move(why)}; }
    bool isDone() const { return status == OutcomeStatus::Done; }
    bool failed() const { return status == OutcomeStatus::NotDone; }
    bool operator==(const Outcome&) const = default;
};

// What a scan found one trace of.
enum class DetectionKind { Cookie, Process, RegistryValue, RegistryKey, File, Folder };
const char* detectionKindName(DetectionKind kind);  // "cookie", "process", "registry value", ...

// One trace on the system and what became of it.
struct Detection {
    DetectionKind kind = DetectionKind::File;
    std::string spywareName;
    std::string location;  // path, or registry key (and value in brackets)
    Outcome outcome;
    bool operator==(const Detection&) const = default;
};

// The outcome of one item of a list (an exclusion entry, a quarantined copy, a setting).
struct ItemOutcome {
    std::string item;
    Outcome outcome;
};

// True when any item did not get done.
template <class Items>
bool anyFailed(const Items& items) {
    for (const auto& i : items)
        if (i.outcome.failed()) return true;
    return false;
}

}  // namespace vedozer
