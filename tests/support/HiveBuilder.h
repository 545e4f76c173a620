#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace vedozer::test {

// One key of a hive to build, with at most one value. Data is as the Registry interface
// carries it: code-page text (with its terminating zero) for the string types, raw bytes
// otherwise; string types are stored as UTF-16LE like a real hive.
struct HiveEntry {
    std::string key;                        // below the hive root, parts separated by "\"; "" = root
    std::optional<std::string> valueName;   // none: only the key; "" = the default value
    uint32_t type = kRegSz;
    std::string data;
};

HiveEntry hiveKey(const std::string& key);
HiveEntry hiveSz(const std::string& key, const std::string& name, const std::string& text);  // adds the zero
HiveEntry hiveExpandSz(const std::string& key, const std::string& name, const std::string& text);
HiveEntry hiveMultiSz(const std::string& key, const std::string& name, const std::vector<std::string>& items);
HiveEntry hiveDword(const std::string& key, const std::string& name, uint32_t number);
HiveEntry hiveQword(const std::string& key, const std::string& name, uint64_t number);
HiveEntry hiveBinary(const std::string& key, const std::string& name, const std::string& bytes);
HiveEntry hiveValue(const std::string& key, const std::string& name, uint32_t type, const std::string& raw);

// Writes a new hive file holding the entries (a later entry with the same key and value name
// replaces the earlier value). Throws std::runtime_error when anything fails.
void buildHive(const std::string& hostPath, const std::vector<HiveEntry>& entries,
               const std::string& rootName = "ROOT", uint32_t minorVersion = 3);

// Little-endian bytes of a number, as REG_DWORD and REG_QWORD data hold them.
std::string dwordBytes(uint32_t number);
std::string qwordBytes(uint64_t number);

}  // namespace vedozer::test
