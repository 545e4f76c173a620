#pragma once
#include <map>
#include <string>

#include "platform/SettingsStore.h"

namespace vedozer {

// A settings store that answers some per-user keys from memory for one run (the stage switches
// of a single scan) and passes everything else, and every save, to the real store.
class SettingsOverlay : public SettingsStore {
public:
    explicit SettingsOverlay(SettingsStore& inner) : m_inner(inner) {}
    void override(const std::string& section, const std::string& key, const std::string& value);
    void clearOverrides() { m_overrides.clear(); }

    std::optional<std::string> getUser(const std::string& app, const std::string& section,
                                       const std::string& key) override;
    bool saveUser(const std::string& app, const std::string& section, const std::string& key,
                  const std::string& value) override;
    StoreRead getMachine(const std::string& company, const std::string& app, const std::string& section,
                         const std::string& key) override {
        return m_inner.getMachine(company, app, section, key);
    }
    StoreStatus saveMachine(const std::string& company, const std::string& app, const std::string& section,
                            const std::string& key, const std::string& value) override {
        return m_inner.saveMachine(company, app, section, key, value);
    }

private:
    static std::string keyOf(const std::string& section, const std::string& key);
    SettingsStore& m_inner;
    std::map<std::string, std::string> m_overrides;
};

}  // namespace vedozer
