// After the passes: what each item came to, checked on the system, and the lists and total that follow.
#include "definitions/DefinitionFiles.h"
#include "removal/Removal.h"
#include "removal/RemovalPass.h"
#include "removal/RemovalText.h"
#include "scan/ThreatSummary.h"
#include "settings/SettingsKeys.h"
#include "text/Text.h"

namespace vedozer {

namespace {

// What the item came to: only what is gone from the system counts as removed.
Outcome verdict(const Outcome& attempt, bool stillThere) {
    if (stillThere)
        return Outcome::notDone(attempt.failed() ? attempt.reason : "still there after the removal");
    if (attempt.status == OutcomeStatus::Skipped) return attempt;
    return Outcome::done();
}

}  // namespace

void Removal::settle(Pass& pass, RemovalResult& result) {
    FileSystem& files = *m_platform.files;
    Registry* registry = m_platform.registry;
    // A row that stays takes the removal-list rows it belongs to with it, unchecked.
    auto keepThreat = [&](auto belongs) {
        auto& threats = m_results.removalRows();
        for (auto& t : threats)
            if (belongs(t)) t.checked = false;
    };
    auto report = [&](DetectionKind kind, const std::string& name, const std::string& location, Outcome outcome) {
        if (outcome.failed()) m_undeletable.push_back(location);
        Detection d{kind, name, location, std::move(outcome)};
        m_host->onItemRemoved(ItemRemoved{d});
        result.items.push_back(std::move(d));
    };

    for (size_t k = 0; k < pass.files.size(); ++k) {
        FileWorkRow& row = m_results.fileRows()[pass.files[k]];
        bool folder = !FileExists(files, row.path) && files.folderExists(row.path);
        bool stillThere = folder || FileExists(files, row.path);
        Outcome outcome = verdict(pass.fileOutcomes[k], stillThere);
        if (outcome.failed()) {
            row.checked = false;
            keepThreat([&](const ThreatRecord& t) {
                return t.name == row.spywareName || (t.icon == kIconFolder && t.location == row.path);
            });
        }
        report(folder ? DetectionKind::Folder : DetectionKind::File, row.spywareName, row.path, std::move(outcome));
    }
    for (size_t k = 0; k < pass.registry.size(); ++k) {
        RegistryWorkRow& row = m_results.registryRows()[pass.registry[k]];
        auto root = rootKeyFromHandleText(text::trim(row.mainKey));
        std::string key = text::trim(row.keyPath), value = text::trim(row.valueName);
        bool stillThere = false;
        if (root && registry && !key.empty())
            stillThere = value.empty() ? registry->keyExists(*root, key)
                                       : static_cast<bool>(registry->queryValue(*root, key, value));
        Outcome outcome = verdict(pass.registryOutcomes[k], stillThere);
        if (outcome.failed()) {
            row.checked = false;
            keepThreat([&](const ThreatRecord& t) { return t.name == row.spywareName || t.name == row.keyPath; });
        }
        report(value.empty() ? DetectionKind::RegistryKey : DetectionKind::RegistryValue, row.spywareName,
               registryDetectionLocation(row), std::move(outcome));
    }
    for (size_t k = 0; k < pass.cookies.size(); ++k) {
        CookieWorkRow& row = m_results.cookieRows()[pass.cookies[k]];
        Outcome outcome = verdict(pass.cookieOutcomes[k], FileExists(files, row.path));
        std::string name;
        for (const auto& t : m_results.removalList())
            if (t.icon == kIconCookie && t.location == row.path) name = t.name;
        if (outcome.failed()) {
            row.checked = false;
            keepThreat([&](const ThreatRecord& t) { return t.icon == kIconCookie && t.location == row.path; });
        }
        report(DetectionKind::Cookie, name, row.path, std::move(outcome));
    }

    // What goes now is exactly what was removed: the checked rows.
    int64_t removedThreats = static_cast<int64_t>(m_results.checkedCount()), removedTraces = 0;
    for (const auto& f : m_results.fileDetections()) removedTraces += f.checked;
    for (const auto& r : m_results.registryDetections()) removedTraces += r.checked;
    m_results.eraseCheckedRows();
    addRemovedTotal(removedThreats, removedTraces);
    if (!m_undeletable.empty())
        m_host->onNotice(Notice{NoticeKind::Warning, std::to_string(m_undeletable.size()) +
                                                         " item(s) could not be removed and are still listed."});
}

void Removal::addRemovedTotal(int64_t removedThreats, int64_t removedTraces) {
    // Each removed spyware name counts twice (it is shown on two counters), each trace once.
    long long total = leadingNumber(m_settings.get(skey::Settings, skey::removedTotal, "0"));
    total += 2 * removedThreats + removedTraces;
    m_settings.save(skey::Settings, skey::removedTotal, std::to_string(total));
}

}  // namespace vedozer
