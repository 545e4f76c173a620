// The remove command, the removal run, its passes over the work lists and the settling of what
// each item came to.
#include "definitions/DefinitionFiles.h"
#include "i18n/MessageKeys.h"
#include "removal/Removal.h"
#include "removal/RemovalPass.h"
#include "removal/RemovalText.h"
#include "removal/WorkListChecks.h"
#include "settings/SettingsKeys.h"
#include "text/GeneralDate.h"
#include "text/Text.h"

namespace vedozer {

size_t RemovalResult::notRemoved() const {
    size_t n = 0;
    for (const auto& d : items) n += d.outcome.failed();
    return n;
}

Removal::Removal(Platform& platform, Host& host, Languages& messages, Settings& settings, ScanResults& results,
                 std::string programName, std::string dataFolder, RemovalHooks* hooks)
    : m_platform(platform),
      m_host(&host),
      m_messages(messages),
      m_settings(settings),
      m_results(results),
      m_programName(std::move(programName)),
      m_dataFolder(std::move(dataFolder)),
      m_hooks(hooks ? hooks : &m_noHooks),
      m_quarantine(*platform.dataFiles, m_dataFolder, *platform.clock),
      m_restorePoints(platform.systemRestore) {}

void Removal::setHooks(RemovalHooks* hooks) { m_hooks = hooks ? hooks : &m_noHooks; }

std::string Removal::copyList() const { return CopyListText(m_undeletable); }

void Removal::note(const std::string& text) {
    if (m_noteSet.insert(text).second) m_notes.push_back(text);
}

void Removal::showCaption(const std::string& caption) {
    m_progress.caption = caption;
    m_host->onRemovalProgress(m_progress);
}

void Removal::showProgress(size_t done, const std::string& caption, const std::string& item) {
    m_progress.done = done;
    m_progress.percent = m_progress.total ? static_cast<int>(int64_t(done) * 100 / int64_t(m_progress.total)) : 0;
    m_progress.caption = caption;
    m_progress.item = item;
    m_host->onRemovalProgress(m_progress);
}

std::string Removal::confirmationPrompt() {
    // The folder as the person's system names it (a host path on an offline image).
    std::string prompt = message(msg::MSG_CONFIRM1) + "\r\n\r\n" + message(msg::MSG_CONFIRM2) + "\r\n\r\n" +
                         m_quarantine.dataFiles().displayPath(m_quarantine.folder());
    if (!m_restorePoints.IsSystemRestoreAvailable()) return prompt;
    // An offline installation gets copies of its hive files, not a point of Windows System Restore.
    if (m_restorePoints.kind() == RestorePointKind::HiveCopies)
        return prompt + "\r\n\r\n" + message(msg::MSG_CONFIRM_HIVES);
    return prompt + "\r\n\r\n" + message(msg::MSG_CONFIRM3) + "\r\n\r\n" + message(msg::MSG_CONFIRM4);
}

RemovalResult Removal::removeChecked() {
    RemovalResult result;
    if (m_running) {
        result.status = RemovalResult::Status::Busy;
        return result;
    }
    if (m_results.checkedCount() == 0) {
        if (!unattended)
            m_host->ask(m_messages.question(QuestionKind::NothingSelected, msg::MSG_SELECTED, Buttons::Ok,
                                            QuestionIcon::Information));
        result.status = RemovalResult::Status::NothingSelected;
        return result;
    }
    if (m_results.removalList().empty() && m_results.registryDetections().empty() &&
        m_results.foundList().empty()) {
        if (!unattended)
            m_host->ask(m_messages.question(QuestionKind::NothingToRemove, msg::MSG_SORRY2, Buttons::Ok,
                                            QuestionIcon::Information));
        result.status = RemovalResult::Status::NothingToRemove;
        return result;
    }
    if (!unattended &&
        m_host->ask(m_messages.questionWithText(QuestionKind::ConfirmRemoval, confirmationPrompt(), Buttons::YesNo,
                                                QuestionIcon::Question, msg::MSG_REALLY)) != Answer::Yes) {
        result.status = RemovalResult::Status::Declined;
        return result;
    }
    m_undeletable.clear();
    return run();
}

RemovalResult Removal::removeEverythingUnattended() {
    bool before = unattended;
    unattended = true;
    selectAll(m_results);
    RemovalResult result = removeChecked();
    unattended = before;
    return result;
}

RemovalResult Removal::run() {
    RemovalResult result;
    m_running = true;
    m_notes.clear();
    m_noteSet.clear();
    if (!m_quarantine.prepare()) note("The quarantine folder " + m_quarantine.folder() + " cannot be created.");
    m_hooks->removalStarting();
    m_hooks->setBackgroundTimers(false);
    m_progressVisible = true;
    m_progress = RemovalProgress{};
    m_progress.total = m_results.fileDetections().size() + m_results.registryDetections().size() +
                       m_results.cookieDetections().size();

    // "Gathering information...": a short pause so the caption can be seen.
    showCaption(message(msg::MSG_INFORMATION));
    m_host->yield();
    if (gatheringPauseMillis) m_platform.clock->sleepMillis(gatheringPauseMillis);
    m_host->yield();
    showCaption("");

    bool restorePoint = m_restorePoints.IsSystemRestoreAvailable();
    if (restorePoint) {
        showCaption(message(msg::MSG_RESTOREPOINT));
        m_host->yield();
        try {
            if (!m_restorePoints.BeginRestorePoint(m_programName + " Restore Point " +
                                                   generalDateTime(m_platform.clock->now())))
                note("No restore point could be made; the removal went on without one.");
        } catch (const RestorePointError&) {
            // One is open already; the run goes on under it.
        }
    }

    Pass pass;
    auto checked = [](const auto& rows, std::vector<size_t>& indices) {
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].checked) indices.push_back(i);
    };
    checked(m_results.fileDetections(), pass.files);
    checked(m_results.registryDetections(), pass.registry);
    checked(m_results.cookieDetections(), pass.cookies);
    pass.fileOutcomes.resize(pass.files.size(), Outcome::skipped("not tried"));
    pass.registryOutcomes.resize(pass.registry.size(), Outcome::skipped("not tried"));
    pass.cookieOutcomes.resize(pass.cookies.size(), Outcome::skipped("not tried"));
    removalPass(pass);
    pass.retry = true;
    removalPass(pass);
    if (restorePoint) m_restorePoints.EndRestorePoint();

    settle(pass, result);
    showProgress(m_progress.total, "100% " + message(msg::MSG_COMPLETE), "");
    m_hooks->setBackgroundTimers(true);
    m_hooks->removalEnded();
    if (m_settings.getBool(skey::OptionAndSettings, skey::sendAnonymousData, true)) m_hooks->sendAnonymousData();
    m_hooks->statusChanged();
    m_progressVisible = false;
    result.notes = m_notes;
    m_running = false;
    return result;
}

void Removal::removalPass(Pass& pass) {
    const size_t fileCount = m_results.fileDetections().size();
    const size_t registryCount = m_results.registryDetections().size();
    auto caption = [&](size_t index, size_t count) {
        return message(msg::MSG_REMOVING2) + " : " + std::to_string(removalPercent(index + 1, count)) + "% " +
               message(msg::MSG_COMPLETED);
    };
    if (!m_results.removalList().empty()) showCaption(message(msg::MSG_REMOVING));
    for (size_t k = 0; k < pass.files.size(); ++k) {
        if (pass.retry && pass.fileOutcomes[k].status != OutcomeStatus::NotDone) continue;
        const FileWorkRow row = m_results.fileDetections()[pass.files[k]];
        showProgress(pass.files[k] + 1, caption(pass.files[k], fileCount), text::toLower(row.path));
        pass.fileOutcomes[k] = removeFileRow(row);
        m_host->yield();
    }
    for (size_t k = 0; k < pass.registry.size(); ++k) {
        if (pass.retry && pass.registryOutcomes[k].status != OutcomeStatus::NotDone) continue;
        const RegistryWorkRow row = m_results.registryDetections()[pass.registry[k]];
        showProgress(fileCount + pass.registry[k] + 1, caption(pass.registry[k], registryCount),
                     text::toLower(row.keyPath + "\\" + row.valueName));
        pass.registryOutcomes[k] = removeRegistryRow(row);
        m_host->yield();
    }
    for (size_t k = 0; k < pass.cookies.size(); ++k) {
        if (pass.retry && pass.cookieOutcomes[k].status != OutcomeStatus::NotDone) continue;
        const CookieWorkRow row = m_results.cookieDetections()[pass.cookies[k]];
        showProgress(fileCount + registryCount + pass.cookies[k] + 1,
                     caption(pass.cookies[k], m_results.cookieDetections().size()), text::toLower(row.path));
        pass.cookieOutcomes[k] = removeCookieRow(row);
        m_host->yield();
    }
}

Outcome Removal::removeFileRow(const FileWorkRow& row) {
    const std::string e = text::toUpper(FileExtension(row.path));
    if (e == "EXE") return removeExecutableFile(row.path, row.spywareName);
    if (e == "DLL" || e == "OCX") {
        registerServer(row.path, false);
        Outcome library = removeLibraryFile(row.path, row.spywareName);
        if (library.isDone()) return library;
        Outcome again = removeFileOrFolder(row.path, row.spywareName);
        return again.status == OutcomeStatus::Skipped ? library : again;
    }
    return removeFileOrFolder(row.path, row.spywareName);
}

Outcome Removal::removeRegistryRow(const RegistryWorkRow& row) {
    std::string key = text::trim(row.keyPath), value = text::trim(row.valueName);
    auto root = rootKeyFromHandleText(text::trim(row.mainKey));
    if (!root || key.empty()) return Outcome::skipped("not a registry location");
    if (!value.empty()) return deleteRegistryValue(*root, key, value, row.spywareName);
    deleteRegistryValue(*root, key, "", row.spywareName);  // the key's default value, saved on its own
    return deleteRegistryKey(*root, key, row.spywareName);
}

Outcome Removal::removeCookieRow(const CookieWorkRow& row) {
    if (!FileExists(*m_platform.files, row.path)) return Outcome::skipped("no longer there");
    std::string spyware;
    for (const auto& r : m_results.removalList())
        if (r.icon == kIconCookie && r.location == row.path) spyware = r.name;
    return removeCookieFile(row.path, spyware);
}

}  // namespace vedozer
