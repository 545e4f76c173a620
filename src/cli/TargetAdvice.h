#pragma once
#include <string>

#include "platform/image/DriveRoots.h"

namespace vedozer::cli {

// The folder nearest to a target that looks like a system drive root: the one rule the start
// window of the desktop uses too (platform/image/DriveRoots).
using vedozer::nearestDriveRoot;

// What to add to the error about a --target that is no drive root: "" when nothing helps.
std::string adviceForTarget(const std::string& target);

}  // namespace vedozer::cli
