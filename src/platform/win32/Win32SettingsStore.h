#pragma once
#include "platform/SettingsStore.h"

namespace vedozer {

// Settings where the classic runtime kept them, so existing installations keep their options:
// per user under HKCU\Software\VB and VBA Program Settings\<app>\<section>, machine-wide under
// HKLM\SOFTWARE\<company>\<app>\<section>.
class Win32SettingsStore : public SettingsStore {
public:
    static constexpr const char* kUserRoot = "Software\\VB and VBA Program Settings";

    std::optional<std::string> getUser(const std::string& app, const std::string& section,
                                       const std::string& key) override;
    bool saveUser(const std::string& app, const std::string& section, const std::string& key,
                  const std::string& value) override;
    StoreRead getMachine(const std::string& company, const std::string& app, const std::string& section,
                         const std::string& key) override;
    StoreStatus saveMachine(const std::string& company, const std::string& app, const std::string& section,
                            const std::string& key, const std::string& value) override;
};

}  // namespace vedozer
