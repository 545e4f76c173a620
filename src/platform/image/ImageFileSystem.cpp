#include "platform/image/ImageFileSystem.h"

#include <sys/stat.h>

#include <cerrno>

#include <filesystem>

#include "platform/image/DosAttributes.h"
#include "platform/image/PosixFiles.h"
#include "text/CodePage.h"
#include "text/Text.h"

namespace vedozer {
namespace fs = std::filesystem;

namespace {

bool isAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

}  // namespace

ImageFileSystem::ImageFileSystem(const std::map<char, std::string>& drives, size_t maxOpenFolders) {
    for (const auto& [letter, dir] : drives) {
        std::error_code ec;
        auto canonical = fs::canonical(dir, ec);
        if (ec || !fs::is_directory(canonical, ec)) continue;
        m_roots[text::upperChar(letter)] = canonical.string();
    }
    m_tree = std::make_unique<FolderTree>(m_roots, maxOpenFolders);
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
        parsed.components.push_back(isAscii(comp) ? std::move(comp) : text::cp1252ToUtf8(comp));
    }
    return parsed;
}

std::optional<FolderTree::Entry> ImageFileSystem::resolve(const std::string& windowsPath, bool allowMissingLeaf,
                                                          bool statLeaf) {
    m_tree->trim();
    if (windowsPath.size() < 2 || windowsPath[1] != ':') return std::nullopt;
    FolderTree::Folder* at = m_tree->root(text::upperChar(windowsPath[0]));
    if (!at) return std::nullopt;
    // Component by component without copying the path: each folder is one look-up in its parent's
    // names; only a name outside ASCII is converted to the host's UTF-8.
    const std::string_view path(windowsPath);
    std::string converted;
    std::string_view pending;  // the last component seen, stepped into once another follows
    bool any = false;
    for (size_t start = 2; start <= path.size();) {
        size_t end = start;
        while (end < path.size() && path[end] != '\\' && path[end] != '/') ++end;
        std::string_view comp = path.substr(start, end - start);
        start = end + 1;
        if (comp.empty() || comp == ".") continue;
        if (comp == ".." || comp.find('\0') != std::string_view::npos) return std::nullopt;
        if (any) {
            at = m_tree->step(*at, isAscii(pending) ? pending : (converted = text::cp1252ToUtf8(pending)));
            if (!at) return std::nullopt;
        }
        pending = comp;
        any = true;
    }
    if (!any) return m_tree->lookupIn(*at, ".", false, true);
    if (isAscii(pending)) return m_tree->lookupIn(*at, pending, allowMissingLeaf, statLeaf);
    return m_tree->lookupIn(*at, text::cp1252ToUtf8(pending), allowMissingLeaf, statLeaf);
}

std::optional<FileInfo> ImageFileSystem::infoOf(const FolderTree::Entry& entry, bool withAttributes) {
    if (!entry.exists) return std::nullopt;
    std::string name = entry.name;
    if (name == ".") name = fs::path(m_tree->hostPath(*entry.folder)).filename();
    std::optional<uint32_t> dos;
    if (withAttributes) {
        int dirFd = m_tree->fd(*entry.folder);
        if (dirFd >= 0) dos = posix::dosAttributes().read(dirFd, entry.name, entry.st.st_dev);
    }
    return posix::infoFromStat(isAscii(name) ? name : text::utf8ToCp1252(name), entry.st, dos);
}

std::optional<std::string> ImageFileSystem::toHost(const std::string& windowsPath, bool allowMissingLeaf) {
    auto entry = resolve(windowsPath, allowMissingLeaf);
    if (!entry) return std::nullopt;
    std::string folder = m_tree->hostPath(*entry->folder);
    if (entry->name == ".") return folder;
    return (folder == "/" ? "" : folder) + "/" + entry->name;
}

std::optional<std::string> ImageFileSystem::toWindows(const std::string& hostPath) const {
    std::error_code ec;
    auto canonical = fs::weakly_canonical(hostPath, ec).string();
    if (ec) return std::nullopt;
    for (const auto& [letter, root] : m_roots) {
        const bool inside = canonical == root || root == "/" ||
                            (canonical.size() > root.size() && canonical.compare(0, root.size(), root) == 0 &&
                             canonical[root.size()] == '/');
        if (!inside) continue;
        std::string rest = root == "/" ? canonical : canonical.substr(root.size());
        if (!rest.empty() && rest[0] == '/') rest.erase(0, 1);
        std::string win = std::string(1, letter) + ":\\" + text::replaceAll(rest, "/", "\\");
        return text::utf8ToCp1252(win);
    }
    return std::nullopt;
}

std::optional<FileInfo> ImageFileSystem::lookup(const std::string& path) {
    auto entry = resolve(path, false);
    return entry ? infoOf(*entry, true) : std::nullopt;
}

bool ImageFileSystem::folderExists(const std::string& path) {
    auto entry = resolve(path, false);
    return entry && entry->isFolder();
}

std::vector<FileInfo> ImageFileSystem::list(const std::string& folder) {
    std::vector<FileInfo> out;
    auto entry = resolve(folder, false);
    FolderTree::Folder* dir = entry && entry->isFolder() ? m_tree->open(*entry) : nullptr;
    const std::vector<posix::DirEntryName>* names = dir ? m_tree->relist(*dir) : nullptr;
    if (!names) return out;
    // Copied: following a link below may read other folders.
    std::vector<std::string> hostNames;
    for (const auto& n : *names) hostNames.push_back(n.name);
    for (const auto& name : hostNames) {
        // Links are followed as a look-up would (and left out when they lead outside the root).
        auto child = m_tree->entryIn(*dir, name);
        if (!child) continue;
        if (auto info = infoOf(*child, true)) {
            info->name = isAscii(name) ? name : text::utf8ToCp1252(name);
            out.push_back(std::move(*info));
        }
    }
    return out;
}

std::unique_ptr<InputStream> ImageFileSystem::openRead(const std::string& path) {
    // Opened without a look first (opening never waits and only a regular file is kept); a link
    // in the leaf's place fails to open and is followed by a second, looking resolution.
    auto entry = resolve(path, false, false);
    if (!entry || !entry->exists) return nullptr;
    int dirFd = m_tree->fd(*entry->folder);
    if (dirFd < 0) return nullptr;
    if (auto in = posix::openReadAt(dirFd, entry->name)) return in;
    if (errno != ELOOP) return nullptr;
    entry = resolve(path, false);
    if (!entry || !entry->isFile() || (dirFd = m_tree->fd(*entry->folder)) < 0) return nullptr;
    return posix::openReadAt(dirFd, entry->name, &entry->st);
}

std::unique_ptr<OutputStream> ImageFileSystem::openWrite(const std::string& path, bool atomic) {
    auto entry = resolve(path, true);
    if (!entry || entry->name == "." || (entry->exists && !entry->isFile())) return nullptr;
    int dirFd = m_tree->fd(*entry->folder);
    if (dirFd < 0) return nullptr;
    m_tree->added(*entry->folder, entry->name);
    return posix::openWriteAt(dirFd, entry->name, atomic);
}

bool ImageFileSystem::append(const std::string& path, const std::string& data) {
    auto entry = resolve(path, true);
    if (!entry || entry->name == "." || (entry->exists && !entry->isFile())) return false;
    int dirFd = m_tree->fd(*entry->folder);
    if (dirFd < 0) return false;
    m_tree->added(*entry->folder, entry->name);
    return posix::appendAt(dirFd, entry->name, data);
}

std::optional<std::string> ImageFileSystem::readAll(const std::string& path, size_t maxBytes) {
    auto in = openRead(path);
    return in ? posix::readAll(*in, maxBytes) : std::nullopt;
}

bool ImageFileSystem::copyFile(const std::string& from, const std::string& to, bool overwrite) {
    auto src = resolve(from, false);
    if (!src || !src->isFile()) return false;
    auto dst = resolve(to, true);
    if (!dst || dst->name == "." || (dst->exists && (!overwrite || !dst->isFile()))) return false;
    int srcFd = m_tree->fd(*src->folder), dstFd = m_tree->fd(*dst->folder);
    if (srcFd < 0 || dstFd < 0) return false;
    m_tree->added(*dst->folder, dst->name);
    return posix::copyFileAt(srcFd, src->name, dstFd, dst->name, overwrite);
}

bool ImageFileSystem::deleteFile(const std::string& path) {
    auto entry = resolve(path, false);
    if (!entry || !entry->exists || entry->isFolder()) return false;
    int dirFd = m_tree->fd(*entry->folder);
    if (dirFd < 0) return false;
    const bool ok = posix::deleteFileAt(dirFd, entry->name);
    m_tree->removed(*entry->folder, entry->name, ok);
    return ok;
}

bool ImageFileSystem::renameFile(const std::string& from, const std::string& to) {
    auto src = resolve(from, false);
    if (!src || src->name == ".") return false;
    auto dst = resolve(to, true);
    if (!dst || dst->name == ".") return false;
    int srcFd = m_tree->fd(*src->folder), dstFd = m_tree->fd(*dst->folder);
    if (srcFd < 0 || dstFd < 0) return false;
    const bool ok = posix::renameAt(srcFd, src->name, dstFd, dst->name);
    if (ok) {
        m_tree->removed(*dst->folder, dst->name);  // what stood under the new name went
        m_tree->removed(*src->folder, src->name);
        m_tree->added(*dst->folder, dst->name);
    }
    return ok;
}

bool ImageFileSystem::createFolder(const std::string& path) {
    auto entry = resolve(path, true);
    if (!entry) return false;
    if (entry->exists) return entry->isFolder();
    int dirFd = m_tree->fd(*entry->folder);
    if (dirFd < 0) return false;
    m_tree->added(*entry->folder, entry->name);
    return posix::createFolderAt(dirFd, entry->name);
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
    auto entry = resolve(path, false);
    // Never a whole drive.
    if (!entry || !entry->isFolder() || entry->name == ".") return false;
    int dirFd = m_tree->fd(*entry->folder);
    if (dirFd < 0) return false;
    m_tree->removed(*entry->folder, entry->name, false);
    const bool ok = posix::deleteFolderAt(dirFd, entry->name);
    if (ok) m_tree->removed(*entry->folder, entry->name, true);
    return ok;
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
