#include "platform/image/ImageProcesses.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

namespace vedozer {

namespace fs = std::filesystem;

namespace {

bool allDigits(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
}

std::string procPath(uint32_t pid, const char* entry) { return "/proc/" + std::to_string(pid) + "/" + entry; }

std::string baseName(const std::string& path) {
    size_t p = path.find_last_of("\\/");
    return p == std::string::npos ? path : path.substr(p + 1);
}

// The kernel marks a mapping whose file was deleted; the name is still the useful one.
std::string withoutDeletedMark(const std::string& path) {
    static const std::string mark = " (deleted)";
    struct stat st {};
    if (path.size() > mark.size() && path.compare(path.size() - mark.size(), mark.size(), mark) == 0 &&
        ::lstat(path.c_str(), &st) != 0)
        return path.substr(0, path.size() - mark.size());
    return path;
}

// State letter from /proc/<pid>/stat; 0 when the process is not there.
char processState(uint32_t pid) {
    std::ifstream in(procPath(pid, "stat"));
    std::string line;
    if (!in || !std::getline(in, line)) return 0;
    size_t close = line.rfind(')');  // the command name may hold blanks and brackets
    if (close == std::string::npos || close + 2 >= line.size()) return 0;
    return line[close + 2];
}

bool isGone(uint32_t pid) {
    char s = processState(pid);
    return s == 0 || s == 'Z' || s == 'X';
}

}  // namespace

ImageProcesses::ImageProcesses(const std::map<char, std::string>& driveRoots) {
    for (const auto& [letter, dir] : driveRoots) {
        std::error_code ec;
        fs::path p = fs::weakly_canonical(fs::path(dir), ec);
        if (ec) p = fs::absolute(fs::path(dir)).lexically_normal();
        char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
        m_roots.push_back(Root{upper, p});
    }
    std::sort(m_roots.begin(), m_roots.end(), [](const Root& a, const Root& b) {
        return std::distance(a.path.begin(), a.path.end()) > std::distance(b.path.begin(), b.path.end());
    });
}

const ImageProcesses::Root* ImageProcesses::rootOf(const fs::path& hostPath, fs::path& relative) const {
    for (const auto& root : m_roots) {
        auto [rootEnd, pathIt] = std::mismatch(root.path.begin(), root.path.end(), hostPath.begin(), hostPath.end());
        // A trailing separator of the root shows up as an empty last component.
        if (rootEnd != root.path.end() && !(std::next(rootEnd) == root.path.end() && rootEnd->empty())) continue;
        relative.clear();
        for (; pathIt != hostPath.end(); ++pathIt) relative /= *pathIt;
        return &root;
    }
    return nullptr;
}

std::string ImageProcesses::windowsPath(const std::string& hostPath) const {
    fs::path relative;
    const Root* root = rootOf(fs::path(hostPath).lexically_normal(), relative);
    if (!root) return hostPath;
    std::string out = std::string(1, root->letter) + ":\\";
    bool first = true;
    for (const auto& part : relative) {
        if (part.empty()) continue;
        if (!first) out += "\\";
        out += part.string();
        first = false;
    }
    return out;
}

bool ImageProcesses::insideImage(const std::string& hostPath) const {
    fs::path relative;
    return rootOf(fs::path(hostPath).lexically_normal(), relative) != nullptr;
}

std::vector<uint32_t> ImageProcesses::processIds() {
    std::vector<uint32_t> ids;
    std::error_code ec;
    for (fs::directory_iterator it("/proc", ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (allDigits(name) && name.size() < 10) ids.push_back(static_cast<uint32_t>(std::stoul(name)));
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

std::string ImageProcesses::hostExecutable(uint32_t pid) const {
    std::error_code ec;
    fs::path target = fs::read_symlink(procPath(pid, "exe"), ec);
    if (ec) return "";
    return withoutDeletedMark(target.string());
}

std::string ImageProcesses::mainModulePath(uint32_t pid) {
    std::string host = hostExecutable(pid);
    return host.empty() ? "" : windowsPath(host);
}

std::string ImageProcesses::mainModuleBaseName(uint32_t pid) {
    std::string path = mainModulePath(pid);
    return path.empty() ? "" : baseName(path);
}

std::vector<std::string> ImageProcesses::modulePaths(uint32_t pid) {
    std::string main = hostExecutable(pid);
    if (main.empty()) return {};
    std::vector<std::string> hostPaths{main};
    std::ifstream maps(procPath(pid, "maps"));
    std::string line;
    while (std::getline(maps, line)) {
        // address perms offset device inode path
        std::istringstream fields(line);
        std::string address, perms, offset, device, inode;
        if (!(fields >> address >> perms >> offset >> device >> inode)) continue;
        if (perms.size() < 3 || perms[2] != 'x') continue;
        std::string path;
        std::getline(fields >> std::ws, path);
        if (path.empty() || path[0] != '/') continue;
        path = withoutDeletedMark(path);
        if (std::find(hostPaths.begin(), hostPaths.end(), path) == hostPaths.end()) hostPaths.push_back(path);
    }
    std::vector<std::string> out;
    for (const auto& p : hostPaths) out.push_back(windowsPath(p));
    return out;
}

std::vector<ProcessEntry> ImageProcesses::snapshot() {
    std::vector<ProcessEntry> entries;
    for (uint32_t pid : processIds()) {
        std::string host = hostExecutable(pid);
        std::string name = mainModuleBaseName(pid);
        if (name.empty()) {
            std::ifstream comm(procPath(pid, "comm"));
            if (!comm || !std::getline(comm, name)) continue;  // ended meanwhile
        }
        // Only a program started from the image belongs to the installation; one whose
        // executable cannot be read is the host's (the image's programs run as this user).
        entries.push_back(ProcessEntry{pid, name, host.empty() || !insideImage(host)});
    }
    return entries;
}

bool ImageProcesses::waitUntilGone(uint32_t pid) const {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_waitMillis);
    while (!isGone(pid)) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

bool ImageProcesses::terminate(uint32_t pid, uint32_t exitCode) {
    (void)exitCode;
    if (pid == 0 || pid == static_cast<uint32_t>(::getpid()) || isGone(pid)) return false;
    // A definition may only stop what was started from the scanned image.
    std::string host = hostExecutable(pid);
    if (host.empty() || !insideImage(host)) return false;
    if (::kill(static_cast<pid_t>(pid), SIGTERM) != 0) return false;
    if (waitUntilGone(pid)) return true;
    if (::kill(static_cast<pid_t>(pid), SIGKILL) != 0) return isGone(pid);
    return waitUntilGone(pid);
}

}  // namespace vedozer
