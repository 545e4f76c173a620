#pragma once
#include <string>

namespace vedozer::cli {

// The host folder nearest to `folder` that looks like a system drive root (it holds a Windows or
// WINNT folder): the folder itself, one of its parents (given C/Windows, that is C), or a folder
// a few levels below it (given the folder an image was copied to, that is its C). "" when none.
std::string nearestDriveRoot(const std::string& folder);

// What to add to the error about a --target that is no drive root: "" when nothing helps.
std::string adviceForTarget(const std::string& target);

}  // namespace vedozer::cli
