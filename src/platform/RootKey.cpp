#include "platform/Registry.h"

#include <algorithm>
#include <cctype>

namespace vedozer {

const char* rootKeyName(RootKey root) {
    switch (root) {
        case RootKey::ClassesRoot: return "HKEY_CLASSES_ROOT";
        case RootKey::CurrentUser: return "HKEY_CURRENT_USER";
        case RootKey::LocalMachine: return "HKEY_LOCAL_MACHINE";
        case RootKey::Users: return "HKEY_USERS";
        case RootKey::CurrentConfig: return "HKEY_CURRENT_CONFIG";
        case RootKey::DynData: return "HKEY_DYN_DATA";
    }
    return "";
}

std::optional<RootKey> rootKeyFromName(const std::string& name) {
    std::string upper(name);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    for (RootKey k : {RootKey::ClassesRoot, RootKey::CurrentUser, RootKey::LocalMachine, RootKey::Users,
                      RootKey::CurrentConfig, RootKey::DynData}) {
        if (upper == rootKeyName(k)) return k;
    }
    if (upper == "HKCR") return RootKey::ClassesRoot;
    if (upper == "HKCU") return RootKey::CurrentUser;
    if (upper == "HKLM") return RootKey::LocalMachine;
    if (upper == "HKU") return RootKey::Users;
    if (upper == "HKCC") return RootKey::CurrentConfig;
    return std::nullopt;
}

}  // namespace vedozer
