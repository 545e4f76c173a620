// The synthetic offline Windows installation and definition set of the scan benchmark: drive C
// with real hives (SOFTWARE, SYSTEM, NTUSER.DAT, UsrClass.dat), folders and files, a cookie
// folder, and a data folder holding the six definition files and the exclusion list. A small
// fraction of the definitions is planted as hits; some of those are safe, excluded, Microsoft
// files, hidden files or binary registry values, so every branch of the scanners runs.
#pragma once
#include <sys/xattr.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/CompactHive.h"
#include "definitions/LineCodec.h"
#include "platform/Registry.h"
#include "scan/VersionResource.h"

namespace vedozer::bench {

namespace fs = std::filesystem;

struct BenchSizes {
    int fileLines = 100000;
    int dirLines = 20000;
    int regLines = 50000;
    int exeLines = 5000;
    int cookieSites = 2000;
    int safeLines = 10000;
    int exclusionLines = 5000;
    int cookieFiles = 20000;
    // Background of the image, not named by any definition.
    int system32Files = 3000;
    int vendors = 1000;      // C:\Program Files\Vendor N (N below this exist)
    int machineClsids = 10000;

    BenchSizes scaled(double f) const {
        auto s = [f](int n) { return std::max(1, static_cast<int>(std::lround(n * f))); };
        BenchSizes b;
        b.fileLines = s(fileLines), b.dirLines = s(dirLines), b.regLines = s(regLines), b.exeLines = s(exeLines);
        b.cookieSites = s(cookieSites), b.safeLines = s(safeLines), b.exclusionLines = s(exclusionLines);
        b.cookieFiles = s(cookieFiles), b.system32Files = s(system32Files), b.vendors = s(vendors);
        b.machineClsids = s(machineClsids);
        return b;
    }
};

// What was planted, and what a scan should therefore report.
struct Planted {
    int fileHits = 0, fileReported = 0;
    int dirHits = 0, dirReported = 0;
    int regHits = 0, regReported = 0;
    int cookieHits = 0, cookieReported = 0;
    int safe = 0, excluded = 0, microsoft = 0, hidden = 0, binary = 0;
};

// A hive file to be: keys and values gathered, then written compactly in one go.
class HiveWriter {
public:
    explicit HiveWriter(std::string path) : m_path(std::move(path)) {}
    void key(const std::string& path) { m_hive.key(path); }
    void value(const std::string& path, const std::string& name, uint32_t type, const std::string& data) {
        m_hive.value(path, name, type, data);
    }
    void sz(const std::string& path, const std::string& name, const std::string& text, uint32_t type = kRegSz) {
        value(path, name, type, text + std::string(1, '\0'));
    }
    void dword(const std::string& path, const std::string& name, uint32_t n) {
        value(path, name, kRegDword, std::string(reinterpret_cast<const char*>(&n), 4));
    }
    void commit() { m_hive.write(m_path); }

private:
    std::string m_path;
    test::CompactHive m_hive;
};

class ScanBenchImage {
public:
    ScanBenchImage(fs::path root, BenchSizes sizes) : m_root(std::move(root)), m_n(sizes) {}

    const fs::path& root() const { return m_root; }
    fs::path drive() const { return m_root / "C"; }
    fs::path data() const { return m_root / "data"; }
    const Planted& planted() const { return m_planted; }

    void build() {
        fs::create_directories(drive() / "Windows/System32/config");
        fs::create_directories(drive() / "Windows/Temp");
        fs::create_directories(drive() / "Users/alice/AppData/Local/Microsoft/Windows");
        fs::create_directories(drive() / "Users/Public/Desktop");
        fs::create_directories(hostOf(kStartup));
        fs::create_directories(hostOf(kCookies));
        fs::create_directories(hostOf(kProgramFiles + "\\Common Files"));
        fs::create_directories(data());
        background();
        fileDefinitions();
        directoryDefinitions();
        registryDefinitions();
        exeDefinitions();
        cookies();
        safeAndExcluded();
        hives();
        writeDefinitionFile("FileDefinition.dat", m_fileLines);
        writeDefinitionFile("DirectoryDefinition.dat", m_dirLines);
        writeDefinitionFile("RegistryDefinition.dat", m_regLines);
        writeDefinitionFile("ExeDefinition.dat", m_exeLines);
        writeDefinitionFile("BlockedCookies.dat", m_cookieLines);
        writeDefinitionFile("Safety.dat", m_safeLines);
        std::string plain;
        for (const auto& l : m_exclusions) plain += l + "\r\n";
        writeHost(data() / "ENoSignature.dat", plain);
        writeHost(data() / "date.dat", "3/16/2006 12:00:00 AM\r\n");
    }

private:
    // Folders of the image as the shell folders of its hives name them.
    inline static const std::string kWindows = "C:\\Windows";
    inline static const std::string kSystem = "C:\\Windows\\System32";
    inline static const std::string kProgramFiles = "C:\\Program Files";
    inline static const std::string kProfile = "C:\\Users\\alice";
    inline static const std::string kAppData = "C:\\Users\\alice\\AppData\\Roaming";
    inline static const std::string kProgramData = "C:\\ProgramData";
    inline static const std::string kStartup =
        "C:\\Users\\alice\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup";
    inline static const std::string kCookies = "C:\\Users\\alice\\AppData\\Roaming\\Microsoft\\Windows\\Cookies";

    fs::path hostOf(const std::string& windowsPath) const {
        std::string rest = windowsPath.substr(3);
        for (char& c : rest)
            if (c == '\\') c = '/';
        return drive() / rest;
    }
    static void writeHost(const fs::path& p, const std::string& content) {
        fs::create_directories(p.parent_path());
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        if (!out) throw std::runtime_error("cannot write " + p.string());
    }
    void writeDefinitionFile(const char* name, const std::vector<std::string>& lines) const {
        std::string content;
        for (const auto& l : lines) content += EncodeDefinitionLine(l) + "\r\n";
        writeHost(data() / name, content);
    }
    static uint32_t mix(uint32_t i) { return i * 2654435761u >> 7; }
    static std::string threat(uint32_t i) {
        std::string name = "Threat " + std::to_string(mix(i) % 12000);
        if (i % 97 == 0) name = "THREAT " + std::to_string(mix(i) % 12000);  // the same name in other letters
        return name;
    }
    static std::string guid(int i) {
        char buf[48];
        std::snprintf(buf, sizeof buf, "{%08X-%04X-11D3-9C4A-%012d}", static_cast<unsigned>(mix(i)), i % 65536, i);
        return buf;
    }
    std::string vendor(uint32_t i) const { return "Vendor " + std::to_string(mix(i + 17) % (2 * m_n.vendors)); }

    // A file that counts as an executable: some with a version resource.
    static std::string executable(const std::string& company) {
        std::string f = company.empty() ? std::string("MZ") : test::executableWithCompany(company);
        while (f.size() < 4096) f.push_back(static_cast<char>('a' + f.size() % 23));
        return f;
    }

    void background() {
        for (int k = 0; k < m_n.system32Files; ++k) writeHost(hostOf(kSystem + "\\sys" + std::to_string(k) + ".dll"), "MZ");
        for (int k = 0; k < 200; ++k) writeHost(hostOf(kWindows + "\\win" + std::to_string(k) + ".ini"), "[x]\r\n");
        for (int v = 0; v < m_n.vendors; ++v) {
            std::string dir = kProgramFiles + "\\Vendor " + std::to_string(v);
            writeHost(hostOf(dir + "\\app.exe"), "MZ");
            writeHost(hostOf(dir + "\\lib" + std::to_string(v) + ".dll"), "MZ");
            writeHost(hostOf(dir + "\\readme.txt"), "read me");
            if (v % 2 == 0) writeHost(hostOf(kAppData + "\\Vendor " + std::to_string(v) + "\\settings.ini"), "x");
            if (v % 2 == 1) writeHost(hostOf(kProgramData + "\\Vendor " + std::to_string(v) + "\\cache.bin"), "x");
        }
    }

    // One line in 50 is a hit, at a place in each block of 50 that moves from block to block, so
    // hits fall on every kind of line; h (the block) numbers the hit. Categories are disjoint.
    static bool isHit(int line, int salt) { return (line + line / 50) % 50 == salt; }
    enum class Kind { Normal, Safe, Excluded, Microsoft, Hidden, Binary };
    static Kind fileKind(int h) {
        if (h % 10 == 1) return Kind::Safe;
        if (h % 20 == 2) return Kind::Excluded;
        if (h % 25 == 4) return Kind::Microsoft;
        if (h % 50 == 6) return Kind::Hidden;
        return Kind::Normal;
    }

    void fileDefinitions() {
        for (int i = 0; i < m_n.fileLines; ++i) {
            const std::string item = "m" + std::to_string(i) + (i % 3 ? ".dll" : ".exe");
            std::string locText, folder;  // as written in the definition, and the folder it names
            const std::string v = vendor(i);
            const std::string vText = i % 5 == 0 ? "VENDOR" + v.substr(6) : v;  // case differs from the disk
            switch (i % 8) {
                case 0: locText = "[system]", folder = kSystem; break;
                case 1: locText = "[windir]", folder = kWindows; break;
                case 2: locText = "[progfil]\\" + vText, folder = kProgramFiles + "\\" + v; break;
                case 3: locText = "[appdata]\\" + vText, folder = kAppData + "\\" + v; break;
                case 4: locText = "[comapp]\\" + vText, folder = kProgramData + "\\" + v; break;
                case 5: locText = "[drive]Program Files\\" + vText + "\\bin", folder = kProgramFiles + "\\" + v + "\\bin"; break;
                case 6: locText = "[comprogfil]\\" + vText, folder = kProgramFiles + "\\Common Files\\" + v; break;
                default: locText = i % 16 == 15 ? "" : "[startup]", folder = i % 16 == 15 ? kWindows + "\\Temp" : kStartup;
            }
            const std::string spy = threat(i);
            std::string line;
            if (locText.empty()) line = folder + "\\" + item + "=" + spy;  // a literal path, no folder field
            else line = item + "=" + spy + "|" + locText + (i % 3 == 0 ? "|Adware" : "");
            m_fileLines.push_back(line);
            if (!isHit(i, 3)) continue;
            const int h = i / 50;
            const std::string path = folder + "\\" + item;
            ++m_planted.fileHits;
            Kind kind = fileKind(h);
            writeHost(hostOf(path), executable(kind == Kind::Microsoft ? " Microsoft Corporation "
                                              : h % 2                  ? "Bad Ads Inc"
                                                                       : ""));
            switch (kind) {
                case Kind::Safe:
                    m_safe.push_back("SFILE|" + item + "=Safe|" + (locText.empty() ? path : locText + "\\" + item));
                    ++m_planted.safe;
                    break;
                case Kind::Excluded: m_excludedHits.push_back(path); ++m_planted.excluded; break;
                case Kind::Microsoft: ++m_planted.microsoft; break;
                case Kind::Hidden:
                    if (::setxattr(hostOf(path).c_str(), "user.DOSATTRIB", "0x2", 3, 0) == 0) ++m_planted.hidden;
                    else ++m_planted.fileReported;
                    break;
                default: ++m_planted.fileReported;
            }
        }
    }

    void directoryDefinitions() {
        for (int j = 0; j < m_n.dirLines; ++j) {
            const std::string name = "BadApp " + std::to_string(j) + " Data";
            std::string locText, folder;
            const std::string v = vendor(j);
            switch (j % 5) {
                case 0: locText = "[progfil]\\" + name, folder = kProgramFiles + "\\" + name; break;
                case 1: locText = "[appdata]\\" + name, folder = kAppData + "\\" + name; break;
                case 2: locText = "[comapp]\\" + name, folder = kProgramData + "\\" + name; break;
                case 3: locText = "[drive]Program Files\\" + v + "\\" + name, folder = kProgramFiles + "\\" + v + "\\" + name; break;
                default: locText = "[windir]\\" + name, folder = kWindows + "\\" + name;
            }
            const std::string label = "label " + std::to_string(j) + "=" + threat(j + 500000);
            if (j % 500 == 499) {
                m_dirLines.push_back(label);  // no folder: passed over
                continue;
            }
            m_dirLines.push_back(label + "|" + locText + (j % 4 == 0 ? "|Hijacker" : ""));
            if (!isHit(j, 5)) continue;
            const int h = j / 50;
            ++m_planted.dirHits;
            fs::create_directories(hostOf(folder));
            writeHost(hostOf(folder + "\\data.bin"), "x");
            if (h % 10 == 1) m_safe.push_back("SDIR|" + name + "=Safe|" + locText), ++m_planted.safe;
            else if (h % 20 == 2) m_excludedHits.push_back(folder), ++m_planted.excluded;
            else ++m_planted.dirReported;
        }
    }

    struct RegTarget {
        int hive;  // 0 HKCR, 1 HKCU, 2 HKLM, 3 HKU, 4 HKCC
        std::string key;
    };
    RegTarget regTarget(int r, bool isKey) const {
        const std::string n = std::to_string(r);
        switch (r % 20) {
            case 0: case 1: case 2: case 3: case 4: case 5: case 6: case 7: case 8: case 9:
                if (r % 3 == 0) return {2, "SOFTWARE\\Classes\\CLSID\\" + guid(100000 + r)};
                if (r % 3 == 1 && !isKey) return {2, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"};
                return {2, "SOFTWARE\\" + vendor(r) + "\\Product " + n};
            case 10: case 11: case 12: case 13: case 14: case 15:
                if (!isKey && r % 2 == 0) return {1, "Software\\Microsoft\\Windows\\CurrentVersion\\Run"};
                if (!isKey) return {1, "Software\\Microsoft\\Internet Explorer\\Toolbar"};
                return {1, "Software\\Bad " + n};
            case 16: case 17: case 18: return {0, "CLSID\\" + guid(100000 + r)};
            default:
                if (r % 40 == 19) return {3, "S-1-5-21-0-0-0-1001\\Software\\Bad " + n};
                return {4, "Software\\Bad " + n};
        }
    }
    // Where a key named under a root lives in the hive files.
    void plantKey(const RegTarget& t, const std::string& value, bool binary) {
        HiveWriter* w = nullptr;
        std::string key = t.key;
        switch (t.hive) {
            case 0: w = m_software.get(), key = "Classes\\" + key; break;
            case 1: w = m_ntuser.get(); break;
            case 2: w = m_software.get(), key = key.substr(9); break;  // below "SOFTWARE\"
            case 3: w = m_ntuser.get(), key = key.substr(key.find('\\') + 1); break;
            default: w = m_system.get(), key = "ControlSet001\\Hardware Profiles\\Current\\" + key;
        }
        if (value.empty()) w->key(key);
        else if (binary) w->value(key, value, kRegBinary, "\x01\x02\x03\x04");
        else if (value.size() % 2) w->dword(key, value, 7);
        else w->sz(key, value, "C:\\Windows\\evil.exe");
    }
    static const char* rootName(int hive) {
        static const char* names[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                                      "HKEY_CURRENT_CONFIG"};
        return names[hive];
    }

    void registryDefinitions() {
        makeHiveWriters();
        for (int r = 0; r < m_n.regLines; ++r) {
            const bool isKey = r % 10 < 4;
            RegTarget t = regTarget(r, isKey);
            const std::string value = isKey ? "" : "Bad" + std::to_string(r) + (r % 4 == 1 ? "x" : "");
            const std::string spy = r % 211 == 0 && isKey ? "" : threat(r + 1000000);
            m_regLines.push_back(std::to_string(t.hive) + "^" + t.key + "^" + value + "=" + spy +
                                 (r % 5 == 0 ? "|Hijacker" : ""));
            if (!isHit(r, 7)) continue;
            const int h = r / 50;
            ++m_planted.regHits;
            const bool binary = !isKey && h % 15 == 3;
            plantKey(t, value, binary);
            const std::string display = std::string(rootName(t.hive)) + "\\" + t.key + value;
            if (isKey && h % 10 == 1) {
                m_safe.push_back("SREG|x=Safe|" + std::to_string(t.hive) + "^" + t.key + "^");
                ++m_planted.safe;
            } else if (h % 20 == 2) {
                m_excludedHits.push_back(display);
                ++m_planted.excluded;
            } else if (binary) {
                ++m_planted.binary;
            } else {
                ++m_planted.regReported;
            }
        }
    }

    void exeDefinitions() {
        for (int e = 0; e < m_n.exeLines; ++e) {
            if (e % 1000 == 999) {
                m_exeLines.push_back("broken line without a name");
                continue;
            }
            std::string folder = e % 3 == 0 ? "[progfil]\\" + vendor(e) : e % 3 == 1 ? "[appdata]\\" + vendor(e) : "[system]";
            m_exeLines.push_back("app" + std::to_string(e) + ".exe=" + threat(e + 2000000) + "|" + folder);
        }
    }

    void cookies() {
        std::vector<std::string> hosts;
        for (int k = 0; k < m_n.cookieSites; ++k) {
            std::string host = k % 3 == 0   ? "ads" + std::to_string(k) + ".adnet" + std::to_string(k % 7) + ".com"
                               : k % 3 == 1 ? "trk" + std::to_string(k) + ".com"
                                            : "stat" + std::to_string(k) + ".counter.net";
            hosts.push_back(host);
            m_cookieLines.push_back(host);
        }
        auto cutLast = [](const std::string& s) { return s.substr(0, s.rfind('.')); };
        for (int c = 0; c < m_n.cookieFiles; ++c) {
            const bool blocked = c % 20 == 0;
            std::string host = blocked ? hosts[(c / 20 * 37) % hosts.size()]
                               : c % 3 == 0 ? "www.shop" + std::to_string(c) + ".com"
                                            : "site" + std::to_string(c) + ".org";
            std::string fileName = "alice@" + cutLast(host) + "[" + std::to_string(c % 4 + 1) + "].txt";
            std::string content;
            for (int n = 0; n < 1 + c % 3; ++n)
                content += "id" + std::to_string(n) + "\n" + std::to_string(mix(c + n)) + "\n" + host + "/\n1536\n" +
                           std::to_string(mix(c)) + "\n30091234\n" + std::to_string(mix(c + 7)) + "\n30012345\n*\n";
            writeHost(hostOf(kCookies + "\\" + fileName), content);
            if (!blocked) continue;
            ++m_planted.cookieHits;
            if ((c / 20) % 20 == 3) m_excludedHits.push_back(kCookies + "\\" + fileName), ++m_planted.excluded;
            else ++m_planted.cookieReported;
        }
        std::string junk(32768, '\0');
        for (size_t k = 0; k < junk.size(); ++k) junk[k] = static_cast<char>(mix(static_cast<uint32_t>(k)) & 0xFF);
        writeHost(hostOf(kCookies + "\\index.dat"), junk);
    }

    void safeAndExcluded() {
        static const char* types[] = {"SFILE", "SEXE", "SDLL", "SREG", "SDIR"};
        for (int k = 0; static_cast<int>(m_safe.size()) < m_n.safeLines; ++k) {
            std::string type = types[k % 5];
            std::string n = std::to_string(k);
            if (type == "SREG") m_safe.push_back("SREG|Good " + n + "=Safe|2^SOFTWARE\\Good " + n + "^");
            else if (type == "SDIR") m_safe.push_back("SDIR|Good " + n + "=Safe|[progfil]\\Good " + n);
            else m_safe.push_back(type + "|ok" + n + ".dll=Safe|[system]\\\\ok" + n + ".dll");
        }
        m_safeLines = m_safe;
        m_exclusions = m_excludedHits;
        for (int k = 0; static_cast<int>(m_exclusions.size()) < m_n.exclusionLines; ++k)
            m_exclusions.push_back(k % 2 ? "C:\\Program Files\\Other " + std::to_string(k) + "\\tool.exe"
                                         : "HKEY_LOCAL_MACHINE\\SOFTWARE\\Other " + std::to_string(k) + "Start");
    }

    void makeHiveWriters() {
        const fs::path config = drive() / "Windows/System32/config";
        m_software = std::make_unique<HiveWriter>((config / "SOFTWARE").string());
        m_system = std::make_unique<HiveWriter>((config / "SYSTEM").string());
        m_ntuser = std::make_unique<HiveWriter>((drive() / "Users/alice/NTUSER.DAT").string());
        m_usrclass = std::make_unique<HiveWriter>(
            (drive() / "Users/alice/AppData/Local/Microsoft/Windows/UsrClass.dat").string());
    }

    // The hives' ordinary content, then everything is committed.
    void hives() {
        HiveWriter& sw = *m_software;
        sw.sz("Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion", "6.1");
        sw.sz("Microsoft\\Windows NT\\CurrentVersion", "CurrentBuildNumber", "7601");
        sw.sz("Microsoft\\Windows NT\\CurrentVersion", "ProductName", "Windows 7 Professional");
        sw.sz("Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", "C:\\Program Files");
        sw.sz("Microsoft\\Windows\\CurrentVersion", "CommonFilesDir", "C:\\Program Files\\Common Files");
        const std::string machineFolders = "Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
        sw.sz(machineFolders, "Common AppData", "%ProgramData%", kRegExpandSz);
        sw.sz(machineFolders, "Common Desktop", "%PUBLIC%\\Desktop", kRegExpandSz);
        sw.sz(machineFolders, "Common Documents", "%PUBLIC%\\Documents", kRegExpandSz);
        sw.sz(machineFolders, "Common Start Menu", "%ProgramData%\\Microsoft\\Windows\\Start Menu", kRegExpandSz);
        sw.sz(machineFolders, "Common Programs", "%ProgramData%\\Microsoft\\Windows\\Start Menu\\Programs", kRegExpandSz);
        for (int k = 0; k < 15; ++k)
            sw.sz("Microsoft\\Windows\\CurrentVersion\\Run", "Tool" + std::to_string(k), "C:\\Program Files\\t.exe");
        // hivex 1.3.23 lists no key with more than 70,000 sub keys and the floor reads through hivex,
        // so a big hive spreads them out in groups of 10,000.
        static const char* const kClassKeys[] = {"CLSID", "Interface", "TypeLib", "AppID", "Wow6432Node\\CLSID",
                                                 "Wow6432Node\\Interface", "Record", "Installer\\Components"};
        for (int k = 0; k < m_n.machineClsids; ++k) {
            const size_t group = static_cast<size_t>(k / 10000);
            std::string parent = group < std::size(kClassKeys) ? kClassKeys[group] : "Bulk" + std::to_string(group);
            sw.sz("Classes\\" + parent + "\\" + guid(k) + "\\InprocServer32", "", "C:\\Windows\\System32\\x.dll");
        }
        for (int v = 0; v < m_n.vendors; ++v)
            sw.sz("Vendor " + std::to_string(v) + "\\Product A", "Path", "C:\\Program Files\\Vendor");

        HiveWriter& sys = *m_system;
        sys.dword("Select", "Current", 1);
        sys.key("ControlSet001\\Hardware Profiles\\Current\\Software");
        for (int k = 0; k < 500; ++k) sys.sz("ControlSet001\\Services\\svc" + std::to_string(k), "ImagePath", "x.sys");

        HiveWriter& nt = *m_ntuser;
        const std::string folders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
        const std::pair<const char*, const char*> userFolders[] = {
            {"AppData", "%USERPROFILE%\\AppData\\Roaming"},
            {"Local AppData", "%USERPROFILE%\\AppData\\Local"},
            {"Cookies", "%USERPROFILE%\\AppData\\Roaming\\Microsoft\\Windows\\Cookies"},
            {"Start Menu", "%USERPROFILE%\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu"},
            {"Programs", "%USERPROFILE%\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs"},
            {"Startup", "%USERPROFILE%\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"},
            {"Personal", "%USERPROFILE%\\Documents"},
            {"Desktop", "%USERPROFILE%\\Desktop"},
            {"Favorites", "%USERPROFILE%\\Favorites"},
            {"Cache", "%USERPROFILE%\\AppData\\Local\\Microsoft\\Windows\\Temporary Internet Files"},
            {"History", "%USERPROFILE%\\AppData\\Local\\Microsoft\\Windows\\History"},
        };
        for (const auto& [name, value] : userFolders) nt.sz(folders, name, value, kRegExpandSz);
        for (int k = 0; k < 8; ++k)
            nt.sz("Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Helper" + std::to_string(k), "C:\\x.exe");
        nt.key("Software\\Microsoft\\Internet Explorer\\Toolbar");
        for (int v = 0; v < 300; ++v) nt.sz("Software\\Vendor " + std::to_string(v), "Setting", "1");

        for (int k = 0; k < 1000; ++k) m_usrclass->sz("CLSID\\" + guid(50000 + k) + "\\InprocServer32", "", "x.dll");

        m_software->commit();
        m_system->commit();
        m_ntuser->commit();
        m_usrclass->commit();
    }

    fs::path m_root;
    BenchSizes m_n;
    Planted m_planted;
    std::unique_ptr<HiveWriter> m_software, m_system, m_ntuser, m_usrclass;
    std::vector<std::string> m_fileLines, m_dirLines, m_regLines, m_exeLines, m_cookieLines, m_safeLines;
    std::vector<std::string> m_safe, m_excludedHits, m_exclusions;
};

}  // namespace vedozer::bench
