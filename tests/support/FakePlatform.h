#pragma once
// Doubles of the remaining platform interfaces, for unit tests of the engine.
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "platform/Clock.h"
#include "platform/ComServer.h"
#include "platform/Http.h"
#include "platform/InstanceLock.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"
#include "platform/SystemRestore.h"
#include "text/Text.h"

namespace vedozer::test {

// Keys and values in memory; key paths and value names compared without regard to case.
class MemoryRegistry : public Registry {
public:
    RegStatus openKey(RootKey root, const std::string& path, uint32_t) override {
        return m_keys.count(id(root, path)) ? RegStatus::Ok : RegStatus::NotFound;
    }
    std::optional<RegistryValue> queryValue(RootKey root, const std::string& path, const std::string& name) override {
        auto k = m_keys.find(id(root, path));
        if (k == m_keys.end()) return std::nullopt;
        auto v = k->second.find(text::toUpper(name));
        if (v == k->second.end()) return std::nullopt;
        return v->second.value;
    }
    std::vector<std::string> subKeys(RootKey root, const std::string& path) override {
        std::vector<std::string> out;
        std::string prefix = id(root, path) + (path.empty() ? "" : "\\");
        for (const auto& [key, values] : m_keys) {
            if (key.size() <= prefix.size() || key.compare(0, prefix.size(), prefix) != 0) continue;
            std::string rest = key.substr(prefix.size());
            if (rest.find('\\') == std::string::npos) out.push_back(m_names.at(key));
        }
        return out;
    }
    std::vector<NamedValue> values(RootKey root, const std::string& path) override {
        std::vector<NamedValue> out;
        auto k = m_keys.find(id(root, path));
        if (k != m_keys.end())
            for (const auto& [upper, v] : k->second) out.push_back({v.name, v.value});
        return out;
    }
    RegStatus createKey(RootKey root, const std::string& path) override {
        std::string sofar;
        for (const auto& part : text::split(path, "\\")) {
            sofar += (sofar.empty() ? "" : "\\") + part;
            m_keys[id(root, sofar)];
            m_names[id(root, sofar)] = part;
        }
        m_keys[id(root, "")];
        return RegStatus::Ok;
    }
    RegStatus setValue(RootKey root, const std::string& path, const std::string& name,
                       const RegistryValue& value) override {
        if (failWrites) return RegStatus::Error;
        createKey(root, path);
        m_keys[id(root, path)][text::toUpper(name)] = {name, value};
        return RegStatus::Ok;
    }
    RegStatus deleteValue(RootKey root, const std::string& path, const std::string& name) override {
        if (failWrites) return RegStatus::Error;
        auto k = m_keys.find(id(root, path));
        if (k == m_keys.end() || !k->second.erase(text::toUpper(name))) return RegStatus::NotFound;
        return RegStatus::Ok;
    }
    RegStatus deleteKeyTree(RootKey root, const std::string& path) override {
        if (failWrites) return RegStatus::Error;
        if (path.empty() || !m_keys.count(id(root, path))) return RegStatus::NotFound;
        std::string self = id(root, path);
        for (auto it = m_keys.begin(); it != m_keys.end();) {
            bool inside = it->first == self || it->first.compare(0, self.size() + 1, self + "\\") == 0;
            it = inside ? m_keys.erase(it) : std::next(it);
        }
        return RegStatus::Ok;
    }
    bool failWrites = false;

private:
    struct Named {
        std::string name;
        RegistryValue value;
    };
    static std::string id(RootKey root, const std::string& path) {
        return std::to_string(static_cast<int>(root)) + ":" + text::toUpper(path);
    }
    std::map<std::string, std::map<std::string, Named>> m_keys;
    std::map<std::string, std::string> m_names;
};

// Time stands still unless a test moves it; sleeping moves it.
class FixedClock : public Clock {
public:
    LocalTime time{2006, 3, 16, 10, 5, 0, 4};
    uint64_t ms = 0;
    LocalTime now() override { return time; }
    uint64_t millis() override { return ms; }
    void sleepMillis(uint32_t n) override { ms += n; }
};

// Replies by URL; every request is recorded. A URL without a reply fails as unreachable.
class ScriptedHttp : public Http {
public:
    std::map<std::string, HttpResult> replies;
    std::vector<std::string> requests;
    HttpResult get(const std::string& url, const HttpOptions&, const HttpProgress&) override {
        requests.push_back(url);
        auto it = replies.find(url);
        if (it != replies.end()) return it->second;
        HttpResult r;
        r.error = "unreachable";
        return r;
    }
};

class FakeSystemInfo : public SystemInfo {
public:
    OsVersion os;
    std::string system = "C:\\WINDOWS\\system32";
    OsVersion version() override { return os; }
    std::string systemFolder() override { return system; }
};

class RecordingShell : public Shell {
public:
    std::vector<std::string> opened;
    bool succeed = true;
    bool open(const std::string& path) override {
        opened.push_back(path);
        return succeed;
    }
};

class FakeComServer : public ComServer {
public:
    bool available = true;
    std::vector<std::pair<std::string, bool>> calls;  // path, register
    bool isAvailable() override { return available; }
    bool registerServer(const std::string& p) override {
        calls.push_back({p, true});
        return available;
    }
    bool unregisterServer(const std::string& p) override {
        calls.push_back({p, false});
        return available;
    }
};

class FakeSystemRestore : public SystemRestore {
public:
    bool available = true;
    bool refuse = false;  // available, but every begin is refused
    std::vector<std::string> events;
    bool isAvailable() override { return available; }
    bool begin(const std::string& description, uint32_t type, int64_t& sequence) override {
        events.push_back("begin " + description + " type " + std::to_string(type));
        if (refuse) return false;
        sequence = ++m_next;
        return available;
    }
    bool end(int64_t sequence, bool cancel) override {
        events.push_back("end " + std::to_string(sequence) + (cancel ? " cancel" : ""));
        return available;
    }

private:
    int64_t m_next = 0;
};

// One lock per name for all instances sharing a set, like two processes of one user.
class FakeInstanceLock : public InstanceLock {
public:
    explicit FakeInstanceLock(std::set<std::string>& held) : m_held(held) {}
    bool acquire(const std::string& name) override { return m_held.insert(name).second; }

private:
    std::set<std::string>& m_held;
};

}  // namespace vedozer::test
