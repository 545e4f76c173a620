#include "cli/TargetAdvice.h"

#include <deque>
#include <filesystem>

#include "text/Text.h"

namespace vedozer::cli {
namespace {

namespace fs = std::filesystem;

bool looksLikeDriveRoot(const fs::path& dir) {
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        if ((text::iequals(name, "Windows") || text::iequals(name, "WINNT")) && it->is_directory(ec)) return true;
    }
    return false;
}

}  // namespace

std::string nearestDriveRoot(const std::string& folder) {
    std::error_code ec;
    fs::path start = fs::absolute(fs::path(folder), ec).lexically_normal();
    if (ec || !fs::is_directory(start, ec)) return "";
    if (looksLikeDriveRoot(start)) return start.string();
    // Inside an installation: the drive root is a parent.
    fs::path up = start;
    for (int level = 0; level < 6 && up.has_relative_path(); ++level) {
        up = up.parent_path();
        if (looksLikeDriveRoot(up)) return up.string();
    }
    // Above it: a folder below, nearest first; symbolic links are not followed.
    std::deque<std::pair<fs::path, int>> queue{{start, 0}};
    size_t looked = 0;
    while (!queue.empty() && looked < 5000) {
        auto [dir, depth] = queue.front();
        queue.pop_front();
        for (fs::directory_iterator it(dir, ec), end; !ec && it != end && looked < 5000; it.increment(ec)) {
            ++looked;
            if (it->is_symlink(ec) || !it->is_directory(ec)) continue;
            if (looksLikeDriveRoot(it->path())) return it->path().string();
            if (depth + 1 < 3) queue.push_back({it->path(), depth + 1});
        }
    }
    return "";
}

std::string adviceForTarget(const std::string& target) {
    if (target.empty()) return "";
    std::string root = nearestDriveRoot(target);
    std::error_code ec;
    if (root.empty() || fs::equivalent(fs::path(root), fs::path(target), ec)) return "";
    return "\n--target must be the drive root of the installation (the folder that holds Windows); the nearest "
           "folder that looks like one is " + root + "\n  try: --target '" + root + "'";
}

}  // namespace vedozer::cli
