#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "removal/Quarantine.h"

namespace vedozer {

struct QuarantineRestoreResult {
    enum class Status { Restored, Exists, NotFound, Withdrawn, OtherSystem, Failed };
    uint64_t id = 0;
    Status status = Status::Failed;
    std::string message;  // one line for people
};

// Puts one quarantined item back where it was: a file or folder into `files` (the scanned
// system), a registry value or key into `registry`. What exists there now is left alone unless
// force is set; so is an item that came from another installation than the quarantine's current
// target (an item without a recorded system may go anywhere). The copy stays in the quarantine;
// the index notes the restore.
QuarantineRestoreResult restoreQuarantined(Quarantine& quarantine, FileSystem& files, Registry& registry, uint64_t id,
                                           bool force);
// Every entry that is neither withdrawn nor restored yet, newest first. Without force, entries of
// another installation are not touched (each reported as OtherSystem).
std::vector<QuarantineRestoreResult> restoreAllQuarantined(Quarantine& quarantine, FileSystem& files,
                                                           Registry& registry, bool force);

// Whether the entry came from another installation than the current target.
bool fromOtherSystem(const QuarantineEntry& entry, const TargetIdentity& current);

// The lines of `vedozer quarantine list`: one per entry, "id  time  kind  state  location [value]  (spyware)".
std::vector<std::string> describeQuarantine(const std::vector<QuarantineEntry>& entries);

}  // namespace vedozer
