#pragma once
#include <optional>
#include <string>

#include "platform/Registry.h"
#include "scan/ScanContext.h"

namespace vedozer {

// Checks each key and value of RegistryDefinition.dat against the registry.
void ScanRegistryDefinitions(ScanContext& ctx);

// A value counts when its key opens with read-write access (0x3F) and it holds a string,
// an expandable string or a 32-bit number; its data comes back (strings without their
// terminating zero, numbers as decimal text). When the registry could not be read there,
// `unreadable` (if given) gets what could not be read.
std::optional<std::string> RegistryValueExists(Registry& registry, RootKey root, const std::string& keyPath,
                                               const std::string& valueName, std::string* unreadable = nullptr);
// The key opens with read-write access; `unreadable` as above.
bool RegistryKeyExists(Registry& registry, RootKey root, const std::string& keyPath,
                       std::string* unreadable = nullptr);

}  // namespace vedozer
