// The session: start-up and shutdown, scanning, the check marks and the status summary.
#include "app/Session.h"

#include "BuildIdentity.h"
#include "i18n/MessageKeys.h"
#include "removal/WorkListChecks.h"
#include "scan/ScanContext.h"
#include "settings/SettingsKeys.h"
#include "submit/Submission.h"
#include "text/Text.h"
#include "update/UpdateTransaction.h"
#include "update/UpdateUrls.h"

namespace vedozer {

Session::Session(Platform& platform, Host& host, ProductIdentity identity)
    : m_platform(platform),
      m_host(&host),
      m_identity(identity),
      m_languages(identity),
      m_overlay(*platform.settingsStore),
      m_settings(m_overlay, identity, &host),
      m_monitor(&host) {
    m_languages.loadDefaultMessages();
    m_results.setListener([this](const ItemFound& found) { m_host->onItemFound(found); });
    ProtectionHooks hooks;
    hooks.sweepContext = [this] {
        return ScanContext(m_platform, m_definitions, m_exclusions, m_safeList, m_settings, m_languages, *m_host,
                           m_shieldStopFlag, m_results, m_shieldCounters, m_shieldMonitor);
    };
    hooks.scanRunning = [this] { return m_scanning; };
    hooks.startScan = [this](bool removeWithoutAsking) {
        ScanRequest request;
        if (removeWithoutAsking) {
            request.then = AfterScan::RemoveEverything;
            request.askFirst = false;
        }
        scan(request);
    };
    hooks.runLiveUpdate = [this] { liveUpdate(); };
    m_protection = std::make_unique<Protection>(m_platform, m_settings, m_languages, *m_host, std::move(hooks));
}

Session::~Session() = default;  // Removal is complete here

void Session::setHost(Host& host) {
    m_host = &host;
    m_settings.setHost(&host);
    m_monitor.setHost(&host);
    m_protection->setHost(host);
    if (m_removal) m_removal->setHost(host);
}

bool Session::startUp(const StartupOptions& options) {
    // Data folder first: everything else lives in it.
    m_definitions.dataFolder = m_platform.dataFolderOverride.empty() ? defaultDataFolder(*m_platform.shellFolders)
                                                                     : m_platform.dataFolderOverride;
    if (options.takeInstanceLock && m_platform.instanceLock &&
        !m_platform.instanceLock->acquire(m_identity.programName))
        return false;
    m_startupProblems.clear();
    loadStartLanguage();
    // A Live Update killed half-way is finished or rolled back before anything reads the files;
    // when that fails the person hears of it (the definitions may be a mix until it is done).
    RecoveryResult recovered = recoverDefinitionUpdate(dataFiles(), dataFolder());
    if (recovered.action == RecoveryAction::Failed) {
        m_startupProblems.push_back("An interrupted definition update could not be finished: " + recovered.error);
        m_host->onNotice(Notice{NoticeKind::Error, m_startupProblems.back()});
    }
    InstallStagedDefinitions(dataFiles(), dataFolder());
    CountDefinitions(dataFiles(), m_definitions);
    LoadExclusions(m_exclusions, dataFiles(), dataFolder());
    m_recordsStatus = options.recordStatus;
    if (m_recordsStatus) {
        m_settings.save(skey::OptionAndSettings, skey::STATUS, "RUNNING");
        m_settings.save(skey::OptionAndSettings, skey::RESTART, "False");
    }
    m_started = true;
    return true;
}

void Session::shutDown() {
    if (!m_started) return;
    if (m_recordsStatus) {
        m_settings.save(skey::OptionAndSettings, skey::RESTART, "False");
        m_settings.save(skey::OptionAndSettings, skey::STATUS, "STOPPED");
    }
    m_started = false;
}

namespace {

// What a removal asks of the session when the front end adds nothing of its own.
class SessionRemovalHooks : public RemovalHooks {
public:
    explicit SessionRemovalHooks(Session& session) : m_session(session) {}
    void setBackgroundTimers(bool on) override { m_session.setBackgroundTimers(on); }
    void sendAnonymousData() override { m_session.sendAnonymousData(); }

private:
    Session& m_session;
};

}  // namespace

Removal& Session::removal() {
    if (!m_removalHooks) {
        m_defaultRemovalHooks = std::make_unique<SessionRemovalHooks>(*this);
        m_removalHooks = m_defaultRemovalHooks.get();
    }
    if (!m_removal) {
        m_removal = std::make_unique<Removal>(m_platform, *m_host, m_languages, m_settings, m_results,
                                              m_identity.programName, dataFolder(), m_removalHooks);
        // Every item quarantined from here on records the system it came from.
        m_removal->quarantine().setTarget(targetIdentity());
    }
    return *m_removal;
}

void Session::setRemovalHooks(RemovalHooks* hooks) {
    m_removalHooks = hooks;
    if (m_removal) m_removal->setHooks(hooks);
}

void Session::applyScanRequest(const ScanRequest& r) {
    if (r.mode == ScanMode::Quick)
        m_settings.saveOptionPair(skey::OptionAndSettings, skey::quickScanMode, skey::completeScanMode);
    if (r.mode == ScanMode::Complete)
        m_settings.saveOptionPair(skey::OptionAndSettings, skey::completeScanMode, skey::quickScanMode);
    auto once = [&](const std::optional<bool>& on, const char* key) {
        if (on) m_overlay.override(skey::OptionAndSettings, key, *on ? "1" : "0");
    };
    once(r.cookies, skey::scanCookies);
    once(r.memory, skey::scanMemory);
    once(r.registry, skey::scanRegistry);
    once(r.writeReport, skey::writeReport);
    once(r.sendAnonymousData, skey::sendAnonymousData);
}

ScanOutcome Session::scan(const ScanRequest& request) {
    ScanOutcome outcome;
    if (removalRunning()) {  // the lists are being worked on
        outcome.run = m_lastScan;
        return outcome;
    }
    applyScanRequest(request);
    ScanContext context(m_platform, m_definitions, m_exclusions, m_safeList, m_settings, m_languages, *m_host,
                        m_stopFlag, m_results, m_counters, m_monitor);
    context.sweepMemory95 = [&] { m_protection->memoryShield().sweepMemory95(context); };
    ScanRunHooks hooks;
    hooks.setBackgroundTimers = [this](bool on) { setBackgroundTimers(on); };
    // The protection timers stay off until an unattended removal after the scan has ended too.
    BackgroundTimers::Hold hold = timers().hold();
    struct Scanning {
        bool& flag;
        explicit Scanning(bool& f) : flag(f) { flag = true; }
        ~Scanning() { flag = false; }
    };
    {
        Scanning scanning(m_scanning);
        m_lastScan = runScan(context, false, hooks);
    }
    outcome.run = m_lastScan;
    outcome.found = m_results.removalList();
    outcome.threats = summarizeThreats(m_results);
    if (!outcome.run.definitionsMissing) keepFindings(outcome.threats);
    // A stopped scan proves nothing, so nothing is done with what it found.
    if (!outcome.run.cancelled && !m_results.removalList().empty()) {
        if (request.then == AfterScan::RemoveEverything) {
            if (request.askFirst) {
                selectAll();
                outcome.removal = removeChecked();
            } else {
                outcome.removal = removal().removeEverythingUnattended();
            }
            applyRemovalOutcomes(outcome.threats, outcome.removal->items);
        } else if (request.then == AfterScan::ExcludeEverything) {
            selectAll();
            outcome.exclusion = excludeChecked();
        }
    }
    // The switches of this request held for the removal that followed too.
    m_overlay.clearOverrides();
    return outcome;
}

bool Session::askToStop(bool shortQuestion) { return RequestStop(*m_host, m_languages, m_stopFlag, shortQuestion); }

void Session::pause() { PauseScan(*m_host, m_languages); }

void Session::select(size_t row, bool checked) { setRemovalRowChecked(m_results, row, checked); }

void Session::selectAll() { vedozer::selectAll(m_results); }

void Session::deselectAll() { vedozer::deselectAll(m_results); }

void Session::reloadDefinitions() { CountDefinitions(dataFiles(), m_definitions); }

std::vector<std::string> Session::missingDefinitionFiles() {
    std::vector<std::string> missing;
    for (const char* name : {kFileDefinitionFile, kRegistryDefinitionFile, kExeDefinitionFile, kBlockedCookiesFile,
                             kDirectoryDefinitionFile}) {
        auto info = dataFiles().lookup(dataFilePath(dataFolder(), name));
        if (!info || info->isDirectory()) missing.push_back(name);
    }
    return missing;
}

StatusSummary Session::statusSummary() {
    StatusSummary s;
    s.definitions = m_definitions;
    s.definitionCount = text::groupDigits(m_definitions.total);
    std::string version = VEDOZER_BUILD_VERSION;
    auto first = version.find('.');
    auto second = version.find('.', first + 1);
    s.version = version.substr(0, second);
    s.definitionsMissing = !missingDefinitionFiles().empty();
    s.definitionDate = s.definitionsMissing ? message(msg::MSG_MISSINGFILES)
                                            : ReadDefinitionDate(dataFiles(), dataFolder()) + " PST";
    s.removedTotal = m_settings.get(skey::Settings, skey::removedTotal, "0");
    s.lastScan = m_settings.get(skey::Settings, skey::lastScan, "Never");
    s.lastCompleteScan = m_settings.get(skey::Settings, skey::lastCompleteScan, "Never");
    s.sendsAnonymousData = anonymousDataEnabled(m_settings);
    return s;
}

}  // namespace vedozer
