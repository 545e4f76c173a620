#include "platform/image/ImageShellFolders.h"

#include <cstdlib>

#include "text/Text.h"

namespace vedozer {
namespace {

constexpr const char* kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
constexpr const char* kMachineFoldersKey = "Microsoft\\Windows\\CurrentVersion\\Explorer\\";

struct FolderName {
    int csidl;
    bool common;
    const char* value;
};

// Registry value names of the shell folders by CSIDL.
constexpr FolderName kFolderNames[] = {
    {2, false, "Programs"},          {5, false, "Personal"},          {6, false, "Favorites"},
    {7, false, "Startup"},           {8, false, "Recent"},            {9, false, "SendTo"},
    {11, false, "Start Menu"},       {16, false, "Desktop"},          {20, false, "Fonts"},
    {21, false, "Templates"},        {26, false, "AppData"},          {28, false, "Local AppData"},
    {32, false, "Cache"},            {33, false, "Cookies"},          {34, false, "History"},
    {22, true, "Common Start Menu"}, {23, true, "Common Programs"},   {24, true, "Common Startup"},
    {25, true, "Common Desktop"},    {31, true, "Common Favorites"},  {35, true, "Common AppData"},
    {45, true, "Common Templates"},  {46, true, "Common Documents"},
};

std::string stringOf(const std::optional<RegistryValue>& v) {
    if (!v || (v->type != kRegSz && v->type != kRegExpandSz)) return "";
    std::string s = v->data;
    auto nul = s.find('\0');
    if (nul != std::string::npos) s.resize(nul);
    return s;
}

}  // namespace

ImageShellFolders::ImageShellFolders(Registry& registry, ImageLayout layout,
                                     std::function<uint64_t()> registryGeneration)
    : m_registry(registry), m_layout(std::move(layout)), m_generation(std::move(registryGeneration)) {}

std::string ImageShellFolders::fromRegistry(bool common, const std::string& valueName) {
    RootKey root = common ? RootKey::LocalMachine : RootKey::CurrentUser;
    std::string base = common ? std::string("SOFTWARE\\") + kMachineFoldersKey : kShellFoldersKey;
    if (!common && m_layout.userProfile.empty()) return "";
    for (const char* sub : {"User Shell Folders", "Shell Folders"}) {
        std::string value = stringOf(m_registry.queryValue(root, base + sub, valueName));
        if (!value.empty()) return expandEnvironment(value);
    }
    return "";
}

std::string ImageShellFolders::programFiles() {
    std::string v = stringOf(m_registry.queryValue(RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                                                   "ProgramFilesDir"));
    return v.empty() ? m_layout.systemDrive + "\\Program Files" : expandEnvironment(v);
}

std::string ImageShellFolders::commonFiles() {
    std::string v = stringOf(m_registry.queryValue(RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                                                   "CommonFilesDir"));
    return v.empty() ? programFiles() + "\\Common Files" : expandEnvironment(v);
}

std::string ImageShellFolders::expandEnvironment(const std::string& textIn) {
    const std::string& profile = m_layout.userProfile;
    const std::string appData = m_layout.vistaStyle ? profile + "\\AppData\\Roaming" : profile + "\\Application Data";
    const std::string localAppData =
        m_layout.vistaStyle ? profile + "\\AppData\\Local" : profile + "\\Local Settings\\Application Data";
    const std::pair<const char*, std::string> vars[] = {
        {"USERPROFILE", profile},
        {"APPDATA", appData},
        {"LOCALAPPDATA", localAppData},
        {"SYSTEMROOT", m_layout.windowsFolder},
        {"WINDIR", m_layout.windowsFolder},
        {"SYSTEMDRIVE", m_layout.systemDrive},
        {"HOMEDRIVE", m_layout.systemDrive},
        {"HOMEPATH", profile.size() > 2 ? profile.substr(2) : ""},
        {"PROGRAMDATA", m_layout.allUsersProfile},
        {"ALLUSERSPROFILE", m_layout.allUsersProfile},
        {"PUBLIC", m_layout.publicProfile},
        {"USERNAME", m_layout.userName},
        {"PROGRAMFILES", ""},
        {"COMMONPROGRAMFILES", ""},
    };
    std::string out;
    size_t i = 0;
    while (i < textIn.size()) {
        size_t open = textIn.find('%', i);
        if (open == std::string::npos) break;
        size_t close = textIn.find('%', open + 1);
        if (close == std::string::npos) break;
        out.append(textIn, i, open - i);
        std::string name = textIn.substr(open + 1, close - open - 1);
        bool replaced = false;
        for (const auto& [var, value] : vars) {
            if (!text::iequals(name, var)) continue;
            if (text::iequals(name, "PROGRAMFILES")) out += programFiles();
            else if (text::iequals(name, "COMMONPROGRAMFILES")) out += commonFiles();
            else out += value;
            replaced = true;
            break;
        }
        if (replaced) {
            i = close + 1;
        } else {
            out.append(textIn, open, close - open);
            i = close;
        }
    }
    out.append(textIn, i, std::string::npos);
    return out;
}

std::string ImageShellFolders::defaultFor(int csidl) {
    const bool v = m_layout.vistaStyle;
    const std::string p = m_layout.userProfile;
    const std::string all = m_layout.allUsersProfile;
    const std::string roaming = v ? p + "\\AppData\\Roaming" : p + "\\Application Data";
    const std::string local = v ? p + "\\AppData\\Local" : p + "\\Local Settings\\Application Data";
    const std::string startMenu = v ? roaming + "\\Microsoft\\Windows\\Start Menu" : p + "\\Start Menu";
    const std::string commonStart = v ? all + "\\Microsoft\\Windows\\Start Menu" : all + "\\Start Menu";
    const std::string pub = v ? m_layout.publicProfile : all;
    const bool user = !p.empty();
    switch (csidl) {
        case 2: return user ? startMenu + "\\Programs" : "";
        case 5: return user ? p + (v ? "\\Documents" : "\\My Documents") : "";
        case 6: return user ? p + "\\Favorites" : "";
        case 7: return user ? startMenu + "\\Programs\\Startup" : "";
        case 8: return user ? (v ? roaming + "\\Microsoft\\Windows\\Recent" : p + "\\Recent") : "";
        case 9: return user ? (v ? roaming + "\\Microsoft\\Windows\\SendTo" : p + "\\SendTo") : "";
        case 11: return user ? startMenu : "";
        case 16: return user ? p + "\\Desktop" : "";
        case 20: return m_layout.windowsFolder + "\\Fonts";
        case 21: return user ? (v ? roaming + "\\Microsoft\\Windows\\Templates" : p + "\\Templates") : "";
        case 26: return user ? roaming : "";
        case 28: return user ? local : "";
        case 32:
            return user ? (v ? local + "\\Microsoft\\Windows\\Temporary Internet Files"
                             : p + "\\Local Settings\\Temporary Internet Files")
                        : "";
        case 33: return user ? (v ? roaming + "\\Microsoft\\Windows\\Cookies" : p + "\\Cookies") : "";
        case 34: return user ? (v ? local + "\\Microsoft\\Windows\\History" : p + "\\Local Settings\\History") : "";
        case 22: return commonStart;
        case 23: return commonStart + "\\Programs";
        case 24: return commonStart + "\\Programs\\Startup";
        case 25: return pub + "\\Desktop";
        case 31: return pub + "\\Favorites";
        case 35: return v ? all : all + "\\Application Data";
        case 45: return v ? all + "\\Microsoft\\Windows\\Templates" : all + "\\Templates";
        case 46: return pub + "\\Documents";
        case 36: return m_layout.windowsFolder;
        case 37: return m_layout.windowsFolder + "\\System32";
        case 38: return programFiles();
        case 43: return commonFiles();
        default: return "";  // virtual folders (Recycle Bin 10) and the alternate Startup folders have no path
    }
}

std::string ImageShellFolders::folderPath(int csidl) {
    if (!m_generation) return lookUp(csidl);
    const uint64_t before = m_generation();
    if (before != m_cachedGeneration) {
        m_cache.clear();
        m_cachedGeneration = before;
    }
    if (auto it = m_cache.find(csidl); it != m_cache.end()) return it->second;
    // A lookup that changed the generation (a hive failed to open) is dropped at the next call.
    std::string path = lookUp(csidl);
    m_cache.emplace(csidl, path);
    return path;
}

std::string ImageShellFolders::lookUp(int csidl) {
    for (const auto& f : kFolderNames) {
        if (f.csidl != csidl) continue;
        std::string fromHive = fromRegistry(f.common, f.value);
        if (!fromHive.empty()) return fromHive;
        break;
    }
    std::string path = defaultFor(csidl);
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

OsVersion ImageSystemInfo::version() {
    OsVersion v;
    auto nt = m_registry.queryValue(RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                                    "CurrentVersion");
    std::string current = stringOf(nt);
    if (!current.empty()) {
        v.family = PlatformFamily::WindowsNT;
        auto dot = current.find('.');
        v.major = std::atoi(current.substr(0, dot).c_str());
        v.minor = dot == std::string::npos ? 0 : std::atoi(current.substr(dot + 1).c_str());
        v.build = std::atoi(stringOf(m_registry.queryValue(RootKey::LocalMachine,
                                                           "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                                                           "CurrentBuildNumber"))
                                .c_str());
        v.productName = stringOf(m_registry.queryValue(
            RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "ProductName"));
        return v;
    }
    std::string nine = stringOf(
        m_registry.queryValue(RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "VersionNumber"));
    if (!nine.empty() && text::istartsWith(nine, "4.")) {
        v.family = PlatformFamily::Windows9x;
        v.major = 4;
        v.minor = std::atoi(nine.substr(2).c_str());
        return v;
    }
    // No version in the hive: judge by the layout.
    v.family = PlatformFamily::WindowsNT;
    v.major = m_layout.vistaStyle ? 6 : 5;
    v.minor = 1;
    return v;
}

std::string ImageSystemInfo::systemFolder() {
    return m_layout.windowsFolder + (version().family == PlatformFamily::Windows9x ? "\\System" : "\\System32");
}

}  // namespace vedozer
