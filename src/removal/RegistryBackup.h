#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace vedozer {

// The saved form of a registry value or of a key with its whole subtree, so a removal can be
// undone. Keys are paths relative to the saved key ("" is the key itself), parents before
// children; every key is listed, also those without values.
struct RegistryBackup {
    struct Value {
        std::string keyPath;  // relative
        std::string name;
        RegistryValue value;
    };
    RootKey root = RootKey::LocalMachine;
    std::string keyPath;     // the saved key, below the root
    bool wholeKey = false;   // false: a single value of keyPath
    std::vector<std::string> keys;
    std::vector<Value> values;
};

// Reads one value; empty when it does not exist.
std::optional<RegistryBackup> captureRegistryValue(Registry& registry, RootKey root, const std::string& keyPath,
                                                   const std::string& valueName);
// Reads a key with all its subkeys and values; empty when the key does not exist or a part of
// it could not be read (a partial backup must not pass for a whole one).
std::optional<RegistryBackup> captureRegistryKey(Registry& registry, RootKey root, const std::string& keyPath);

// Text form (CR LF lines, fields separated by tabs, data in hex), ended by an "end" line:
//   vedozer-registry-backup 1
//   root HKEY_LOCAL_MACHINE / key <path> / scope value|key
//   K <relative path>
//   V <relative path> <name> <type> <hex data>
//   end
std::string formatRegistryBackup(const RegistryBackup& backup);
// Empty for text that is not a whole, valid backup.
std::optional<RegistryBackup> parseRegistryBackup(std::string_view text);

enum class RestoreOutcome { Restored, Exists, Failed };

// Writes the backup back. Without force an existing value (or an existing key, for a whole-key
// backup) is left alone and Exists is returned.
RestoreOutcome restoreRegistryBackup(Registry& registry, const RegistryBackup& backup, bool force,
                                     std::string& error);

}  // namespace vedozer
