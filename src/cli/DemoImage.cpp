#include "cli/DemoImage.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "platform/image/ImageFileSystem.h"
#include "platform/image/ImageRegistry.h"
#include "platform/image/PosixFiles.h"
#include "platform/image/RegfGenerator.h"

namespace vedozer::cli {
namespace {

namespace fs = std::filesystem;
constexpr const char* kMarker = ".vedozer-demo";

RegistryValue sz(const std::string& s, uint32_t type = kRegSz) { return {type, s + std::string(1, '\0')}; }
RegistryValue dword(uint32_t n) {
    std::string b(4, '\0');
    for (int i = 0; i < 4; ++i) b[i] = static_cast<char>((n >> (8 * i)) & 0xFF);
    return {kRegDword, b};
}

void writeFile(const fs::path& p, const std::string& content) {
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out << content;
    if (!out) throw std::runtime_error("cannot write " + p.string());
}

void must(RegStatus status, ImageRegistry& registry, const std::string& what) {
    if (status != RegStatus::Ok) throw std::runtime_error("cannot plant " + what + ": " + registry.lastError());
}

}  // namespace

DemoImage buildDemoImage(const std::string& rootIn) {
    DemoImage demo;
    fs::path root = fs::absolute(rootIn);
    std::error_code ec;
    if (fs::exists(root, ec)) {
        if (!fs::exists(root / kMarker, ec) && !fs::is_empty(root, ec))
            throw std::runtime_error(root.string() + " exists and is not a demo folder; choose another folder");
        fs::remove_all(root, ec);
    }
    fs::create_directories(root);
    writeFile(root / kMarker, "Demo Windows installation made by vedozer demo; safe to delete.\n");
    demo.root = root.string();
    fs::path c = root / "image" / "C";
    demo.systemDrive = c.string();
    demo.dataFolder = (root / "data").string();
    demo.configDir = (root / "config").string();
    fs::create_directories(root / "data");
    fs::create_directories(root / "config");

    // The layout of a Windows 7 installation with one user.
    for (const char* dir : {"Windows/System32/config", "Windows/Fonts", "Program Files/Common Files", "ProgramData",
                            "Users/Public/Desktop", "Users/demo/Desktop", "Users/demo/Documents",
                            "Users/demo/AppData/Roaming/Microsoft/Windows/Cookies",
                            "Users/demo/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Startup",
                            "Users/demo/AppData/Local/Microsoft/Windows/Temporary Internet Files"})
        fs::create_directories(c / dir);
    writeFile(c / "Windows/System32/kernel32.dll", "MZ harmless system library");
    writeFile(c / "Windows/notepad.exe", "MZ harmless editor");

    const fs::path hives[] = {c / "Windows/System32/config/SOFTWARE", c / "Windows/System32/config/SYSTEM",
                              c / "Windows/System32/config/DEFAULT", c / "Users/demo/NTUSER.DAT",
                              c / "Users/demo/AppData/Local/Microsoft/Windows/UsrClass.dat"};
    for (const auto& h : hives) {
        std::string error;
        if (!writeEmptyHive(h.string(), "ROOT", {}, &error))
            throw std::runtime_error("cannot create hive " + h.string() + ": " + error);
    }

    {
        ImageRegistry::Config config;
        config.hives.software = hives[0].string();
        config.hives.system = hives[1].string();
        config.hives.defaultHive = hives[2].string();
        config.hives.ntuser = hives[3].string();
        config.hives.usrclass = hives[4].string();
        ImageRegistry reg(config);
        const RootKey lm = RootKey::LocalMachine, cu = RootKey::CurrentUser;
        const std::string nt = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
        const std::string cv = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
        must(reg.setValue(lm, nt, "CurrentVersion", sz("6.1")), reg, "the Windows version");
        must(reg.setValue(lm, nt, "CurrentBuildNumber", sz("7601")), reg, "the Windows version");
        must(reg.setValue(lm, nt, "ProductName", sz("Windows 7 Professional")), reg, "the Windows version");
        must(reg.setValue(lm, nt, "InstallDate", dword(1300000000)), reg, "the installation date");
        must(reg.setValue(lm, nt, "SystemRoot", sz("C:\\Windows")), reg, "the Windows version");
        must(reg.setValue(lm, cv, "ProgramFilesDir", sz("C:\\Program Files")), reg, "Program Files");
        must(reg.setValue(lm, cv, "CommonFilesDir", sz("C:\\Program Files\\Common Files")), reg, "Common Files");
        must(reg.setValue(lm, cv + "\\Run", "WindowsDefender", sz("C:\\Program Files\\Windows Defender\\MSASCui.exe")),
             reg, "a harmless Run entry");
        must(reg.setValue(lm, "SYSTEM\\Select", "Current", dword(1)), reg, "the control set");
        must(reg.createKey(lm, "SYSTEM\\ControlSet001\\Hardware Profiles\\0001"), reg, "the hardware profile");
        must(reg.setValue(lm, "SYSTEM\\ControlSet001\\Control\\IDConfigDB", "CurrentConfig", dword(1)), reg,
             "the hardware profile");
        const std::string usf = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
        const std::pair<const char*, const char*> folders[] = {
            {"AppData", "%USERPROFILE%\\AppData\\Roaming"},
            {"Local AppData", "%USERPROFILE%\\AppData\\Local"},
            {"Cookies", "%USERPROFILE%\\AppData\\Roaming\\Microsoft\\Windows\\Cookies"},
            {"Desktop", "%USERPROFILE%\\Desktop"},
            {"Personal", "%USERPROFILE%\\Documents"},
            {"Start Menu", "%USERPROFILE%\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu"},
            {"Programs", "%USERPROFILE%\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs"},
            {"Startup", "%USERPROFILE%\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"},
            {"Cache", "%USERPROFILE%\\AppData\\Local\\Microsoft\\Windows\\Temporary Internet Files"},
        };
        for (const auto& [name, value] : folders)
            must(reg.setValue(cu, usf, name, sz(value, kRegExpandSz)), reg, "the user's shell folders");
        must(reg.setValue(cu, "Software\\Microsoft\\Internet Explorer\\Main", "Start Page",
                          sz("http://www.vedozer.example/")),
             reg, "the home page");

        // Adware traces named by the shipped definitions.
        const std::string clsid = "{5E1C3A7B-0D2F-4B8A-9C61-ADB0DD1E0001}";
        must(reg.setValue(lm, "SOFTWARE\\AdBuddy", "Version", sz("3.2")), reg, "HKLM\\Software\\AdBuddy");
        must(reg.setValue(lm, cv + "\\Run", "AdBuddyTray", sz("C:\\Program Files\\AdBuddy\\adbuddy.exe /tray")), reg,
             "the AdBuddy Run entry");
        must(reg.createKey(lm, cv + "\\Explorer\\Browser Helper Objects\\" + clsid), reg, "the AdBuddy BHO");
        must(reg.setValue(lm, "SOFTWARE\\Classes\\CLSID\\" + clsid, "", sz("AdBuddy Helper")), reg,
             "the AdBuddy class");
        must(reg.setValue(lm, cv + "\\SharedDLLs", "C:\\Program Files\\AdBuddy\\abhook.dll", dword(1)), reg,
             "the AdBuddy shared library count");
        must(reg.setValue(cu, "Software\\CouponRocket", "UserId", sz("8812-33")), reg, "HKCU\\Software\\CouponRocket");
        demo.planted.push_back("registry: HKLM\\SOFTWARE\\AdBuddy, its Run entry, helper object, class and "
                               "shared-library count; HKCU\\Software\\CouponRocket");
    }

    const std::pair<const char*, const char*> files[] = {
        {"Program Files/AdBuddy/adbuddy.exe", "MZ AdBuddy toolbar"},
        {"Program Files/AdBuddy/abhook.dll", "MZ AdBuddy browser hook"},
        {"Users/demo/AppData/Roaming/CouponRocket/crocket.exe", "MZ CouponRocket"},
        {"Users/demo/AppData/Roaming/CouponRocket/crupdate.exe", "MZ CouponRocket updater"},
        {"Windows/System32/popwhirl.dll", "MZ PopWhirl"},
        {"Windows/spilot.ini", "[SearchPilot]\r\nhome=http://searchpilot.example/\r\n"},
        {"KeyShadow/keyshadow.sys", "KeyShadow driver"},
        {"Windows/System32/userinit.exe", "MZ harmless system program (on the safe list)"},
        {"Program Files/SearchPilot/spilot.exe", "MZ SearchPilot"},
        {"ProgramData/PopWhirl/popwhirl.cfg", "cfg"},
    };
    for (const auto& [path, content] : files) {
        writeFile(c / path, content);
        std::string windowsPath = std::string("C:\\") + path;
        for (char& ch : windowsPath)
            if (ch == '/') ch = '\\';
        demo.planted.push_back("file: " + windowsPath);
    }
    // A hidden trace: a scanner that lists directories the Windows way does not see it.
    writeFile(c / "Program Files/AdBuddy/hidden.dat", "hidden");
    posix::setDosAttributes((c / "Program Files/AdBuddy/hidden.dat").string(), kAttrHidden);

    const char* cookieHosts[] = {"trk.adbuddy.example", "ads.couponrocket.example", "stats.popwhirl.example",
                                 "searchpilot.example", "pixelpeek.example"};
    fs::path cookies = c / "Users/demo/AppData/Roaming/Microsoft/Windows/Cookies";
    for (const char* host : cookieHosts) {
        std::string h = host;
        std::string label = h.substr(0, h.rfind('.'));
        writeFile(cookies / ("demo@" + label + "[1].txt"),
                  "id\n4411\n" + h + "/\n1536\n0\n0\n0\n0\n*\n");
    }
    writeFile(cookies / "demo@news.example[1].txt", "s\n1\nnews.example/\n1536\n0\n0\n0\n0\n*\n");
    demo.planted.push_back("cookies: 5 tracking cookies and one harmless cookie");
    return demo;
}

}  // namespace vedozer::cli
