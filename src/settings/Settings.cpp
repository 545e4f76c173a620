#include "settings/Settings.h"

#include "settings/SettingValues.h"
#include "settings/SettingsKeys.h"
#include "text/Text.h"

namespace vedozer {

namespace {

struct MachinePath {
    std::string company, app, section;
};

// Argument checks shared by machine-wide reads and writes. The path parts are trimmed of
// blanks first, so a blank-only name cannot address the level above the intended one.
MachinePath checkedMachinePath(const std::string& company, const std::string& app, const std::string& section,
                               const std::string& key) {
    MachinePath p{text::trim(company), text::trim(app), text::trim(section)};
    if (p.app.empty()) throw SettingsError("AppName may not be empty");
    if (p.section.empty()) throw SettingsError("Section may not be empty");
    if (key.empty()) throw SettingsError("Key may not be empty");
    return p;
}

}  // namespace

Settings::Settings(SettingsStore& store, ProductIdentity identity, Host* host)
    : m_store(store), m_identity(std::move(identity)), m_host(host) {}

std::string Settings::get(const std::string& section, const std::string& key, const std::string& def) const {
    auto value = m_store.getUser(appName(), section, key);
    return value ? *value : def;
}

bool Settings::save(const std::string& section, const std::string& key, const std::string& value) {
    return m_store.saveUser(appName(), section, key, value);
}

bool Settings::getBool(const std::string& section, const std::string& key, bool def) const {
    return toBool(get(section, key, trueFalse(def)), def);
}

bool Settings::saveCheckBox(const std::string& section, const std::string& key, bool checked) {
    return save(section, key, checkBoxValue(checked));
}

bool Settings::saveOptionPair(const std::string& section, const std::string& selectedKey,
                              const std::string& otherKey) {
    bool a = save(section, selectedKey, trueFalse(true));
    bool b = save(section, otherKey, trueFalse(false));
    return a && b;
}

std::string Settings::getMachine(const std::string& app, const std::string& section, const std::string& key,
                                 const std::string& def) const {
    MachinePath p = checkedMachinePath(m_identity.companyName, app, section, key);
    StoreRead read = m_store.getMachine(p.company, p.app, p.section, key);
    switch (read.status) {
        case StoreStatus::Ok: {
            std::string value = std::move(read.value);
            while (!value.empty() && value.back() == '\0') value.pop_back();
            return value;
        }
        case StoreStatus::NotAString:
            throw SettingsError("Registry data not a string");
        case StoreStatus::OpenFailed:
            throw SettingsError("Could not open registry section");
        default:
            return def;
    }
}

bool Settings::saveMachine(const std::string& app, const std::string& section, const std::string& key,
                           const std::string& value) {
    MachinePath p = checkedMachinePath(m_identity.companyName, app, section, key);
    while (true) {
        if (m_store.saveMachine(p.company, p.app, p.section, key, value) == StoreStatus::Ok) return true;
        if (get(skey::Settings, skey::IgnorePermissionDeniedError) == "1" || !m_host) return false;
        Answer answer = m_host->ask({QuestionKind::PermissionDenied, kPermissionDeniedTitle,
                                     permissionDeniedText(m_identity.programName), Buttons::AbortRetryIgnore,
                                     QuestionIcon::None});
        if (answer == Answer::Retry) continue;
        if (answer == Answer::Ignore) save(skey::Settings, skey::IgnorePermissionDeniedError, "1");
        return false;
    }
}

std::string Settings::permissionDeniedText(const std::string& programName) {
    return programName +
           " requires read/write access to the system registry and hard drive in order to run properly.  "
           "This "
           "user account does not have the proper permissions set.  As a result some or all of your settings "
           "may not be properly saved.  Please contact your system administrator or change the permission "
           "settings for this account." +
           "\r\n\r\n" +
           "If you would like to prevent this error message from being displayed again, please press "
           "'Ignore'.";
}

}  // namespace vedozer
