// Removal of registry values and keys, each saved into the quarantine first.
#include "removal/RegistryBackup.h"
#include "removal/Removal.h"

namespace vedozer {

std::string Removal::registryProblem() const {
    std::string problem = m_platform.registry->lastProblem();
    return problem.empty() ? "the registry refused the change" : "the registry could not be changed: " + problem;
}

Outcome Removal::deleteRegistryValue(RootKey root, const std::string& key, const std::string& value,
                                     const std::string& spywareName) {
    Registry& registry = *m_platform.registry;
    auto backup = captureRegistryValue(registry, root, key, value);
    if (!backup) return Outcome::skipped("no longer there");
    auto entry = m_quarantine.storeRegistry(*backup, spywareName);
    if (!entry) {
        note(std::string(rootKeyName(root)) + "\\" + key + " [" + value +
             "]: the value could not be saved into the quarantine; it was not deleted.");
        return Outcome::notDone("the value could not be saved into the quarantine");
    }
    if (registry.deleteValue(root, key, value) != RegStatus::Ok) {
        std::string why = registryProblem();
        if (registry.queryValue(root, key, value)) m_quarantine.withdraw(*entry);
        return Outcome::notDone(why);
    }
    m_quarantine.logRegistryEntry(std::string(rootKeyName(root)) + "\\" + key, value);
    return Outcome::done();
}

Outcome Removal::deleteRegistryKey(RootKey root, const std::string& key, const std::string& spywareName) {
    Registry& registry = *m_platform.registry;
    auto backup = captureRegistryKey(registry, root, key);
    if (!backup) {
        if (registry.keyExists(root, key))
            return Outcome::notDone("the key could not be read whole, so it was not saved: " + registryProblem());
        return Outcome::skipped("no longer there");
    }
    auto entry = m_quarantine.storeRegistry(*backup, spywareName);
    if (!entry) {
        note(std::string(rootKeyName(root)) + "\\" + key +
             ": the key could not be saved into the quarantine; it was not deleted.");
        return Outcome::notDone("the key could not be saved into the quarantine");
    }
    if (registry.deleteKeyTree(root, key) != RegStatus::Ok) {
        std::string why = registryProblem();
        // A partly deleted tree keeps its saved copy.
        auto now = captureRegistryKey(registry, root, key);
        if (now && formatRegistryBackup(*now) == formatRegistryBackup(*backup)) m_quarantine.withdraw(*entry);
        return Outcome::notDone(why);
    }
    m_quarantine.logRegistryEntry(rootKeyHandleText(root) + "\\" + key, "All Values");
    return Outcome::done();
}

}  // namespace vedozer
