#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vedozer {

enum class RootKey { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig, DynData };

// Name of a root key as written in locations ("HKEY_LOCAL_MACHINE").
const char* rootKeyName(RootKey root);
std::optional<RootKey> rootKeyFromName(const std::string& name);

enum RegistryType : uint32_t {
    kRegNone = 0,
    kRegSz = 1,
    kRegExpandSz = 2,
    kRegBinary = 3,
    kRegDword = 4,
    kRegDwordBigEndian = 5,
    kRegLink = 6,
    kRegMultiSz = 7,
    kRegQword = 11,
};

struct RegistryValue {
    uint32_t type = kRegSz;
    std::string data;  // raw bytes as stored (strings in the code page, zero-terminated as stored)
    bool operator==(const RegistryValue&) const = default;
};

struct NamedValue {
    std::string name;
    RegistryValue value;
};

enum class RegStatus { Ok, NotFound, AccessDenied, Error };

constexpr uint32_t kKeyReadWriteMask = 0x3F;  // query, set, create sub key, enumerate, notify, link

class Registry {
public:
    virtual ~Registry() = default;

    virtual RegStatus openKey(RootKey root, const std::string& path, uint32_t accessMask) = 0;
    bool keyExists(RootKey root, const std::string& path) {
        return openKey(root, path, kKeyReadWriteMask) == RegStatus::Ok;
    }
    // An empty name queries the key's default value.
    virtual std::optional<RegistryValue> queryValue(RootKey root, const std::string& path,
                                                    const std::string& name) = 0;
    virtual std::vector<std::string> subKeys(RootKey root, const std::string& path) = 0;
    virtual std::vector<NamedValue> values(RootKey root, const std::string& path) = 0;

    // The same reads with the reason an answer is missing: NotFound when there is no such key or
    // value, Error when it could not be read (a damaged hive, a key whose sub keys cannot be
    // listed), so "absent" and "could not look" are never confused. lastProblem() then says what
    // could not be read. A backend that cannot tell the two apart answers NotFound.
    virtual RegStatus readValue(RootKey root, const std::string& path, const std::string& name, RegistryValue& out) {
        auto value = queryValue(root, path, name);
        if (!value) return RegStatus::NotFound;
        out = std::move(*value);
        return RegStatus::Ok;
    }
    virtual RegStatus listSubKeys(RootKey root, const std::string& path, std::vector<std::string>& out) {
        if (RegStatus s = openKey(root, path, kKeyReadWriteMask); s != RegStatus::Ok) return s;
        out = subKeys(root, path);
        return RegStatus::Ok;
    }
    virtual RegStatus listValues(RootKey root, const std::string& path, std::vector<NamedValue>& out) {
        if (RegStatus s = openKey(root, path, kKeyReadWriteMask); s != RegStatus::Ok) return s;
        out = values(root, path);
        return RegStatus::Ok;
    }
    // What the last failed call could not read or write, for people; empty when not known.
    virtual std::string lastProblem() const { return {}; }

    virtual RegStatus createKey(RootKey root, const std::string& path) = 0;
    // Creates the key when missing.
    virtual RegStatus setValue(RootKey root, const std::string& path, const std::string& name,
                               const RegistryValue& value) = 0;
    virtual RegStatus deleteValue(RootKey root, const std::string& path, const std::string& name) = 0;
    // Deletes the key with all its sub keys.
    virtual RegStatus deleteKeyTree(RootKey root, const std::string& path) = 0;
};

}  // namespace vedozer
