#include "platform/win32/Win32SettingsStore.h"

#include <windows.h>

namespace vedozer {
namespace {

bool usableName(const std::string& s) { return !s.empty() && s.find('\0') == std::string::npos; }

std::string userKey(const std::string& app, const std::string& section) {
    return std::string(Win32SettingsStore::kUserRoot) + "\\" + app + "\\" + section;
}

std::string machineKey(const std::string& company, const std::string& app, const std::string& section) {
    return "SOFTWARE\\" + company + "\\" + app + "\\" + section;
}

bool writeString(HKEY root, const std::string& path, const std::string& key, const std::string& value) {
    HKEY h = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &h,
                        nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExA(h, key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>(value.size() + 1));
    RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

}  // namespace

std::optional<std::string> Win32SettingsStore::getUser(const std::string& app, const std::string& section,
                                                       const std::string& key) {
    if (!usableName(app) || !usableName(section)) return std::nullopt;
    HKEY h = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, userKey(app, section).c_str(), 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0, size = 0;
    std::optional<std::string> out;
    if (RegQueryValueExA(h, key.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
        std::string data(size, '\0');
        if (RegQueryValueExA(h, key.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) ==
            ERROR_SUCCESS) {
            data.resize(size);
            while (!data.empty() && data.back() == '\0') data.pop_back();
            out = std::move(data);
        }
    }
    RegCloseKey(h);
    return out;
}

bool Win32SettingsStore::saveUser(const std::string& app, const std::string& section, const std::string& key,
                                  const std::string& value) {
    if (!usableName(app) || !usableName(section) || value.find('\0') != std::string::npos) return false;
    return writeString(HKEY_CURRENT_USER, userKey(app, section), key, value);
}

StoreRead Win32SettingsStore::getMachine(const std::string& company, const std::string& app,
                                         const std::string& section, const std::string& key) {
    if (!usableName(company) || !usableName(app) || !usableName(section)) return {StoreStatus::OpenFailed, ""};
    HKEY h = nullptr;
    LONG rc = RegOpenKeyExA(HKEY_LOCAL_MACHINE, machineKey(company, app, section).c_str(), 0, KEY_QUERY_VALUE, &h);
    if (rc == ERROR_FILE_NOT_FOUND) return {StoreStatus::NotFound, ""};
    if (rc != ERROR_SUCCESS) return {StoreStatus::OpenFailed, ""};
    StoreRead read;
    DWORD type = 0, size = 0;
    rc = RegQueryValueExA(h, key.c_str(), nullptr, &type, nullptr, &size);
    if (rc != ERROR_SUCCESS) {
        read.status = StoreStatus::NotFound;
    } else if (type != REG_SZ && type != REG_EXPAND_SZ) {
        read.status = StoreStatus::NotAString;
    } else {
        std::string data(size, '\0');
        rc = RegQueryValueExA(h, key.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
        if (rc == ERROR_SUCCESS) {
            data.resize(size);
            read = {StoreStatus::Ok, std::move(data)};
        } else {
            read.status = StoreStatus::OpenFailed;
        }
    }
    RegCloseKey(h);
    return read;
}

StoreStatus Win32SettingsStore::saveMachine(const std::string& company, const std::string& app,
                                            const std::string& section, const std::string& key,
                                            const std::string& value) {
    if (!usableName(company) || !usableName(app) || !usableName(section) || value.find('\0') != std::string::npos)
        return StoreStatus::WriteFailed;
    return writeString(HKEY_LOCAL_MACHINE, machineKey(company, app, section), key, value) ? StoreStatus::Ok
                                                                                            : StoreStatus::WriteFailed;
}

}  // namespace vedozer
