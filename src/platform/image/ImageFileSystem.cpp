#include "platform/image/ImageFileSystem.h"

#include <sys/stat.h>

#include <filesystem>

#include "platform/image/PosixFiles.h"
#include "text/CodePage.h"
#include "text/Text.h"

namespace vedozer {
namespace fs = std::filesystem;

namespace {

std::string parentOf(const std::string& p) {
    auto slash = p.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? "/" : p.substr(0, slash);
}

bool isSymlink(const std::string& p) {
    struct stat st {};
    return ::lstat(p.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

}  // namespace

ImageFileSystem::ImageFileSystem(const std::map<char, std::string>& drives) {
    for (const auto& [letter, dir] : drives) {
        std::error_code ec;
        auto canonical = fs::canonical(dir, ec);
        if (ec || !fs::is_directory(canonical, ec)) continue;
        m_roots[text::upperChar(letter)] = canonical.string();
    }
}

std::optional<ImageFileSystem::Parsed> ImageFileSystem::parse(const std::string& windowsPath) const {
    if (windowsPath.size() < 2 || windowsPath[1] != ':') return std::nullopt;
    char letter = text::upperChar(windowsPath[0]);
    if (letter < 'A' || letter > 'Z' || !m_roots.count(letter)) return std::nullopt;
    Parsed parsed;
    parsed.drive = letter;
    size_t start = 2;
    while (start <= windowsPath.size()) {
        size_t end = windowsPath.find_first_of("\\/", start);
        if (end == std::string::npos) end = windowsPath.size();
        std::string comp = windowsPath.substr(start, end - start);
        start = end + 1;
        // Windows ignores trailing dots and blanks of a name; keep names as written otherwise.
        if (comp.empty() || comp == ".") continue;
        if (comp == ".." || comp.find('\0') != std::string::npos) return std::nullopt;
        parsed.components.push_back(text::cp1252ToUtf8(comp));
    }
    return parsed;
}

bool ImageFileSystem::insideRoot(const std::string& canonical, char drive) const {
    const std::string& root = m_roots.at(drive);
    return canonical == root || (canonical.size() > root.size() && canonical.compare(0, root.size(), root) == 0 &&
                                 (root == "/" || canonical[root.size()] == '/'));
}

// The entry's host path, and whether it is a symbolic link (from the same lstat that found it).
std::optional<ImageFileSystem::Child> ImageFileSystem::findChild(const std::string& hostDir, const std::string& name) {
    auto it = m_listings.find(hostDir);
    if (it == m_listings.end()) {
        std::unordered_map<std::string, std::string> entries;
        for (auto& n : posix::listNames(hostDir)) {
            std::string key = text::foldUtf8(n);
            // An exact-case twin wins over another spelling of the same name.
            entries.emplace(std::move(key), std::move(n));
        }
        it = m_listings.emplace(hostDir, std::move(entries)).first;
    }
    struct stat st {};
    std::string exact = hostDir + "/" + name;
    if (::lstat(exact.c_str(), &st) == 0) return Child{std::move(exact), S_ISLNK(st.st_mode)};
    auto found = it->second.find(text::foldUtf8(name));
    if (found == it->second.end()) return std::nullopt;
    std::string stored = hostDir + "/" + found->second;
    return Child{stored, isSymlink(stored)};
}

std::optional<std::string> ImageFileSystem::toHost(const std::string& windowsPath, bool allowMissingLeaf) {
    auto parsed = parse(windowsPath);
    if (!parsed) return std::nullopt;
    std::string current = m_roots.at(parsed->drive);
    for (size_t i = 0; i < parsed->components.size(); ++i) {
        const std::string& comp = parsed->components[i];
        auto child = findChild(current == "/" ? "" : current, comp);
        if (!child) {
            if (allowMissingLeaf && i + 1 == parsed->components.size()) return current + "/" + comp;
            return std::nullopt;
        }
        if (child->symlink) {
            std::error_code ec;
            auto target = fs::canonical(child->path, ec);
            if (ec || !insideRoot(target.string(), parsed->drive)) return std::nullopt;
            current = target.string();
        } else {
            current = std::move(child->path);
        }
    }
    return current;
}

std::optional<std::string> ImageFileSystem::toWindows(const std::string& hostPath) const {
    std::error_code ec;
    auto canonical = fs::weakly_canonical(hostPath, ec).string();
    if (ec) return std::nullopt;
    for (const auto& [letter, root] : m_roots) {
        if (!insideRoot(canonical, letter)) continue;
        std::string rest = canonical.substr(root.size());
        if (!rest.empty() && rest[0] == '/') rest.erase(0, 1);
        std::string win = std::string(1, letter) + ":\\" + text::replaceAll(rest, "/", "\\");
        return text::utf8ToCp1252(win);
    }
    return std::nullopt;
}

void ImageFileSystem::forget(const std::string& hostPath) {
    m_listings.erase(parentOf(hostPath));
    m_listings.erase(hostPath);
}

std::optional<FileInfo> ImageFileSystem::lookup(const std::string& path) {
    auto host = toHost(path);
    if (!host) return std::nullopt;
    auto info = posix::stat(*host);
    if (info) info->name = text::utf8ToCp1252(info->name);
    return info;
}

bool ImageFileSystem::folderExists(const std::string& path) {
    auto info = lookup(path);
    return info && info->isDirectory();
}

std::vector<FileInfo> ImageFileSystem::list(const std::string& folder) {
    std::vector<FileInfo> out;
    auto host = toHost(folder);
    if (!host) return out;
    for (const auto& name : posix::listNames(*host)) {
        std::string child = *host + "/" + name;
        if (isSymlink(child)) {
            std::error_code ec;
            auto target = fs::canonical(child, ec);
            if (ec || !insideRoot(target.string(), parse(folder)->drive)) continue;
        }
        if (auto info = posix::stat(child)) {
            info->name = text::utf8ToCp1252(name);
            out.push_back(std::move(*info));
        }
    }
    return out;
}

std::unique_ptr<InputStream> ImageFileSystem::openRead(const std::string& path) {
    auto host = toHost(path);
    return host ? posix::openRead(*host) : nullptr;
}

std::unique_ptr<OutputStream> ImageFileSystem::openWrite(const std::string& path, bool atomic) {
    auto host = toHost(path, true);
    if (!host) return nullptr;
    forget(*host);
    return posix::openWrite(*host, atomic);
}

bool ImageFileSystem::append(const std::string& path, const std::string& data) {
    auto host = toHost(path, true);
    if (!host) return false;
    forget(*host);
    return posix::append(*host, data);
}

std::optional<std::string> ImageFileSystem::readAll(const std::string& path, size_t maxBytes) {
    auto host = toHost(path);
    return host ? posix::readAll(*host, maxBytes) : std::nullopt;
}

bool ImageFileSystem::copyFile(const std::string& from, const std::string& to, bool overwrite) {
    auto src = toHost(from);
    auto dst = toHost(to, true);
    if (!src || !dst) return false;
    forget(*dst);
    return posix::copyFile(*src, *dst, overwrite);
}

bool ImageFileSystem::deleteFile(const std::string& path) {
    auto host = toHost(path);
    if (!host) return false;
    forget(*host);
    return posix::deleteFile(*host);
}

bool ImageFileSystem::renameFile(const std::string& from, const std::string& to) {
    auto src = toHost(from);
    auto dst = toHost(to, true);
    if (!src || !dst) return false;
    forget(*src);
    forget(*dst);
    return posix::rename(*src, *dst);
}

bool ImageFileSystem::createFolder(const std::string& path) {
    auto host = toHost(path, true);
    if (!host) return false;
    forget(*host);
    return posix::createFolder(*host);
}

bool ImageFileSystem::copyFolder(const std::string& from, const std::string& to) {
    if (!folderExists(from) || !createFolder(to)) return false;
    bool ok = true;
    for (const auto& entry : list(from)) {
        std::string src = from + "\\" + entry.name, dst = to + "\\" + entry.name;
        ok = (entry.isDirectory() ? copyFolder(src, dst) : copyFile(src, dst, true)) && ok;
    }
    return ok;
}

bool ImageFileSystem::deleteFolder(const std::string& path) {
    auto host = toHost(path);
    if (!host) return false;
    for (const auto& [letter, root] : m_roots)
        if (*host == root) return false;  // never a whole drive
    forget(*host);
    m_listings.clear();
    return posix::deleteFolder(*host);
}

std::vector<DriveInfo> ImageFileSystem::drives() {
    std::vector<DriveInfo> out;
    for (const auto& [letter, root] : m_roots) out.push_back({std::string(1, letter) + ":\\", 3, true});
    return out;
}

std::string ImageFileSystem::displayPath(const std::string& path) {
    auto host = toHost(path, true);
    return host ? *host : path;
}

// ---- HostFileSystem ----

std::string HostFileSystem::toHost(const std::string& path) { return text::replaceAll(path, "\\", "/"); }

std::optional<FileInfo> HostFileSystem::lookup(const std::string& path) { return posix::stat(toHost(path)); }

bool HostFileSystem::folderExists(const std::string& path) {
    auto info = lookup(path);
    return info && info->isDirectory();
}

std::vector<FileInfo> HostFileSystem::list(const std::string& folder) {
    std::vector<FileInfo> out;
    std::string host = toHost(folder);
    for (const auto& name : posix::listNames(host))
        if (auto info = posix::stat(host + "/" + name)) out.push_back(std::move(*info));
    return out;
}

std::unique_ptr<InputStream> HostFileSystem::openRead(const std::string& path) {
    return posix::openRead(toHost(path));
}
std::unique_ptr<OutputStream> HostFileSystem::openWrite(const std::string& path, bool atomic) {
    return posix::openWrite(toHost(path), atomic);
}
bool HostFileSystem::append(const std::string& path, const std::string& data) {
    return posix::append(toHost(path), data);
}
std::optional<std::string> HostFileSystem::readAll(const std::string& path, size_t maxBytes) {
    return posix::readAll(toHost(path), maxBytes);
}
bool HostFileSystem::copyFile(const std::string& from, const std::string& to, bool overwrite) {
    return posix::copyFile(toHost(from), toHost(to), overwrite);
}
bool HostFileSystem::deleteFile(const std::string& path) { return posix::deleteFile(toHost(path)); }
bool HostFileSystem::renameFile(const std::string& from, const std::string& to) {
    return posix::rename(toHost(from), toHost(to));
}
bool HostFileSystem::createFolder(const std::string& path) {
    std::error_code ec;
    fs::create_directories(toHost(path), ec);
    return fs::is_directory(toHost(path), ec);
}
bool HostFileSystem::copyFolder(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::copy(toHost(from), toHost(to), fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
    return !ec;
}
bool HostFileSystem::deleteFolder(const std::string& path) { return posix::deleteFolder(toHost(path)); }

}  // namespace vedozer
