#pragma once
#include <map>
#include <string>

#include "platform/ShellFolders.h"

namespace vedozer::test {

// Shell folders from a table, for unit tests. Paths are given without a trailing backslash, as
// the interface hands them out; a folder not in the table has no path. Every question is counted.
class FakeShellFolders : public ShellFolders {
public:
    FakeShellFolders& set(int csidl, const std::string& path) {
        m_paths[csidl] = path;
        return *this;
    }
    FakeShellFolders& setLocation(int csidl, const std::string& path) {
        m_locations[csidl] = path;
        return *this;
    }
    void clear() {
        m_paths.clear();
        m_locations.clear();
    }

    // A typical single-user Windows XP layout on the given drive ("C:").
    static FakeShellFolders windowsXp(const std::string& drive = "C:", const std::string& user = "Alice") {
        FakeShellFolders f;
        const std::string profile = drive + "\\Documents and Settings\\" + user;
        const std::string all = drive + "\\Documents and Settings\\All Users";
        f.set(2, profile + "\\Start Menu\\Programs").set(5, profile + "\\My Documents");
        f.set(6, profile + "\\Favorites").set(7, profile + "\\Start Menu\\Programs\\Startup");
        f.set(8, profile + "\\Recent").set(9, profile + "\\SendTo").set(11, profile + "\\Start Menu");
        f.set(16, profile + "\\Desktop").set(20, drive + "\\WINDOWS\\Fonts");
        f.set(21, profile + "\\Templates").set(22, all + "\\Start Menu");
        f.set(23, all + "\\Start Menu\\Programs").set(25, all + "\\Desktop");
        f.set(26, profile + "\\Application Data").set(29, profile + "\\Start Menu\\Programs\\Startup");
        f.set(30, all + "\\Start Menu\\Programs\\Startup").set(31, all + "\\Favorites");
        f.set(32, profile + "\\Local Settings\\Temporary Internet Files");
        f.set(33, profile + "\\Cookies").set(34, profile + "\\Local Settings\\History");
        f.set(35, all + "\\Application Data").set(36, drive + "\\WINDOWS");
        f.set(37, drive + "\\WINDOWS\\system32").set(38, drive + "\\Program Files");
        f.set(43, drive + "\\Program Files\\Common Files").set(45, all + "\\Templates");
        f.set(46, all + "\\Documents");
        f.setLocation(2, profile + "\\Start Menu\\Programs");
        return f;
    }

    std::string folderPath(int csidl) override {
        ++m_pathCalls[csidl];
        auto it = m_paths.find(csidl);
        return it == m_paths.end() ? std::string() : it->second;
    }
    std::string folderLocation(int csidl) override {
        ++m_locationCalls[csidl];
        auto it = m_locations.find(csidl);
        return it == m_locations.end() ? std::string() : it->second;
    }

    int pathCalls(int csidl) const {
        auto it = m_pathCalls.find(csidl);
        return it == m_pathCalls.end() ? 0 : it->second;
    }
    int locationCalls(int csidl) const {
        auto it = m_locationCalls.find(csidl);
        return it == m_locationCalls.end() ? 0 : it->second;
    }

private:
    std::map<int, std::string> m_paths;
    std::map<int, std::string> m_locations;
    std::map<int, int> m_pathCalls;
    std::map<int, int> m_locationCalls;
};

}  // namespace vedozer::test
