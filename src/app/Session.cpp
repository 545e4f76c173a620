#include "app/Session.h"

#include "BuildIdentity.h"
#include "i18n/MessageKeys.h"
#include "removal/Removal.h"
#include "scan/ScanContext.h"
#include "submit/Submission.h"
#include "update/UpdateTransaction.h"
#include "update/UpdateUrls.h"
#include "text/Text.h"

namespace vedozer {

Session::Session(Platform& platform, Host& host, ProductIdentity identity)
    : m_platform(platform),
      m_hostPtr(&host),
      m_identity(identity),
      m_languages(identity),
      m_settings(*platform.settingsStore, identity, &host),
      m_progress(&host) {
    m_languages.loadDefaultMessages();
}

Session::~Session() = default;  // Removal is complete here

void Session::setHost(Host& host) {
    m_hostPtr = &host;
    m_settings.setHost(&host);
    m_progress.setHost(&host);
    if (m_removal) m_removal->setHost(host);
}

namespace {

// What a removal asks of the session when the front end adds nothing of its own.
class SessionRemovalHooks : public RemovalHooks {
public:
    explicit SessionRemovalHooks(Session& session) : m_session(session) {}
    void sendAnonymousData() override {
        Platform& p = m_session.platform();
        if (!p.http || !p.processes) return;
        vedozer::sendAnonymousData(*p.http, *p.processes, m_session.settings(), m_session.host(),
                                   definitionServerAddress("", &m_session.settings()));
    }

private:
    Session& m_session;
};

}  // namespace

Removal& Session::removal() {
    if (!m_removalHooks) {
        m_defaultRemovalHooks = std::make_unique<SessionRemovalHooks>(*this);
        m_removalHooks = m_defaultRemovalHooks.get();
    }
    if (!m_removal)
        m_removal = std::make_unique<Removal>(m_platform, *m_hostPtr, m_languages, m_settings, m_results, m_counters,
                                              m_identity.programName, dataFolder(), m_removalHooks);
    return *m_removal;
}

void Session::setRemovalHooks(RemovalHooks* hooks) {
    m_removalHooks = hooks;
    if (m_removal) m_removal->setHooks(hooks);
}

ScanRunState Session::scan(bool unattended) {
    UnattendedRemoval = unattended;
    ScanContext context(m_platform, m_definitions, m_exclusions, m_safeList, m_settings, m_languages, *m_hostPtr,
                        stopFlag, m_results, m_counters, m_progress);
    ScanRunHooks hooks;
    hooks.removeEverything = [this] { removal().removeEverythingUnattended(); };
    m_lastScan = runScan(context, unattended, hooks);
    definitionsMissing = m_lastScan.definitionsMissing;
    UnattendedRemoval = false;
    return m_lastScan;
}

MsgAnswer Session::ask(const std::string& text, MsgButtons buttons, MsgIcon icon) {
    return m_hostPtr->messageBox(text, m_identity.programName, buttons, icon);
}

bool Session::startUp(const StartupOptions& options) {
    // Data folder first: everything else lives in it.
    m_definitions.dataFolder = m_platform.dataFolderOverride.empty() ? defaultDataFolder(*m_platform.shellFolders)
                                                                     : m_platform.dataFolderOverride;
    m_languages.setCurrentLanguage(m_settings.get("Settings", "Language", "English"));
    if (options.takeInstanceLock && m_platform.instanceLock &&
        !m_platform.instanceLock->acquire(m_identity.programName))
        return false;
    // A Live Update killed half-way is finished or rolled back before anything reads the files.
    recoverDefinitionUpdate(dataFiles(), dataFolder());
    InstallStagedDefinitions(dataFiles(), dataFolder());
    CountDefinitions(dataFiles(), m_definitions);
    LoadExclusions(m_exclusions, dataFiles(), dataFolder());
    if (options.recordStatus) {
        m_settings.save("OptionAndSettings", "STATUS", "RUNNING");
        m_settings.save("OptionAndSettings", "RESTART", "False");
    }
    m_started = true;
    return true;
}

void Session::shutDown() {
    if (!m_started) return;
    m_settings.save("OptionAndSettings", "RESTART", "False");
    m_settings.save("OptionAndSettings", "STATUS", "STOPPED");
    m_started = false;
}

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

StatusPage Session::RefreshStatusPage() {
    StatusPage page;
    page.lblDefCount = text::groupDigits(m_definitions.total);
    std::string version = VEDOZER_BUILD_VERSION;
    auto first = version.find('.');
    auto second = version.find('.', first + 1);
    page.lblVersion = version.substr(0, second);
    page.lblDefVersion = definitionsMissing ? message(msg::MSG_MISSINGFILES)
                                            : ReadDefinitionDate(dataFiles(), dataFolder()) + " PST";
    page.lblDefRemoved = m_settings.get("Settings", "lblDefRemoved", "0");
    page.lblLastScan = m_settings.get("Settings", "lblLastScan", "Never");
    page.lblLastFullScan = m_settings.get("Settings", "lblLastFullScan", "Never");
    return page;
}

}  // namespace vedozer
