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

bool Session::restorePointsKeptHere() {
    return m_platform.systemRestore && m_platform.systemRestore->kind() == RestorePointKind::HiveCopies;
}

std::vector<RestorePointInfo> Session::restorePoints() {
    return m_platform.systemRestore ? m_platform.systemRestore->list() : std::vector<RestorePointInfo>{};
}

RestorePointRestore Session::restoreRestorePoint(const std::string& name) {
    RestorePointRestore r;
    SystemRestore* points = m_platform.systemRestore;
    if (!points) {
        r.outcome = Outcome::notDone("this system has no restore points");
        return r;
    }
    std::string error;
    if (points->kind() != RestorePointKind::HiveCopies) {  // the system's own tool puts them back
        points->restore(name, error);
        r.outcome = Outcome::notDone(error);
        return r;
    }
    std::string described;
    for (const auto& p : points->list())
        if (p.name == name) described = p.description.empty() ? p.began : p.description + ", " + p.began;
    if (described.empty()) {
        r.outcome = Outcome::notDone("there is no restore point " + name);
        return r;
    }
    std::string text = "Put the registry back as the restore point " + name + " (" + described +
                       ") saved it? Every hive it holds replaces the hive file as it is now; the hives as they "
                       "are now are first kept in a new restore point, so this can be undone.";
    if (m_host->ask(m_languages.questionWithText(QuestionKind::RestoreRegistry, text, Buttons::YesNo,
                                                 QuestionIcon::Question)) != Answer::Yes) {
        r.outcome = Outcome::skipped("nothing was restored");
        return r;
    }
    if (!points->restore(name, error)) {
        r.outcome = Outcome::notDone(error);
        return r;
    }
    r.keptAside = points->lastKeptAside();
    files().refresh();
    return r;
}

}  // namespace vedozer
