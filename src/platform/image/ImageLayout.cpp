#include "platform/image/ImageLayout.h"

#include "text/Text.h"

namespace vedozer {

namespace {

// Users\ (Vista and later) or Documents and Settings\ (XP), and the shared profiles beside them.
void findProfilesFolder(FileSystem& files, ImageLayout& layout) {
    if (auto users = files.lookup("C:\\Users"); users && users->isDirectory()) {
        layout.vistaStyle = true;
        layout.profilesFolder = "C:\\" + users->name;
        layout.allUsersProfile = "C:\\ProgramData";
        layout.publicProfile = layout.profilesFolder + "\\Public";
    } else if (auto das = files.lookup("C:\\Documents and Settings"); das && das->isDirectory()) {
        layout.vistaStyle = false;
        layout.profilesFolder = "C:\\" + das->name;
        layout.allUsersProfile = layout.profilesFolder + "\\All Users";
    } else {
        layout.vistaStyle = true;
        layout.profilesFolder = "C:\\Users";
        layout.allUsersProfile = "C:\\ProgramData";
        layout.publicProfile = "C:\\Users\\Public";
    }
}

}  // namespace

std::string ImageLayout::usrClassHive() const {
    if (userProfile.empty()) return "";
    return userProfile + (vistaStyle ? "\\AppData\\Local\\Microsoft\\Windows\\UsrClass.dat"
                                     : "\\Local Settings\\Application Data\\Microsoft\\Windows\\UsrClass.dat");
}

std::vector<std::string> listUserProfiles(FileSystem& files, const ImageLayout& layout) {
    static const char* kNotPeople[] = {"Public", "Default", "Default User", "All Users", "LocalService",
                                       "NetworkService", "defaultuser0"};
    std::vector<std::string> names;
    for (const auto& entry : files.list(layout.profilesFolder)) {
        if (!entry.isDirectory()) continue;
        bool skip = false;
        for (const char* n : kNotPeople) skip = skip || text::iequals(entry.name, n);
        if (!skip) names.push_back(entry.name);
    }
    return names;
}

std::vector<std::string> listUserProfiles(FileSystem& files) {
    ImageLayout layout;
    findProfilesFolder(files, layout);
    return listUserProfiles(files, layout);
}

LayoutResult detectImageLayout(FileSystem& files, const std::string& user) {
    LayoutResult result;
    ImageLayout layout;
    for (const char* w : {"C:\\Windows", "C:\\WINNT"}) {
        if (auto info = files.lookup(w); info && info->isDirectory()) {
            layout.windowsFolder = std::string("C:\\") + info->name;
            break;
        }
    }
    if (layout.windowsFolder.empty()) {
        result.error = "no Windows folder (Windows or WINNT) on the system drive of the image";
        return result;
    }
    findProfilesFolder(files, layout);
    auto people = listUserProfiles(files, layout);
    if (!user.empty()) {
        auto info = files.lookup(layout.profilesFolder + "\\" + user);
        if (!info || !info->isDirectory()) {
            std::string found;
            for (const auto& p : people) found += (found.empty() ? "" : ", ") + p;
            result.error = "no profile of user \"" + user + "\" under " + layout.profilesFolder +
                           (found.empty() ? "; the image has no user profile (leave out --user)"
                                          : "; the profiles found are: " + found + " (give one with --user)");
            return result;
        }
        layout.userName = info->name;
    } else if (people.size() == 1) {
        layout.userName = people[0];
    } else if (people.size() > 1) {
        std::string all;
        for (const auto& p : people) all += (all.empty() ? "" : ", ") + p;
        result.error = "several user profiles in the image (" + all + "); choose one with --user";
        return result;
    }
    if (!layout.userName.empty()) layout.userProfile = layout.profilesFolder + "\\" + layout.userName;
    result.layout = layout;
    return result;
}

}  // namespace vedozer
