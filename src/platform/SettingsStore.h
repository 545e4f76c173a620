#pragma once
#include <optional>
#include <string>

namespace vedozer {

enum class StoreStatus { Ok, NotFound, NotAString, OpenFailed, WriteFailed };

struct StoreRead {
    StoreStatus status = StoreStatus::NotFound;
    std::string value;
};

// Raw string stores; the rules on top of them live in the settings module.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::optional<std::string> getUser(const std::string& app, const std::string& section,
                                               const std::string& key) = 0;
    virtual bool saveUser(const std::string& app, const std::string& section, const std::string& key,
                          const std::string& value) = 0;
    virtual StoreRead getMachine(const std::string& company, const std::string& app,
                                 const std::string& section, const std::string& key) = 0;
    virtual StoreStatus saveMachine(const std::string& company, const std::string& app,
                                    const std::string& section, const std::string& key,
                                    const std::string& value) = 0;
};

}  // namespace vedozer
