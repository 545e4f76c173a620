// The floor of the scan benchmark: the scan's host work done bare, with plain system calls and hivex
// called directly, none of it through the project's layers.
//
// Worked out before the clock starts (as a hand-written program would have it compiled in): the host
// path each file and folder definition names, with its letters as stored on disk; the hive and key
// path parts each registry definition names; the hives opened with hivex. Timed: reading the
// definition files (decoded in place), one lstat per file and folder definition, reading each file
// found whole (its company name needs it), listing the cookie folder and reading every cookie,
// listing the processes, and the registry look-ups: each key walked from its hive's root through a
// child index per key built on first visit (hivex alone finds a child by reading every sibling's
// name), then the value asked of hivex and its data read.
#pragma once
#include <dirent.h>
#include <fcntl.h>
#include <hivex.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "ScanFloor.h"
#include "text/CodePage.h"

namespace vedozer::bench {

struct BarePlan {
    std::vector<std::string> dataFiles;  // host paths: the definition files and the exclusion list
    std::vector<std::string> filePaths;
    std::vector<std::string> folderPaths;
    std::string cookieFolder;
    struct Lookup {
        std::vector<std::pair<int, std::vector<std::string>>> candidates;  // hive, upper-case key parts
        std::string value;                                                 // empty: the key itself
    };
    std::vector<Lookup> registry;
    std::vector<hive_h*> hives;  // opened before the clock starts
};

// Windows path -> host path: each part matched as stored, without regard to case, while it exists;
// the rest as written.
class SetupResolver {
public:
    explicit SetupResolver(std::map<char, std::string> roots) : m_roots(std::move(roots)) {}
    std::string toHost(const std::string& windowsPath) {
        if (windowsPath.size() < 2 || windowsPath[1] != ':') return "";
        auto root = m_roots.find(text::upperChar(windowsPath[0]));
        if (root == m_roots.end()) return "";
        std::string host = root->second;
        bool exists = true;
        for (const std::string& part : text::split(windowsPath.substr(2), "\\")) {
            if (part.empty() || part == ".") continue;
            std::string name = text::cp1252ToUtf8(part);
            if (exists) {
                const auto& names = listing(host);
                auto it = names.find(text::toUpper(name));
                if (it != names.end())
                    name = it->second;
                else
                    exists = false;
            }
            host += "/" + name;
        }
        return host;
    }

private:
    const std::unordered_map<std::string, std::string>& listing(const std::string& dir) {
        auto it = m_listings.find(dir);
        if (it != m_listings.end()) return it->second;
        auto& names = m_listings[dir];
        if (DIR* d = ::opendir(dir.c_str())) {
            while (dirent* e = ::readdir(d)) names.emplace(text::toUpper(e->d_name), e->d_name);
            ::closedir(d);
        }
        return names;
    }
    std::map<char, std::string> m_roots;
    std::unordered_map<std::string, std::unordered_map<std::string, std::string>> m_listings;
};

enum BareHive { kHiveSoftware, kHiveSystem, kHiveNtUser, kHiveUsrClass, kHiveCount };

inline std::vector<std::string> upperParts(const std::string& key) {
    std::vector<std::string> parts;
    for (auto& p : text::split(text::trim(key), "\\"))
        if (!p.empty()) parts.push_back(text::toUpper(p));
    return parts;
}

// Where a root key and path live in the image's hives, as the registry maps them.
inline std::vector<std::pair<int, std::vector<std::string>>> hivePlaces(RootKey root, const std::string& key,
                                                                        const std::string& userSid) {
    std::vector<std::string> parts = upperParts(key);
    auto rest = [&](size_t from) { return std::vector<std::string>(parts.begin() + from, parts.end()); };
    auto user = [&](size_t from) -> std::vector<std::pair<int, std::vector<std::string>>> {
        if (parts.size() >= from + 2 && parts[from] == "SOFTWARE" && parts[from + 1] == "CLASSES")
            return {{kHiveUsrClass, rest(from + 2)}};
        return {{kHiveNtUser, rest(from)}};
    };
    switch (root) {
        case RootKey::ClassesRoot: {
            std::vector<std::string> machine{"CLASSES"};
            machine.insert(machine.end(), parts.begin(), parts.end());
            return {{kHiveUsrClass, parts}, {kHiveSoftware, machine}};
        }
        case RootKey::CurrentUser:
            return user(0);
        case RootKey::LocalMachine:
            if (parts.empty()) return {};
            if (parts[0] == "SOFTWARE") return {{kHiveSoftware, rest(1)}};
            if (parts[0] == "SYSTEM") {
                auto r = rest(1);
                if (!r.empty() && r[0] == "CURRENTCONTROLSET") r[0] = "CONTROLSET001";
                return {{kHiveSystem, r}};
            }
            return {};
        case RootKey::Users:
            if (parts.empty()) return {};
            if (parts[0] == text::toUpper(userSid)) return user(1);
            if (parts[0] == text::toUpper(userSid + "_Classes")) return {{kHiveUsrClass, rest(1)}};
            return {};
        case RootKey::CurrentConfig: {
            std::vector<std::string> profile{"CONTROLSET001", "HARDWARE PROFILES", "CURRENT"};
            profile.insert(profile.end(), parts.begin(), parts.end());
            return {{kHiveSystem, profile}};
        }
        default:
            return {};
    }
}

inline BarePlan planFloor(ImagePlatform& image, const std::string& imageDrive) {
    BarePlan plan;
    Platform& p = *&image.platform();
    const BareExpander ex(*p.shellFolders);
    const std::string folder = image.dataFolder();
    SetupResolver resolver({{'C', imageDrive}});
    for (const char* name : {kSafetyFile, kBlockedCookiesFile, kExeDefinitionFile, kRegistryDefinitionFile,
                             kFileDefinitionFile, kDirectoryDefinitionFile, kExclusionFile})
        plan.dataFiles.push_back(folder + "/" + name);
    eachLine(*p.dataFiles, folder, kFileDefinitionFile, [&](const std::string& line) {
        auto path = bareFilePath(line, ex);
        if (path && !path->empty()) plan.filePaths.push_back(resolver.toHost(*path));
    });
    eachLine(*p.dataFiles, folder, kDirectoryDefinitionFile, [&](const std::string& line) {
        if (auto path = bareFolderPath(line, ex)) plan.folderPaths.push_back(resolver.toHost(*path));
    });
    std::string cookies = p.shellFolders->folderPath(kCookiesFolderId);
    while (!cookies.empty() && cookies.back() == '\\') cookies.pop_back();
    plan.cookieFolder = resolver.toHost(cookies);
    eachLine(*p.dataFiles, folder, kRegistryDefinitionFile, [&](const std::string& line) {
        auto k = bareRegistryKey(line, ex);
        if (!k) return;
        plan.registry.push_back({hivePlaces(k->root, k->key, "S-1-5-21-0-0-0-1001"), k->value});
    });
    const std::string hivePaths[] = {
        imageDrive + "/Windows/System32/config/SOFTWARE", imageDrive + "/Windows/System32/config/SYSTEM",
        imageDrive + "/Users/alice/NTUSER.DAT",
        imageDrive + "/Users/alice/AppData/Local/Microsoft/Windows/UsrClass.dat"};
    for (const auto& h : hivePaths) plan.hives.push_back(hivex_open(h.c_str(), 0));
    return plan;
}

inline long long readFd(int fd) {
    char buf[65536];
    long long total = 0;
    ssize_t got;
    while ((got = ::read(fd, buf, sizeof buf)) > 0) total += got;
    return total;
}

// Child look-ups by upper-case name, each key's children read once.
class BareKeys {
public:
    explicit BareKeys(hive_h* h) : m_h(h) {}
    hive_node_h child(hive_node_h node, const std::string& upperName) {
        auto it = m_index.find(node);
        if (it == m_index.end()) {
            auto& names = m_index[node];
            if (hive_node_h* children = hivex_node_children(m_h, node)) {
                for (hive_node_h* c = children; *c; ++c) {
                    char* name = hivex_node_name(m_h, *c);
                    if (!name) continue;
                    for (char* q = name; *q; ++q) *q = text::upperChar(*q);
                    names.emplace(name, *c);
                    std::free(name);
                }
                std::free(children);
            }
            it = m_index.find(node);
        }
        auto found = it->second.find(upperName);
        return found == it->second.end() ? 0 : found->second;
    }
    hive_h* handle() const { return m_h; }

private:
    hive_h* m_h;
    std::unordered_map<hive_node_h, std::unordered_map<std::string, hive_node_h>> m_index;
};

inline FloorCounts runBareFloor(const BarePlan& plan, std::vector<double>& parts) {
    FloorCounts n;
    auto mark = SteadyClock::now();
    auto part = [&] {
        parts.push_back(seconds(mark));
        mark = SteadyClock::now();
    };
    for (const auto& path : plan.dataFiles) {
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        char buf[65536];
        ssize_t got;
        while ((got = ::read(fd, buf, sizeof buf)) > 0) {
            std::string_view chunk(buf, static_cast<size_t>(got));
            std::string decoded(chunk);
            decodeInPlace(decoded);
            n.bytesRead += static_cast<long long>(decoded.size());
        }
        ::close(fd);
    }
    part();

    if (DIR* d = ::opendir(plan.cookieFolder.c_str())) {
        while (dirent* e = ::readdir(d)) {
            if (e->d_type != DT_REG) continue;
            int fd = ::openat(::dirfd(d), e->d_name, O_RDONLY | O_CLOEXEC);
            if (fd < 0) continue;
            n.bytesRead += readFd(fd);
            ::close(fd);
            ++n.cookies;
        }
        ::closedir(d);
    }
    part();

    if (DIR* d = ::opendir("/proc")) {
        char link[4096];
        while (dirent* e = ::readdir(d)) {
            if (e->d_name[0] < '0' || e->d_name[0] > '9') continue;
            std::string exe = std::string("/proc/") + e->d_name + "/exe";
            n.processes += ::readlink(exe.c_str(), link, sizeof link) > 0;
        }
        ::closedir(d);
    }
    part();

    std::vector<BareKeys> hives;
    for (hive_h* h : plan.hives) hives.emplace_back(h);
    for (const auto& lookup : plan.registry) {
        for (const auto& [hive, key] : lookup.candidates) {
            BareKeys& keys = hives[hive];
            if (!keys.handle()) continue;
            hive_node_h node = hivex_root(keys.handle());
            for (size_t i = 0; node && i < key.size(); ++i) node = keys.child(node, key[i]);
            if (!node) continue;
            if (lookup.value.empty()) {
                ++n.keys;
            } else if (hive_value_h v = hivex_node_get_value(keys.handle(), node, lookup.value.c_str())) {
                hive_type type;
                size_t len = 0;
                if (char* data = hivex_value_value(keys.handle(), v, &type, &len)) {
                    n.values +=
                        type == hive_t_REG_SZ || type == hive_t_REG_EXPAND_SZ || type == hive_t_REG_DWORD;
                    std::free(data);
                }
            }
            break;
        }
    }
    part();

    struct stat st {};
    for (const auto& path : plan.filePaths) {
        if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        ++n.files;
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        n.bytesRead += readFd(fd);
        ::close(fd);
    }
    for (const auto& path : plan.folderPaths)
        n.folders += ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    part();
    parts.push_back(0);  // nothing to finish
    return n;
}

}  // namespace vedozer::bench
