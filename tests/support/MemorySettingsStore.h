#pragma once
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/SettingsStore.h"
#include "text/Text.h"

namespace vedozer::test {

// Settings kept in memory, names compared without regard to case. Machine-wide calls can
// be made to fail: the next N writes, or every read, with a chosen status.
class MemorySettingsStore : public SettingsStore {
public:
    std::optional<std::string> getUser(const std::string& app, const std::string& section,
                                       const std::string& key) override {
        ++userReads;
        userCalls.push_back("get " + section + "/" + key);
        auto it = m_user.find(id(app, section, key));
        if (it == m_user.end()) return std::nullopt;
        return it->second;
    }
    bool saveUser(const std::string& app, const std::string& section, const std::string& key,
                  const std::string& value) override {
        userWrites.push_back({app, section, key, value});
        userCalls.push_back("save " + section + "/" + key + "=" + value);
        if (failUserWrites) return false;
        m_user[id(app, section, key)] = value;
        return true;
    }
    StoreRead getMachine(const std::string& company, const std::string& app, const std::string& section,
                         const std::string& key) override {
        machineReads.push_back({company + "|" + app, section, key, ""});
        if (machineReadStatus) return {*machineReadStatus, ""};
        auto it = m_machine.find(id(company + "\\" + app, section, key));
        if (it == m_machine.end()) return {StoreStatus::NotFound, ""};
        return {StoreStatus::Ok, it->second};
    }
    StoreStatus saveMachine(const std::string& company, const std::string& app, const std::string& section,
                            const std::string& key, const std::string& value) override {
        machineWrites.push_back({company + "|" + app, section, key, value});
        if (failingMachineWrites > 0) {
            --failingMachineWrites;
            return StoreStatus::WriteFailed;
        }
        m_machine[id(company + "\\" + app, section, key)] = value;
        return StoreStatus::Ok;
    }

    // Direct access for test set-up and checks.
    void putUser(const std::string& app, const std::string& section, const std::string& key,
                 const std::string& value) {
        m_user[id(app, section, key)] = value;
    }
    std::optional<std::string> user(const std::string& app, const std::string& section,
                                    const std::string& key) const {
        auto it = m_user.find(id(app, section, key));
        return it == m_user.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    void putMachine(const std::string& company, const std::string& app, const std::string& section,
                    const std::string& key, const std::string& value) {
        m_machine[id(company + "\\" + app, section, key)] = value;
    }
    std::optional<std::string> machine(const std::string& company, const std::string& app,
                                       const std::string& section, const std::string& key) const {
        auto it = m_machine.find(id(company + "\\" + app, section, key));
        return it == m_machine.end() ? std::nullopt : std::optional<std::string>(it->second);
    }

    struct Write {
        std::string app, section, key, value;  // app is "company|app" for machine-wide calls
    };
    std::vector<Write> userWrites;
    std::vector<Write> machineWrites;
    std::vector<Write> machineReads;
    int userReads = 0;
    std::vector<std::string> userCalls;  // "get Section/key" and "save Section/key=value", in order
    bool failUserWrites = false;
    int failingMachineWrites = 0;                  // this many next machine-wide writes fail
    std::optional<StoreStatus> machineReadStatus;  // when set, every machine-wide read answers it

private:
    using Id = std::tuple<std::string, std::string, std::string>;
    static Id id(const std::string& a, const std::string& s, const std::string& k) {
        return {text::toUpper(a), text::toUpper(s), text::toUpper(k)};
    }
    std::map<Id, std::string> m_user;
    std::map<Id, std::string> m_machine;
};

}  // namespace vedozer::test
