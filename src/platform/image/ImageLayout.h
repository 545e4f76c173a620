#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace vedozer {

// Where things are in an offline Windows installation: Windows folder, profiles folder, the
// user's profile and hives. Found by looking at the system drive.
struct ImageLayout {
    bool vistaStyle = true;              // Users\ (Vista and later) or Documents and Settings\ (XP)
    std::string systemDrive = "C:";
    std::string windowsFolder;           // "C:\Windows"
    std::string profilesFolder;          // "C:\Users"
    std::string userName;
    std::string userProfile;             // "C:\Users\alice"; empty when there is no profile
    std::string allUsersProfile;         // "C:\ProgramData" or "C:\Documents and Settings\All Users"
    std::string publicProfile;           // "C:\Users\Public" (Vista style)

    std::string configFolder() const { return windowsFolder + "\\System32\\config"; }
    std::string ntuserHive() const { return userProfile.empty() ? "" : userProfile + "\\NTUSER.DAT"; }
    std::string usrClassHive() const;
};

// Profiles under the profiles folder that belong to people (not Public, Default, All Users ...).
std::vector<std::string> listUserProfiles(FileSystem& files, const ImageLayout& layout);
// The same on drive C: of `files`, wherever its profiles folder lies.
std::vector<std::string> listUserProfiles(FileSystem& files);

// Inspects the image on drive C:. Fails with a message when there is no Windows folder, or when
// the user is ambiguous or unknown.
struct LayoutResult {
    std::optional<ImageLayout> layout;
    std::string error;
};
LayoutResult detectImageLayout(FileSystem& files, const std::string& user);

}  // namespace vedozer
