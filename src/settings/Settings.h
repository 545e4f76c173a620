#pragma once
#include <string>

#include "core/Host.h"
#include "i18n/ProductIdentity.h"
#include "platform/SettingsStore.h"
#include "settings/SettingsError.h"

namespace vedozer {

// The program's settings: a per-user store for options and remembered states, and a
// machine-wide store for a few markers. The application name is always the program name,
// so each branded build keeps its own settings.
class Settings {
public:
    Settings(SettingsStore& store, ProductIdentity identity, Host* host = nullptr);

    const std::string& appName() const { return m_identity.programName; }
    const ProductIdentity& identity() const { return m_identity; }
    // Where the "Permission Denied" question goes; without a host a failed machine-wide
    // save gives up quietly.
    void setHost(Host* host) { m_host = host; }

    // Per-user store. Reads never fail: an absent key yields the default.
    std::string get(const std::string& section, const std::string& key, const std::string& def = "") const;
    // False when the store could not write the value.
    bool save(const std::string& section, const std::string& key, const std::string& value);

    bool getBool(const std::string& section, const std::string& key, bool def) const;
    bool saveCheckBox(const std::string& section, const std::string& key, bool checked);
    // An option pair is always stored as both keys with opposite values.
    bool saveOptionPair(const std::string& section, const std::string& selectedKey,
                        const std::string& otherKey);

    // Machine-wide store. Throws SettingsError for an empty (or blank) application name,
    // section or key, for a value that is not a string and for a section that exists but
    // cannot be opened; an absent key yields the default.
    std::string getMachine(const std::string& app, const std::string& section, const std::string& key,
                           const std::string& def) const;
    // Under the program name, "" when absent.
    std::string getMachine(const std::string& section, const std::string& key) const {
        return getMachine(appName(), section, key, "");
    }

    // Throws SettingsError for empty arguments. When the store refuses the write, asks the
    // "Permission Denied" question (unless the user chose to ignore it before): Retry tries
    // again, Abort gives up, Ignore also stops the question for the future. Returns true
    // when the value was written.
    bool saveMachine(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value);
    bool saveMachine(const std::string& section, const std::string& key, const std::string& value) {
        return saveMachine(appName(), section, key, value);
    }

    // The text of the "Permission Denied" question for a program name.
    static std::string permissionDeniedText(const std::string& programName);
    static constexpr const char* kPermissionDeniedTitle = "Permission Denied";

private:
    SettingsStore& m_store;
    ProductIdentity m_identity;
    Host* m_host;
};

}  // namespace vedozer
