#include "platform/image/DriveRoots.h"

#include <deque>
#include <filesystem>

#include "text/Text.h"

namespace vedozer {

namespace {

namespace fs = std::filesystem;

// The entry of `dir` named `name` in any letter case, when it is a folder.
std::optional<fs::path> childFolder(const fs::path& dir, std::string_view name) {
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (text::iequals(it->path().filename().string(), name) && it->is_directory(ec)) return it->path();
    return std::nullopt;
}

std::optional<fs::path> windowsFolder(const fs::path& dir) {
    if (auto w = childFolder(dir, "Windows")) return w;
    return childFolder(dir, "WINNT");
}

bool holdsFile(const fs::path& dir, std::string_view name) {
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (text::iequals(it->path().filename().string(), name) && it->is_regular_file(ec)) return true;
    return false;
}

// File systems of the kernel's own that never hold an installation.
bool kernelFileSystem(std::string_view type) {
    static const char* kTypes[] = {"proc",    "sysfs",  "devtmpfs", "devpts",   "cgroup", "cgroup2",  "securityfs",
                                   "debugfs", "tracefs", "pstore",  "bpf",      "mqueue", "hugetlbfs", "configfs",
                                   "fusectl", "autofs", "binfmt_misc", "efivarfs", "nsfs", "rpc_pipefs"};
    for (const char* t : kTypes)
        if (type == t) return true;
    return false;
}

std::string unescapeMountField(std::string_view field) {
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            std::string_view digits = field.substr(i + 1, 3);
            if (digits.size() == 3 && digits.find_first_not_of("01234567") == std::string_view::npos) {
                out += static_cast<char>((digits[0] - '0') * 64 + (digits[1] - '0') * 8 + (digits[2] - '0'));
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

bool hasOption(std::string_view options, std::string_view option) {
    for (const std::string& o : text::split(options, ","))
        if (o == option) return true;
    return false;
}

}  // namespace

bool holdsWindowsFolder(const std::string& folder) { return windowsFolder(folder).has_value(); }

bool looksLikeSystemDrive(const std::string& folder) {
    auto windows = windowsFolder(folder);
    if (!windows) return false;
    auto system32 = childFolder(*windows, "System32");
    auto config = system32 ? childFolder(*system32, "config") : std::nullopt;
    return config && (holdsFile(*config, "SOFTWARE") || holdsFile(*config, "SYSTEM"));
}

std::string nearestDriveRoot(const std::string& folder) {
    std::error_code ec;
    fs::path start = fs::absolute(fs::path(folder), ec).lexically_normal();
    if (ec || !fs::is_directory(start, ec)) return "";
    if (start.has_relative_path() && !start.has_filename()) start = start.parent_path();
    if (holdsWindowsFolder(start.string())) return start.string();
    // Inside an installation: the drive root is a parent.
    fs::path up = start;
    for (int level = 0; level < 6 && up.has_relative_path(); ++level) {
        up = up.parent_path();
        if (holdsWindowsFolder(up.string())) return up.string();
    }
    // Above it: a folder below, nearest first, looking at a bounded number of entries.
    std::deque<std::pair<fs::path, int>> queue{{start, 0}};
    size_t looked = 0;
    while (!queue.empty() && looked < 5000) {
        auto [dir, depth] = queue.front();
        queue.pop_front();
        for (fs::directory_iterator it(dir, ec), end; !ec && it != end && looked < 5000; it.increment(ec)) {
            ++looked;
            if (it->is_symlink(ec) || !it->is_directory(ec)) continue;
            if (holdsWindowsFolder(it->path().string())) return it->path().string();
            if (depth + 1 < 3) queue.push_back({it->path(), depth + 1});
        }
    }
    return "";
}

std::string driveRootAdvice(const std::string& target) {
    if (target.empty()) return "";
    std::string root = nearestDriveRoot(target);
    std::error_code ec;
    if (root.empty() || fs::equivalent(fs::path(root), fs::path(target), ec)) return "";
    return "The system drive of an installation is the folder that holds Windows; the nearest folder that looks "
           "like one is " + root;
}

std::vector<MountEntry> parseMountInfo(std::string_view text) {
    std::vector<MountEntry> out;
    for (const std::string& line : text::split(text, "\n")) {
        std::vector<std::string> fields;
        for (const std::string& f : text::split(line, " "))
            if (!f.empty()) fields.push_back(f);
        // id parent major:minor root mount-point options [optional fields...] - type source super-options
        size_t dash = 6;
        while (dash < fields.size() && fields[dash] != "-") ++dash;
        if (fields.size() < 6 || dash + 2 >= fields.size()) continue;
        MountEntry e;
        e.mountPoint = unescapeMountField(fields[4]);
        e.fileSystem = unescapeMountField(fields[dash + 1]);
        e.source = unescapeMountField(fields[dash + 2]);
        e.readOnly = hasOption(fields[5], "ro") || (dash + 3 < fields.size() && hasOption(fields[dash + 3], "ro"));
        out.push_back(std::move(e));
    }
    return out;
}

std::vector<MountEntry> systemDriveMounts(const std::vector<MountEntry>& mounts) {
    std::vector<MountEntry> out;
    for (const MountEntry& m : mounts) {
        if (kernelFileSystem(m.fileSystem)) continue;
        if (looksLikeSystemDrive(m.mountPoint)) out.push_back(m);
    }
    return out;
}

}  // namespace vedozer
