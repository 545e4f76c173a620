// The session: Live Update, submissions, settings, the report and the definitions.
#include "app/Session.h"

#include "i18n/MessageKeys.h"
#include "report/ScanReport.h"
#include "settings/KnownSettings.h"
#include "settings/SettingsError.h"
#include "settings/SettingsKeys.h"
#include "update/UpdateUrls.h"

namespace vedozer {

std::string Session::definitionServer(const std::string& server) { return definitionServerAddress(server, &m_settings); }

LiveUpdateReport Session::liveUpdate(const std::string& server) {
    if (!m_platform.http) {
        LiveUpdateReport report;
        report.outcome = LiveUpdateOutcome::Unreachable;
        report.check.error = "no HTTP client on this system";
        return report;
    }
    LiveUpdateContext live{*m_platform.http, dataFiles(), dataFolder(), *m_host, m_identity, definitionServer(server)};
    BackgroundTimers::Hold hold = timers().hold();
    return RunLiveUpdate(live, m_settings, m_languages, m_definitions);
}

bool Session::sendAnonymousData() {
    if (!m_platform.http || !m_platform.processes) return false;
    return vedozer::sendAnonymousData(*m_platform.http, *m_platform.processes, m_settings, *m_host, definitionServer());
}

Outcome Session::setRunAtStartup(bool on, const ProgramLocation& program) {
    if (!m_platform.registry) return Outcome::notDone("this system has no registry to start programs from");
    if (!m_settings.saveCheckBox(skey::OptionAndSettings, skey::runAtStartup, on))
        return Outcome::notDone("the option could not be saved");
    Outcome written = setRunAtStartupValue(*m_platform.registry, program, on);
    // The option says what the registry holds: a refused change leaves it as it was.
    if (written.failed()) m_settings.saveCheckBox(skey::OptionAndSettings, skey::runAtStartup, !on);
    return written;
}

bool Session::offerFirstUpdate() {
    if (!m_settings.getMachine(skey::Settings, skey::FirstTime).empty()) return false;
    m_settings.saveMachine(skey::Settings, skey::FirstTime, "Yes");
    std::string text = message(msg::MSG_THANK1) + "\r\n\r\n" + message(msg::MSG_THANK2) + "\r\n\r\n" +
                       message(msg::MSG_THANK3);
    return m_host->ask(m_languages.questionWithText(QuestionKind::UpdateNow, text, Buttons::YesNo,
                                                    QuestionIcon::Question, msg::MSG_THANK4)) == Answer::Yes;
}

SubmitResult Session::submit(const std::string& fileName, const std::string& server) {
    if (!m_platform.http) return SubmitResult{false, "", "no HTTP client on this system"};
    return submitFileName(*m_platform.http, *m_host, m_languages, definitionServer(server), fileName);
}

std::optional<std::string> Session::setting(const std::string& section, const std::string& key, SettingScope scope) {
    const std::string absent(1, '\x01');
    std::string value = scope == SettingScope::Machine ? m_settings.getMachine(m_settings.appName(), section, key, absent)
                                                       : m_settings.get(section, key, absent);
    if (value == absent) return std::nullopt;
    return value;
}

Outcome Session::setSetting(const std::string& section, const std::string& key, const std::string& value,
                            SettingScope scope) {
    try {
        bool ok = scope == SettingScope::Machine ? m_settings.saveMachine(section, key, value)
                                                 : m_settings.save(section, key, value);
        return ok ? Outcome::done() : Outcome::notDone("the settings store refused the write");
    } catch (const SettingsError& e) {
        return Outcome::notDone(e.what());
    }
}

namespace {

SettingEntry entryOf(const KnownSetting& k, const std::optional<std::string>& stored) {
    return SettingEntry{k.section, k.key, stored.value_or(k.defaultValue), stored.has_value(), k.meaning,
                        k.name, k.defaultValue, k.kind == SettingKind::Status};
}

}  // namespace

std::vector<SettingEntry> Session::listSettings() {
    std::vector<SettingEntry> out;
    for (const KnownSetting& k : knownSettings()) out.push_back(entryOf(k, setting(k.section, k.key)));
    return out;
}

std::optional<SettingEntry> Session::settingNamed(const std::string& nameOrKey) {
    const KnownSetting* k = findKnownSetting(nameOrKey);
    if (!k) return std::nullopt;
    return entryOf(*k, setting(k->section, k->key));
}

Outcome Session::setSettingNamed(const std::string& nameOrKey, const std::string& value) {
    const KnownSetting* k = findKnownSetting(nameOrKey);
    if (!k) return Outcome::notDone("there is no setting \"" + nameOrKey + "\"");
    std::string error;
    auto stored = storedSettingValue(*k, value, error);
    if (!stored) return Outcome::notDone(error);
    Outcome saved = setSetting(k->section, k->key, *stored);
    // An option pair is always saved as both of its keys.
    if (saved.isDone() && k->pairedKey) saved = setSetting(k->section, k->pairedKey, *stored == "True" ? "False" : "True");
    return saved;
}

bool Session::setSendAnonymousData(bool on) {
    return vedozer::setSendAnonymousData(on, m_settings, m_languages, *m_host);
}

std::optional<std::string> Session::lastReport() {
    return dataFiles().readAll(scanReportPath(dataFolder()), 64u << 20);
}

std::string Session::reportPath() { return dataFiles().displayPath(scanReportPath(dataFolder())); }

Outcome Session::installShippedDefinitions(bool force) {
    const std::string folder = dataFolder();
    if (!dataFiles().folderExists(folder) && !dataFiles().createFolder(folder))
        return Outcome::notDone("the data folder " + dataFiles().displayPath(folder) + " cannot be created");
    if (missingDefinitionFiles().size() < 5 && !force)
        return Outcome::skipped("definitions are already installed in " + dataFiles().displayPath(folder));
    if (!vedozer::installShippedDefinitions(dataFiles(), folder))
        return Outcome::notDone("the definition files could not be written into " + dataFiles().displayPath(folder));
    reloadDefinitions();
    return Outcome::done();
}

}  // namespace vedozer
