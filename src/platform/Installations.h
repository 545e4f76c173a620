#pragma once
#include <map>
#include <string>
#include <vector>

namespace vedozer {

// Which offline Windows installation to examine: the host folder of drive C:, more drive letters
// and the user profile ("" for the only one). Host paths in UTF-8.
struct InstallationChoice {
    std::string systemDrive;
    std::map<char, std::string> otherDrives;  // upper-case letter -> host folder
    std::string user;
    bool operator==(const InstallationChoice&) const = default;
};

// A mounted file system that looks like a Windows system drive.
struct MountedInstallation {
    std::string folder;      // where it is mounted
    std::string source;      // what is mounted there ("/dev/sdb2")
    std::string fileSystem;  // "ntfs3", "fuseblk" ...
    bool readOnly = false;
    bool operator==(const MountedInstallation&) const = default;
};

// What opening a choice meets.
struct InstallationCheck {
    std::string error;           // "" when the choice opens
    std::string suggestedDrive;  // the folder that looks like the drive root when the choice is not one
    std::string advice;          // how to put it right ("" when nothing is known to help)
    // "" when this user can change the installation; else why removals would fail (a read-only
    // mount, folders this user may not write).
    std::string writeProblem;
    bool ok() const { return error.empty(); }
};

// The offline Windows installations this computer can see and open.
class Installations {
public:
    virtual ~Installations() = default;
    // Mounted file systems that hold a Windows folder with its hives.
    virtual std::vector<MountedInstallation> mounted() = 0;
    // The people's profiles of the installation whose system drive is the folder.
    virtual std::vector<std::string> profiles(const std::string& systemDrive) = 0;
    // Opens the choice as the scanner would, and says what stands in the way.
    virtual InstallationCheck check(const InstallationChoice& choice) = 0;
};

}  // namespace vedozer
