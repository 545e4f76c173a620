#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vedozer {

// Host folders that may be the system drive (C:) of an offline Windows installation.

// The folder holds a Windows (or WINNT) folder, whatever the letter case.
bool holdsWindowsFolder(const std::string& folder);
// The folder holds a Windows folder whose System32\config holds a SOFTWARE or SYSTEM hive.
bool looksLikeSystemDrive(const std::string& folder);

// The host folder nearest to `folder` that holds a Windows folder: the folder itself, one of its
// parents (given C/Windows, that is C), or a folder a few levels below it (given the folder an
// image was copied to, that is its C). "" when none. Symbolic links below are not followed.
std::string nearestDriveRoot(const std::string& folder);

// The help for a target that is no drive root: which folder looks like one. "" when the target
// is one, or when none is near.
std::string driveRootAdvice(const std::string& target);

// One line of /proc/self/mountinfo.
struct MountEntry {
    std::string mountPoint;
    std::string fileSystem;
    std::string source;
    bool readOnly = false;  // mounted read-only, or its file system is
};

// Parses the text of /proc/<pid>/mountinfo (see proc(5)); lines that do not parse are skipped.
// Octal escapes in paths ("\040" for a blank) are decoded.
std::vector<MountEntry> parseMountInfo(std::string_view text);

// The mounts whose mount point looks like a system drive; the kernel's own file systems
// (proc, sysfs, cgroup ...) are never looked into.
std::vector<MountEntry> systemDriveMounts(const std::vector<MountEntry>& mounts);

}  // namespace vedozer
