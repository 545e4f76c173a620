#include "settings/SettingsOverlay.h"

#include "text/Text.h"

namespace vedozer {

std::string SettingsOverlay::keyOf(const std::string& section, const std::string& key) {
    return text::toUpper(section) + '\n' + text::toUpper(key);
}

void SettingsOverlay::override(const std::string& section, const std::string& key, const std::string& value) {
    m_overrides[keyOf(section, key)] = value;
}

std::optional<std::string> SettingsOverlay::getUser(const std::string& app, const std::string& section,
                                                    const std::string& key) {
    auto it = m_overrides.find(keyOf(section, key));
    if (it != m_overrides.end()) return it->second;
    return m_inner.getUser(app, section, key);
}

bool SettingsOverlay::saveUser(const std::string& app, const std::string& section, const std::string& key,
                               const std::string& value) {
    // A save made during the run is the user's choice: it ends the override of that key.
    m_overrides.erase(keyOf(section, key));
    return m_inner.saveUser(app, section, key, value);
}

}  // namespace vedozer
