#include "platform/win32/Win32Registry.h"

#include <windows.h>
#include <shlwapi.h>

namespace vedozer {
namespace {

HKEY rootHandle(RootKey root) {
    switch (root) {
        case RootKey::ClassesRoot: return HKEY_CLASSES_ROOT;
        case RootKey::CurrentUser: return HKEY_CURRENT_USER;
        case RootKey::LocalMachine: return HKEY_LOCAL_MACHINE;
        case RootKey::Users: return HKEY_USERS;
        case RootKey::CurrentConfig: return HKEY_CURRENT_CONFIG;
        case RootKey::DynData: return HKEY_DYN_DATA;
    }
    return nullptr;
}

RegStatus statusOf(LONG rc) {
    switch (rc) {
        case ERROR_SUCCESS: return RegStatus::Ok;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND: return RegStatus::NotFound;
        case ERROR_ACCESS_DENIED: return RegStatus::AccessDenied;
        default: return RegStatus::Error;
    }
}

// An open key, closed on scope exit.
struct Key {
    HKEY h = nullptr;
    LONG rc = ERROR_INVALID_HANDLE;
    Key(RootKey root, const std::string& path, REGSAM mask) {
        rc = RegOpenKeyExA(rootHandle(root), path.empty() ? nullptr : path.c_str(), 0, mask, &h);
        if (rc != ERROR_SUCCESS) h = nullptr;
    }
    ~Key() {
        if (h) RegCloseKey(h);
    }
    explicit operator bool() const { return h != nullptr; }
};

}  // namespace

RegStatus Win32Registry::openKey(RootKey root, const std::string& path, uint32_t accessMask) {
    Key key(root, path, accessMask);
    return statusOf(key.rc);
}

RegStatus Win32Registry::failed(long rc, RootKey root, const std::string& path, const std::string& what) {
    RegStatus s = statusOf(rc);
    if (s == RegStatus::Ok) s = RegStatus::Error;
    std::string where = std::string(rootKeyName(root)) + (path.empty() ? "" : "\\" + path);
    m_lastProblem = where + ": " + what + " could not be read (" +
                    (s == RegStatus::AccessDenied ? std::string("access denied") : "error " + std::to_string(rc)) + ")";
    return s;
}

RegStatus Win32Registry::readValue(RootKey root, const std::string& path, const std::string& name,
                                   RegistryValue& out) {
    m_lastProblem.clear();
    Key key(root, path, KEY_QUERY_VALUE);
    if (!key) return statusOf(key.rc) == RegStatus::NotFound ? RegStatus::NotFound : failed(key.rc, root, path, "the key");
    const std::string what = name.empty() ? std::string("the default value") : "the value \"" + name + "\"";
    DWORD type = 0, size = 0;
    LONG rc = RegQueryValueExA(key.h, name.c_str(), nullptr, &type, nullptr, &size);
    for (int attempt = 0; attempt < 4 && rc == ERROR_SUCCESS; ++attempt) {
        std::string data(size, '\0');
        DWORD got = size;
        rc = RegQueryValueExA(key.h, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &got);
        if (rc == ERROR_SUCCESS) {
            data.resize(got);
            out = RegistryValue{type, std::move(data)};
            return RegStatus::Ok;
        }
        if (rc == ERROR_MORE_DATA) {  // grew in between
            size = got;
            rc = ERROR_SUCCESS;
        }
    }
    if (statusOf(rc) == RegStatus::NotFound) return RegStatus::NotFound;
    return failed(rc == ERROR_SUCCESS ? ERROR_MORE_DATA : rc, root, path, what);
}

std::optional<RegistryValue> Win32Registry::queryValue(RootKey root, const std::string& path,
                                                       const std::string& name) {
    RegistryValue value;
    if (readValue(root, path, name, value) != RegStatus::Ok) return std::nullopt;
    return value;
}

RegStatus Win32Registry::listSubKeys(RootKey root, const std::string& path, std::vector<std::string>& out) {
    m_lastProblem.clear();
    out.clear();
    Key key(root, path, KEY_ENUMERATE_SUB_KEYS);
    if (!key) return statusOf(key.rc) == RegStatus::NotFound ? RegStatus::NotFound : failed(key.rc, root, path, "the key");
    for (DWORD i = 0;; ++i) {
        char name[256];  // a key name has at most 255 characters
        DWORD len = sizeof name;
        LONG rc = RegEnumKeyExA(key.h, i, name, &len, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_NO_MORE_ITEMS) return RegStatus::Ok;
        if (rc != ERROR_SUCCESS) return failed(rc, root, path, "its sub keys");
        out.emplace_back(name, len);
    }
}

std::vector<std::string> Win32Registry::subKeys(RootKey root, const std::string& path) {
    std::vector<std::string> out;
    listSubKeys(root, path, out);
    return out;
}

RegStatus Win32Registry::listValues(RootKey root, const std::string& path, std::vector<NamedValue>& out) {
    m_lastProblem.clear();
    out.clear();
    Key key(root, path, KEY_QUERY_VALUE);
    if (!key) return statusOf(key.rc) == RegStatus::NotFound ? RegStatus::NotFound : failed(key.rc, root, path, "the key");
    DWORD maxName = 0, maxData = 0;
    LONG info = RegQueryInfoKeyA(key.h, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName,
                                 &maxData, nullptr, nullptr);
    if (info != ERROR_SUCCESS) return failed(info, root, path, "its values");
    std::string name(maxName + 2, '\0');
    std::string data(maxData + 2, '\0');
    for (DWORD i = 0;; ++i) {
        DWORD nameLen = static_cast<DWORD>(name.size()), dataLen = static_cast<DWORD>(data.size()), type = 0;
        LONG rc = RegEnumValueA(key.h, i, name.data(), &nameLen, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                                &dataLen);
        if (rc == ERROR_MORE_DATA) {  // changed since the size query: grow and read this one again
            if (name.size() > (1u << 20) || data.size() > (1u << 30)) return failed(rc, root, path, "its values");
            name.resize(name.size() * 2 + 256);
            data.resize(data.size() * 2 + 1024);
            --i;
            continue;
        }
        if (rc == ERROR_NO_MORE_ITEMS) return RegStatus::Ok;
        if (rc != ERROR_SUCCESS) return failed(rc, root, path, "its values");
        out.push_back({std::string(name.data(), nameLen), RegistryValue{type, std::string(data.data(), dataLen)}});
    }
}

std::vector<NamedValue> Win32Registry::values(RootKey root, const std::string& path) {
    std::vector<NamedValue> out;
    listValues(root, path, out);
    return out;
}

RegStatus Win32Registry::createKey(RootKey root, const std::string& path) {
    HKEY h = nullptr;
    LONG rc = RegCreateKeyExA(rootHandle(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                              nullptr, &h, nullptr);
    if (rc == ERROR_SUCCESS) RegCloseKey(h);
    return statusOf(rc);
}

RegStatus Win32Registry::setValue(RootKey root, const std::string& path, const std::string& name,
                                  const RegistryValue& value) {
    HKEY h = nullptr;
    LONG rc = RegCreateKeyExA(rootHandle(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                              nullptr, &h, nullptr);
    if (rc != ERROR_SUCCESS) return statusOf(rc);
    rc = RegSetValueExA(h, name.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(value.data.data()),
                        static_cast<DWORD>(value.data.size()));
    RegCloseKey(h);
    return statusOf(rc);
}

RegStatus Win32Registry::deleteValue(RootKey root, const std::string& path, const std::string& name) {
    Key key(root, path, KEY_SET_VALUE);
    if (!key) return statusOf(key.rc);
    return statusOf(RegDeleteValueA(key.h, name.c_str()));
}

RegStatus Win32Registry::deleteKeyTree(RootKey root, const std::string& path) {
    if (path.empty()) return RegStatus::Error;  // never a whole root
    return statusOf(static_cast<LONG>(SHDeleteKeyA(rootHandle(root), path.c_str())));
}

}  // namespace vedozer
