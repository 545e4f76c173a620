// The session: removal, exclusions, the quarantine and restore points.
#include "app/Session.h"

#include "definitions/DefinitionFiles.h"

namespace vedozer {

ExclusionContext Session::exclusionContext() {
    return ExclusionContext{*m_host, m_languages, dataFiles(), dataFolder(), m_exclusions};
}

RemovalResult Session::removeChecked() { return removal().removeChecked(); }

const std::vector<std::string>& Session::undeletable() { return removal().undeletable(); }

ExclusionResult Session::excludeChecked() {
    ExclusionContext c = exclusionContext();
    return vedozer::excludeChecked(c, m_results);
}

ExclusionResult Session::excludeItems(const std::vector<std::string>& items) {
    ExclusionContext c = exclusionContext();
    return vedozer::excludeItems(c, items);
}

std::optional<std::vector<std::string>> Session::exclusions() { return ReadExclusionEntries(dataFiles(), dataFolder()); }

Outcome Session::removeExclusion(const std::string& entry) {
    ExclusionContext c = exclusionContext();
    return removeExclusionEntry(c, entry);
}

std::string Session::exclusionListPath() { return dataFiles().displayPath(dataFilePath(dataFolder(), kExclusionFile)); }

Outcome Session::openExclusionList() {
    ExclusionContext c = exclusionContext();
    return vedozer::openExclusionList(c, m_platform.shell);
}

std::vector<QuarantineEntry> Session::quarantineItems() { return removal().quarantine().entries(); }

std::vector<QuarantineRestoreResult> Session::restoreQuarantined(const std::vector<uint64_t>& ids, bool force) {
    std::vector<QuarantineRestoreResult> out;
    for (uint64_t id : ids)
        out.push_back(vedozer::restoreQuarantined(removal().quarantine(), files(), *m_platform.registry, id, force));
    return out;
}

std::vector<QuarantineRestoreResult> Session::restoreAllQuarantined(bool force) {
    return vedozer::restoreAllQuarantined(removal().quarantine(), files(), *m_platform.registry, force);
}

std::string Session::quarantineFolderPath() { return dataFiles().displayPath(removal().quarantine().folder()); }

Outcome Session::openQuarantineFolder() {
    ExclusionContext c = exclusionContext();
    return vedozer::openQuarantineFolder(c, m_platform.shell);
}

Outcome Session::openQuarantineLog() {
    const std::string log = removal().quarantine().logPath();
    auto info = dataFiles().lookup(log);
    if (!info || info->isDirectory()) return Outcome::skipped("nothing has been quarantined yet");
    if (!m_platform.shell) return Outcome::notDone("this system has no program to open " + dataFiles().displayPath(log));
    if (!m_platform.shell->open(dataFiles().displayPath(log)))
        return Outcome::notDone(dataFiles().displayPath(log) + " could not be opened");
    return Outcome::done();
}

bool Session::restorePointsKeptHere() {
    return m_platform.systemRestore && m_platform.systemRestore->kind() == RestorePointKind::HiveCopies;
}

std::vector<RestorePointInfo> Session::restorePoints() {
    return m_platform.systemRestore ? m_platform.systemRestore->list() : std::vector<RestorePointInfo>{};
}

Outcome Session::restoreRestorePoint(const std::string& name) {
    m_restorePointKeptAside.clear();
    if (!m_platform.systemRestore) return Outcome::notDone("this system has no restore points");
    std::string error;
    if (!m_platform.systemRestore->restore(name, error)) return Outcome::notDone(error);
    m_restorePointKeptAside = m_platform.systemRestore->lastKeptAside();
    files().refresh();
    return Outcome::done();
}

}  // namespace vedozer
