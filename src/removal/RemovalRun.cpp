// The delete command, the removal run and its passes over the work lists.
#include "definitions/DefinitionFiles.h"
#include "i18n/MessageKeys.h"
#include "removal/QuarantineLog.h"
#include "removal/Removal.h"
#include "removal/RemovalText.h"
#include "removal/WorkListChecks.h"
#include "settings/SettingsKeys.h"
#include "text/Text.h"

namespace vedozer {

Removal::Removal(Platform& platform, Host& host, clsLanguages& messages, Settings& settings, ScanResults& results,
                 ScanCounters& counters, std::string programName, std::string dataFolder, RemovalHooks* hooks)
    : m_platform(platform),
      m_host(&host),
      m_messages(messages),
      m_settings(settings),
      m_results(results),
      m_counters(counters),
      m_programName(std::move(programName)),
      m_dataFolder(std::move(dataFolder)),
      m_hooks(hooks ? hooks : &m_noHooks),
      m_quarantine(*platform.dataFiles, m_dataFolder, *platform.clock),
      m_restorePoints(platform.systemRestore) {}

void Removal::setHooks(RemovalHooks* hooks) { m_hooks = hooks ? hooks : &m_noHooks; }

std::string Removal::CopyList() const { return CopyListText(m_problems); }

void Removal::note(const std::string& text) {
    if (m_noteSet.insert(text).second) m_notes.push_back(text);
}

void Removal::setPercentLabel(const std::string& text) {
    m_progress.percentLabel = text;
    m_host->status("lblDeletingPercentageCompleted", text);
}

void Removal::setItemLabel(const std::string& text) {
    m_progress.itemLabel = text;
    m_host->status("lblDeletingCaption", text);
}

void Removal::setBar(int value) {
    m_progress.value = value;
    int percent = m_progress.max > 0 ? static_cast<int>(int64_t(value) * 100 / m_progress.max) : 0;
    m_host->progress("pgbDeleteSpywaresFound", percent);
}

void Removal::setProgressVisible(bool visible) { m_progress.visible = visible; }

std::string Removal::confirmationPrompt() {
    std::string prompt = message(msg::MSG_CONFIRM1) + "\r\n\r\n" + message(msg::MSG_CONFIRM2) + "\r\n\r\n" +
                         m_dataFolder + "\\" + Quarantine::kFolderName;
    if (m_restorePoints.IsSystemRestoreAvailable())
        prompt += "\r\n\r\n" + message(msg::MSG_CONFIRM3) + "\r\n\r\n" + message(msg::MSG_CONFIRM4);
    return prompt;
}

Removal::DeleteOutcome Removal::Command4_Click() {
    if (m_results.checkedCount() == 0) {
        if (!UnattendedRemoval)
            m_host->messageBox(message(msg::MSG_SELECTED), m_programName, MsgButtons::Ok, MsgIcon::Information);
        return DeleteOutcome::NothingSelected;
    }
    if (m_results.removalList().empty() && m_results.lvwRegistryToBeDeleted().empty() &&
        m_results.foundList().empty()) {
        if (!UnattendedRemoval)
            m_host->messageBox(message(msg::MSG_SORRY2), m_programName, MsgButtons::Ok, MsgIcon::Information);
        return DeleteOutcome::NothingToDelete;
    }
    std::string prompt = confirmationPrompt();
    if (!UnattendedRemoval &&
        m_host->messageBox(prompt, message(msg::MSG_REALLY), MsgButtons::YesNo, MsgIcon::Question) != MsgAnswer::Yes)
        return DeleteOutcome::Declined;
    setProgressVisible(true);
    m_problems.clear();
    lblRemove_Click();
    return DeleteOutcome::Removed;
}

Removal::DeleteOutcome Removal::removeEverythingUnattended() {
    bool before = UnattendedRemoval;
    UnattendedRemoval = true;
    m_hooks->showResultsPage();  // cmdRemove
    cmdSelectAll_Click(m_results);
    DeleteOutcome outcome = Command4_Click();
    UnattendedRemoval = before;
    return outcome;
}

void Removal::lblRemove_Click() {
    m_notes.clear();
    m_noteSet.clear();
    if (!m_quarantine.prepare()) note("The quarantine folder " + m_quarantine.folder() + " cannot be created.");
    m_hooks->showResultsPage();
    m_hooks->setRemoveEnabled(false);
    m_hooks->SetBackgroundTimers(false);
    m_hooks->showResultsPage();
    setProgressVisible(true);

    // "Gathering information...": a short pause so the caption can be seen.
    setPercentLabel(message(msg::MSG_INFORMATION));
    m_host->yield();
    if (gatheringPauseMillis) m_platform.clock->sleepMillis(gatheringPauseMillis);
    m_host->yield();
    setPercentLabel("");

    bool restorePoint = m_restorePoints.IsSystemRestoreAvailable();
    if (restorePoint) {
        setPercentLabel(message(msg::MSG_RESTOREPOINT));
        m_host->yield();
        try {
            m_restorePoints.BeginRestorePoint(m_programName + " Restore Point " +
                                              generalDateTime(m_platform.clock->now()));
        } catch (const RestorePointError&) {
            // One is open already; the run goes on under it.
        }
    }
    bFirstRemovalPass = true;
    RemoveCheckedItems();
    bFirstRemovalPass = false;
    RemoveCheckedItems();
    if (restorePoint) m_restorePoints.EndRestorePoint();

    m_results.eraseCheckedRows();
    setItemLabel("");
    setBar(m_progress.max);
    setPercentLabel("100% " + message(msg::MSG_COMPLETE));
    m_hooks->SetBackgroundTimers(true);
    m_hooks->setRemoveEnabled(true);
    addRemovedTotal();
    if (m_settings.getBool(skey::OptionAndSettings, skey::chkSendData, true)) m_hooks->sendAnonymousData();
    m_hooks->RefreshStatusPage();
    setProgressVisible(false);
}

void Removal::addRemovedTotal() {
    // The three found labels: lblRemovePicSoftwareFound and lblSoftwareFound both show the
    // software-found counter, lbltracesFound the traces.
    long long total = leadingNumber(m_settings.get(skey::Settings, skey::lblDefRemoved, "0"));
    total += 2LL * m_counters.softwareFound + m_results.traces();
    m_settings.save(skey::Settings, skey::lblDefRemoved, std::to_string(total));
}

void Removal::RemoveCheckedItems() {
    if (!m_results.removalList().empty()) {
        setProgressVisible(true);
        setPercentLabel(message(msg::MSG_REMOVING));
        m_progress.max = static_cast<int>(m_results.lvwFilesToBeDeleted().size() +
                                          m_results.lvwRegistryToBeDeleted().size() +
                                          m_results.lvwCookiesToDelete().size());
        setBar(0);
    }
    int problems = 0;
    removeFiles(problems);
    removeRegistry();
    removeCookies();
    if (problems > 0) m_hooks->showProblemWindow();
}

void Removal::removeFiles(int& problems) {
    const auto& rows = m_results.lvwFilesToBeDeleted();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (!rows[i].checked) continue;
        const std::string path = rows[i].path, spyware = rows[i].spywareName;
        try {
            setBar(static_cast<int>(i + 1));
            setPercentLabel(message(msg::MSG_REMOVING2) + " : " + std::to_string(removalPercent(i + 1, rows.size())) +
                            "% " + message(msg::MSG_COMPLETED));
            setItemLabel(text::toLower(path));
            std::string e = text::toUpper(FileExtension(path));
            bool library = e == "DLL" || e == "OCX";
            if (library) RegisterServer(path, false);
            if (e == "EXE") RemoveExecutableFile(path, spyware);
            if (library) {
                RemoveLibraryFile(path, spyware);
                RemoveFileOrFolder(path, spyware);
            }
            if (!library && e != "EXE") RemoveFileOrFolder(path, spyware);
        } catch (...) {
            // A failing step is skipped; the next one runs.
        }
        m_host->yield();
        if (!bFirstRemovalPass) {
            try {
                checkSurvivor(i, problems);
            } catch (...) {
            }
        }
    }
}

void Removal::checkSurvivor(size_t row, int& problems) {
    const std::string path = m_results.lvwFilesToBeDeleted()[row].path;
    const std::string spyware = m_results.lvwFilesToBeDeleted()[row].spywareName;
    if (!FileExists(*m_platform.files, path)) return;
    if (text::ifind(path, ".exe") != std::string::npos) RemoveExecutableFile(path, spyware);
    if (!FileExists(*m_platform.files, path)) return;
    m_problems.push_back(path);
    ++problems;
    auto& removal = m_results.removalRows();
    for (auto& r : removal) {
        if (r.name == spyware) {
            r.checked = false;
            break;
        }
    }
    m_results.fileRows()[row].checked = false;
}

void Removal::removeRegistry() {
    const size_t offset = m_results.lvwFilesToBeDeleted().size();
    const auto& rows = m_results.lvwRegistryToBeDeleted();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (!rows[i].checked) continue;
        const RegistryWorkRow row = rows[i];
        try {
            setBar(static_cast<int>(offset + i + 1));
            setPercentLabel(message(msg::MSG_REMOVING2) + " : " + std::to_string(removalPercent(i + 1, rows.size())) +
                            "% " + message(msg::MSG_COMPLETED));
            setItemLabel(text::toLower(row.keyPath + "\\" + row.valueName));
            std::string hive = text::trim(row.mainKey), key = text::trim(row.keyPath),
                        value = text::trim(row.valueName);
            auto root = rootKeyFromHandleText(hive);
            if (!hive.empty() && !key.empty() && root) {
                if (!value.empty()) {
                    DeleteRegistryValue(*root, key, value, row.spywareName);
                } else {
                    DeleteRegistryValue(*root, key, "", row.spywareName);
                    DeleteRegistryKey(*root, key, row.spywareName);
                }
            }
        } catch (...) {
        }
        m_host->yield();
    }
}

void Removal::removeCookies() {
    const size_t offset = m_results.lvwFilesToBeDeleted().size() + m_results.lvwRegistryToBeDeleted().size();
    const auto& rows = m_results.lvwCookiesToDelete();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (!rows[i].checked) continue;
        const std::string path = rows[i].path;
        try {
            setBar(static_cast<int>(offset + i + 1));
            setPercentLabel(message(msg::MSG_REMOVING2) + " : " + std::to_string(removalPercent(i + 1, rows.size())) +
                            "% " + message(msg::MSG_COMPLETED));
            setItemLabel(text::toLower(path));
            std::string spyware;
            for (const auto& r : m_results.removalList())
                if (r.icon == kIconCookie && r.location == path) spyware = r.name;
            if (FileExists(*m_platform.files, path)) RemoveCookieFile(path, spyware);
        } catch (...) {
        }
        m_host->yield();
    }
}

}  // namespace vedozer
