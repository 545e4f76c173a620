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
// terminating zero, numbers as decimal text).
std::optional<std::string> RegistryValueExists(Registry& registry, RootKey root, const std::string& keyPath,
                                               const std::string& valueName);
// The key opens with read-write access.
bool RegistryKeyExists(Registry& registry, RootKey root, const std::string& keyPath);

}  // namespace vedozer
