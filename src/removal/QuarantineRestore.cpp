#include "removal/QuarantineRestore.h"

#include "removal/CrossCopy.h"

namespace vedozer {
namespace {

using Status = QuarantineRestoreResult::Status;

QuarantineRestoreResult result(uint64_t id, Status status, std::string message) {
    return {id, status, std::move(message)};
}

QuarantineRestoreResult restoreFile(Quarantine& q, FileSystem& files, const QuarantineEntry& e, bool force) {
    std::string stored = q.storedPath(e.storedName);
    auto source = q.dataFiles().lookup(stored);
    if (!source || source->isDirectory())
        return result(e.id, Status::Failed, "the quarantined copy " + e.storedName + " is missing");
    if (auto there = files.lookup(e.location)) {
        if (there->isDirectory()) return result(e.id, Status::Exists, "a folder is in the way: " + e.location);
        if (!force) return result(e.id, Status::Exists, "a file exists at " + e.location + " (use force to replace it)");
    }
    if (!createFolders(files, parentPath(e.location)))
        return result(e.id, Status::Failed, "cannot create the folder " + parentPath(e.location));
    if (!copyFileAcross(q.dataFiles(), stored, files, e.location, true))
        return result(e.id, Status::Failed, "cannot write " + e.location);
    return result(e.id, Status::Restored, "restored " + e.location);
}

QuarantineRestoreResult restoreFolder(Quarantine& q, FileSystem& files, const QuarantineEntry& e, bool force) {
    std::string stored = q.storedPath(e.storedName);
    if (!q.dataFiles().folderExists(stored))
        return result(e.id, Status::Failed, "the quarantined folder " + e.storedName + " is missing");
    if (auto there = files.lookup(e.location)) {
        if (!there->isDirectory()) return result(e.id, Status::Exists, "a file is in the way: " + e.location);
        if (!force)
            return result(e.id, Status::Exists, "a folder exists at " + e.location + " (use force to merge into it)");
    }
    if (!createFolders(files, e.location)) return result(e.id, Status::Failed, "cannot create " + e.location);
    if (!copyFolderAcross(q.dataFiles(), stored, files, e.location, true))
        return result(e.id, Status::Failed, "not every file could be written back to " + e.location);
    return result(e.id, Status::Restored, "restored " + e.location);
}

QuarantineRestoreResult restoreRegistry(Quarantine& q, Registry& registry, const QuarantineEntry& e, bool force) {
    auto text = q.dataFiles().readAll(q.storedPath(e.storedName), 64u << 20);
    auto backup = text ? parseRegistryBackup(*text) : std::nullopt;
    if (!backup) return result(e.id, Status::Failed, "the saved registry data " + e.storedName + " is missing or damaged");
    std::string where = e.location + (e.kind == QuarantineKind::RegistryValue ? " [" + e.valueName + "]" : "");
    std::string error;
    switch (restoreRegistryBackup(registry, *backup, force, error)) {
        case RestoreOutcome::Restored: return result(e.id, Status::Restored, "restored " + where);
        case RestoreOutcome::Exists:
            return result(e.id, Status::Exists, error + ": " + where + " (use force to replace it)");
        case RestoreOutcome::Failed: break;
    }
    return result(e.id, Status::Failed, error + ": " + where);
}

}  // namespace

QuarantineRestoreResult restoreQuarantined(Quarantine& q, FileSystem& files, Registry& registry, uint64_t id,
                                           bool force) {
    auto e = q.entry(id);
    if (!e) return result(id, Status::NotFound, "no quarantined item has the id " + std::to_string(id));
    if (e->withdrawn) return result(id, Status::Withdrawn, "item " + std::to_string(id) + " was never removed");
    if (!force && fromOtherSystem(*e, q.target()))
        return result(id, Status::OtherSystem,
                      "item " + std::to_string(id) + " came from " + e->target.describe() + ", not from " +
                          q.target().describe() + "; it was not restored (use force to put it here all the same)");
    QuarantineRestoreResult r;
    switch (e->kind) {
        case QuarantineKind::File: r = restoreFile(q, files, *e, force); break;
        case QuarantineKind::Folder: r = restoreFolder(q, files, *e, force); break;
        case QuarantineKind::RegistryValue:
        case QuarantineKind::RegistryKey: r = restoreRegistry(q, registry, *e, force); break;
    }
    if (r.status == Status::Restored) q.markRestored(id);
    return r;
}

std::vector<QuarantineRestoreResult> restoreAllQuarantined(Quarantine& q, FileSystem& files, Registry& registry,
                                                           bool force) {
    // Newest first, undoing in the reverse order of removal: a key comes back before the default
    // value that was deleted from it just before the key itself.
    std::vector<QuarantineRestoreResult> out;
    auto entries = q.entries();
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        if (!it->withdrawn && !it->restored) out.push_back(restoreQuarantined(q, files, registry, it->id, force));
    return out;
}

bool fromOtherSystem(const QuarantineEntry& e, const TargetIdentity& current) {
    return !e.target.empty() && !current.empty() && !sameInstallation(e.target, current);
}

std::vector<std::string> describeQuarantine(const std::vector<QuarantineEntry>& entries) {
    std::vector<std::string> lines;
    for (const auto& e : entries) {
        std::string state = e.withdrawn ? "not removed" : e.restored ? "restored " + e.restoredTime : "quarantined";
        std::string where = e.location;
        if (e.kind == QuarantineKind::RegistryValue) where += " [" + (e.valueName.empty() ? "(Default)" : e.valueName) + "]";
        std::string line = std::to_string(e.id) + "  " + e.time + "  " + quarantineKindName(e.kind) + "  " + state +
                           "  " + where;
        if (!e.spywareName.empty()) line += "  (" + e.spywareName + ")";
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace vedozer
