// Removal of registry values and keys, each saved into the quarantine first.
#include "removal/Removal.h"
#include "removal/RegistryBackup.h"

namespace vedozer {

bool Removal::DeleteRegistryValue(RootKey root, const std::string& key, const std::string& value,
                                  const std::string& spywareName) {
    Registry& registry = *m_platform.registry;
    auto backup = captureRegistryValue(registry, root, key, value);
    if (!backup) return false;  // nothing there to delete
    auto entry = m_quarantine.storeRegistry(*backup, spywareName);
    if (!entry) {
        note(std::string(rootKeyName(root)) + "\\" + key + " [" + value +
             "]: the value could not be saved into the quarantine; it was not deleted.");
        return false;
    }
    if (registry.deleteValue(root, key, value) != RegStatus::Ok) {
        if (registry.queryValue(root, key, value)) m_quarantine.withdraw(*entry);
        return false;
    }
    LogQuarantinedRegistryEntry(std::string(rootKeyName(root)) + "\\" + key, value);
    return true;
}

bool Removal::DeleteRegistryKey(RootKey root, const std::string& key, const std::string& spywareName) {
    Registry& registry = *m_platform.registry;
    auto backup = captureRegistryKey(registry, root, key);
    if (!backup) return false;
    auto entry = m_quarantine.storeRegistry(*backup, spywareName);
    if (!entry) {
        note(std::string(rootKeyName(root)) + "\\" + key +
             ": the key could not be saved into the quarantine; it was not deleted.");
        return false;
    }
    if (registry.deleteKeyTree(root, key) != RegStatus::Ok) {
        // A partly deleted tree keeps its saved copy.
        auto now = captureRegistryKey(registry, root, key);
        if (now && formatRegistryBackup(*now) == formatRegistryBackup(*backup)) m_quarantine.withdraw(*entry);
        return false;
    }
    LogQuarantinedRegistryEntry(rootKeyHandleText(root) + "\\" + key, "All Values");
    return true;
}

}  // namespace vedozer
