#include "cli/TargetAdvice.h"

#include <filesystem>

namespace vedozer::cli {

std::string adviceForTarget(const std::string& target) {
    if (target.empty()) return "";
    std::string root = nearestDriveRoot(target);
    std::error_code ec;
    if (root.empty() || std::filesystem::equivalent(std::filesystem::path(root), std::filesystem::path(target), ec))
        return "";
    return "\n--target must be the drive root of the installation (the folder that holds Windows); the nearest "
           "folder that looks like one is " + root + "\n  try: --target '" + root + "'";
}

}  // namespace vedozer::cli
